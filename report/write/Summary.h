// The summary kovrin-report prints: the session, the anomalies with their
// lines, a table of the strokes, the line and jitter results, the coverage and
// the verdict it is given.
#pragma once

#include "report/analyse/Report.h"
#include "report/judge/Verdict.h"

#include <string>

namespace report {

// Rows listed before a list says how many more there are.
constexpr std::size_t SUMMARY_MAX_ROWS = 200;

std::string FormatSummary(const Report& report, const Options& options, const Verdict& verdict,
                          const std::string& fileName);

} // namespace report
