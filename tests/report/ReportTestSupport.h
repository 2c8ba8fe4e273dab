// Helpers for kovrin-report's tests: touch.log lines as kovrin writes them,
// the analysis of a log held in a string, and the built program run as a
// child process.
#pragma once

#include "report/Analysis.h"
#include "report/Report.h"
#include "report/Verdict.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace reporttest {

// kovrin's lines, with the CR LF its text-mode stream writes on Windows.
std::string Count(int n);
std::string Down(std::uint32_t id, std::int32_t x, std::int32_t y);
std::string Move(std::uint32_t id, std::int32_t x, std::int32_t y);
std::string Up(std::uint32_t id, std::int32_t x, std::int32_t y);

// Reads and analyses `input` as the program does, keeping the failing strokes
// past the listed ones.
report::Report Analyse(std::FILE* input, const report::Options& options);
// The same for `log`, through a temporary file.
report::Report Analyse(const std::string& log, const report::Options& options = {});

// A file in a private temporary directory, removed with it.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    std::string Path(const std::string& name) const;
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_dir;
};

std::string ReadFile(const std::string& path);

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs kovrin-report with `args`, standard input from `stdinPath` if given.
RunResult RunReport(const std::vector<std::string>& args, const std::string& stdinPath = "");

// Checks that `json` is one well-formed JSON value; returns "" or what is wrong.
std::string JsonSyntaxError(const std::string& json);

// Whether every piece is in `text`, each after the one before.
::testing::AssertionResult InOrder(const std::string& text, std::initializer_list<std::string> pieces);

} // namespace reporttest
