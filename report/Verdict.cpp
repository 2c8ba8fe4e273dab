// The thresholds are compared in pixels; a figure equal to its limit holds.
#include "report/Verdict.h"

namespace report {

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

std::vector<Failure> FindFailures(const Report& report, const Options& options) {
    std::vector<Failure> failures;
    auto check = [&](Figure figure, std::size_t stroke, const std::optional<double>& value,
                     const std::optional<double>& limit) {
        if (value && limit && *value > *limit)
            failures.push_back({figure, stroke, *value, *limit});
    };
    for (std::size_t i = 0; i < report.strokes.size(); i++) {
        const Stroke& s = report.strokes[i];
        check(Figure::Jitter, i, s.jitterPx, options.maxJitterPx);
        check(Figure::Deviation, i, s.lineMaxDevPx, options.maxDeviationPx);
        check(Figure::Gap, i, s.points > 1 ? std::optional<double>(s.maxStepPx) : std::nullopt,
              options.maxGapPx);
    }
    return failures;
}

} // namespace report
