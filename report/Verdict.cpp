// The thresholds are compared in pixels; a figure equal to its limit holds.
#include "report/Verdict.h"

namespace report {

namespace {

// Calls `fail(figure, value, limit)` for every threshold the stroke exceeds.
template <class Fail> void JudgeStroke(const Stroke& s, const Options& options, Fail&& fail) {
    auto check = [&](Figure figure, const std::optional<double>& value, const std::optional<double>& limit) {
        if (value && limit && *value > *limit)
            fail(figure, *value, *limit);
    };
    check(Figure::Jitter, s.jitterPx, options.maxJitterPx);
    check(Figure::Deviation, s.lineMaxDevPx, options.maxDeviationPx);
    check(Figure::Gap, s.points > 1 ? std::optional<double>(s.maxStepPx) : std::nullopt, options.maxGapPx);
}

} // namespace

const char* FigureName(Figure figure) {
    switch (figure) {
    case Figure::Jitter:
        return "jitter";
    case Figure::Deviation:
        return "deviation";
    case Figure::Gap:
        return "gap";
    }
    return "";
}

bool StrokeFails(const Stroke& stroke, const Options& options) {
    bool fails = false;
    JudgeStroke(stroke, options, [&](Figure, double, double) { fails = true; });
    return fails;
}

std::vector<Failure> FindFailures(const Report& report, const Options& options) {
    std::vector<Failure> failures;
    for (std::size_t i = 0; i < report.strokes.size(); i++)
        JudgeStroke(report.strokes[i], options, [&](Figure figure, double value, double limit) {
            failures.push_back({figure, i, value, limit});
        });
    return failures;
}

} // namespace report
