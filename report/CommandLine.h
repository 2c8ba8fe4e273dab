// kovrin-report's command line.
#pragma once

#include "report/analyse/Report.h"

#include <string>
#include <vector>

namespace report {

// A length given in mm before the scale is known.
struct MmLength {
    std::string option;
    double mm = 0;
};

struct CommandLine {
    Options options;
    std::string input; // "-": standard input
    std::string jsonPath;
    std::string htmlPath;
    std::string guidePath; // --guide; else guide.csv beside a touch.csv
    bool help = false;
    bool version = false;
    // Lengths in mm without --px-per-mm: a guide's screen size may give the
    // scale (ResolveMm).
    std::vector<MmLength> pendingMm;
};

// Fills `out` from the arguments (without the program name). Returns "" when
// they are valid, else the one message that says what is wrong.
std::string ParseCommandLine(int argc, const char* const* argv, CommandLine& out);

// Sets the lengths given in mm from options.pxPerMm, once the scale is known
// (or known to be missing). Returns "" or the message that says what is wrong.
std::string ResolveMm(CommandLine& cl);

// What --help prints.
std::string UsageText();

} // namespace report
