// The one pass over a touch.log that fills a Report.
#pragma once

#include "report/Report.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace report {

// Bounds that keep memory independent of the log's length.
constexpr int MAX_OPEN_STROKES = 1024; // more contacts down at once: the oldest is taken as stuck
constexpr std::size_t MAX_KEPT_STROKES =
    100000; // strokes listed in DOWN order; later ones only when they fail
constexpr std::size_t MAX_ANOMALIES = 100000;
constexpr std::size_t MAX_DIAGNOSTICS = 100;
constexpr std::size_t DRAWN_POINTS_PER_STROKE = 2000; // plus the last point
constexpr std::size_t DRAWN_POINTS_TOTAL = 250000;    // past it every drawn copy is thinned
constexpr std::int64_t MAX_COVERAGE_CELLS = 1000000;

// Reads the whole log from `input` (opened in binary mode) and computes every
// figure. Never throws for any bytes; std::bad_alloc only if memory runs out.
Report ReadLog(std::FILE* input, const Options& options);

// Whether the log is too broken to judge: nothing recognised, more than 1% of
// its lines malformed, or a read error. `why` then says so and `line` is the
// line it applies to (0: none); the caller names the file.
bool IsUnusable(const Report& report, std::string& why, std::uint64_t& line);

} // namespace report
