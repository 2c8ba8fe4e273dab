// Pass or fail: the thresholds of the command line held against every stroke.
#pragma once

#include "report/Report.h"

#include <cstddef>
#include <vector>

namespace report {

enum class Figure { Jitter, Deviation, Gap };

// One stroke over one threshold, by how much.
struct Failure {
    Figure figure;
    std::size_t stroke = 0; // index into Report::strokes
    double valuePx = 0;
    double limitPx = 0;
};

// The name a figure has in the summary and on the page: "jitter", "deviation", "gap".
const char* FigureName(Figure figure);

// Whether one stroke exceeds any threshold.
bool StrokeFails(const Stroke& stroke, const Options& options);

// Every threshold that a stroke exceeds, in stroke order; empty when all hold.
std::vector<Failure> FindFailures(const Report& report, const Options& options);

} // namespace report
