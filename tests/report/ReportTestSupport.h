// Helpers for kovrin-report's tests: touch.log lines as kovrin writes them,
// the analysis of a log held in a string, and the built program run as a
// child process.
#pragma once

#include "report/analyse/Analysis.h"
#include "report/analyse/Report.h"
#include "report/judge/Verdict.h"

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

// touch.csv as kovrin writes it: its header, then a row per input added. The
// client area is 1920 x 1080 at the screen's origin, so a client pixel is the
// screen position's whole pixels.
class CCsv {
public:
    // A message that announced `announced` inputs, read at `receivedUs`; the
    // inputs added next are its.
    CCsv& Message(int announced, std::uint64_t receivedUs = 0);
    // An input ("DOWN", "MOVE", "UP" or "-") at (hx, hy) hundredths of a pixel,
    // time-stamped `timeMs`, with its contact size in hundredths if given.
    CCsv& Input(const char* event, std::uint32_t id, std::int32_t hx, std::int32_t hy, std::uint32_t timeMs,
                std::uint32_t contactW = 0, std::uint32_t contactH = 0);
    std::string Text() const {
        return m_text;
    }
    // The line of the last row added (the header is line 1).
    std::uint64_t LastLine() const {
        return m_lines;
    }

private:
    std::string m_text;
    std::uint64_t m_message = 0;
    int m_announced = 0;
    int m_input = 0;
    std::uint64_t m_receivedUs = 0;
    std::uint64_t m_lines = 1;
};

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
