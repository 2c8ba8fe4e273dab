// kovrin-report's command line.
#pragma once

#include "report/analyse/Report.h"

#include <string>

namespace report {

struct CommandLine {
    Options options;
    std::string input; // "-": standard input
    std::string jsonPath;
    std::string htmlPath;
    bool help = false;
    bool version = false;
};

// Fills `out` from the arguments (without the program name). Returns "" when
// they are valid, else the one message that says what is wrong.
std::string ParseCommandLine(int argc, const char* const* argv, CommandLine& out);

// What --help prints.
std::string UsageText();

} // namespace report
