// The judged figures, each defined once: its name, the option that sets its
// limit, its unit, which way it fails, which strokes have it and how the page
// rounds it. The command line, the verdict and every writer read this table,
// so a new figure is one more row.
#pragma once

#include "report/Format.h"
#include "report/Report.h"

#include <optional>

namespace report {

enum class Figure { Jitter, Deviation, Gap };
constexpr int FIGURE_COUNT = 3;

// Which side of its limit a figure must stay on; a figure equal to its limit
// holds either way.
enum class Bound { AtMost, AtLeast };

struct FigureInfo {
    Figure figure;
    const char* name;      // in the summary, the JSON and the page
    const char* option;    // sets the limit
    const char* optionArg; // what the option takes, in --help
    const char* help;      // --help's text, lines broken with '\n'
    Unit unit;
    Bound bound;
    int pageDecimals;      // the page rounds the figure to this many decimals
    const char* judgedOne; // what has the figure ("stationary stroke")
    const char* judgedMany;
    std::optional<double> Options::*limit;
    std::optional<double> (*of)(const Stroke&); // the stroke's value; none: the stroke does not have it
};

inline constexpr FigureInfo FIGURES[FIGURE_COUNT] = {
    {Figure::Jitter, "jitter", "--max-jitter", "L",
     "fail when a stationary contact wanders further than L\nfrom where it went down", Unit::Px,
     Bound::AtMost, 2, "stationary stroke", "stationary strokes", &Options::maxJitterPx,
     [](const Stroke& s) { return s.jitterPx; }},
    {Figure::Deviation, "deviation", "--max-deviation", "L",
     "fail when a line's point lies further than L from the\nstraight line fitted through it", Unit::Px,
     Bound::AtMost, 2, "line stroke", "line strokes", &Options::maxDeviationPx,
     [](const Stroke& s) { return s.lineMaxDevPx; }},
    {Figure::Gap, "gap", "--max-gap", "L",
     "fail when two consecutive points of a stroke are\nfurther apart than L", Unit::Px, Bound::AtMost, 1,
     "stroke of two points or more", "strokes of two points or more", &Options::maxGapPx,
     // A single point has no step.
     [](const Stroke& s) { return s.points > 1 ? std::optional<double>(s.maxStepPx) : std::nullopt; }},
};

constexpr const FigureInfo& Describe(Figure figure) {
    return FIGURES[(int)figure];
}

// Whether `value` is outside `limit` for this figure.
constexpr bool Exceeds(const FigureInfo& info, double value, double limit) {
    return info.bound == Bound::AtMost ? value > limit : value < limit;
}

constexpr bool InFigureOrder() {
    for (int i = 0; i < FIGURE_COUNT; i++)
        if ((int)FIGURES[i].figure != i)
            return false;
    return true;
}
static_assert(InFigureOrder(), "FIGURES is indexed by Figure");

} // namespace report
