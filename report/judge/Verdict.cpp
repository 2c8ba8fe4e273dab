#include "report/judge/Verdict.h"

#include <algorithm>
#include <limits>

namespace report {

namespace {

// Calls `fail(info, value, limit)` for every limit the stroke exceeds.
template <class Fail> void JudgeStroke(const Stroke& s, const Options& options, Fail&& fail) {
    for (const FigureInfo& info : FIGURES) {
        const std::optional<double>& limit = options.*info.limit;
        std::optional<double> value = info.of(s);
        if (limit && value && Exceeds(info, *value, *limit))
            fail(info, *value, *limit);
    }
}

// How far beyond its limit a failure is, as a share of the limit, so that
// figures of different sizes and units compare; beyond a zero limit counts as
// infinitely far.
double Severity(const Failure& f) {
    double excess = f.Excess();
    return f.limit > 0 ? excess / f.limit : std::numeric_limits<double>::infinity();
}

// The short list: each failing figure's worst, then the next worst of any
// figure, all in order of severity (a larger excess first among equals). A
// missed item has no value to weigh: the measured failures come first.
std::vector<std::size_t> WorstFirst(const std::vector<Failure>& failures) {
    std::vector<std::size_t> order(failures.size());
    for (std::size_t i = 0; i < order.size(); i++)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (failures[a].missed || failures[b].missed)
            return !failures[a].missed && failures[b].missed;
        double sa = Severity(failures[a]), sb = Severity(failures[b]);
        return sa != sb ? sa > sb : failures[a].Excess() > failures[b].Excess();
    });
    std::vector<bool> picked(failures.size(), false);
    bool seen[FIGURE_COUNT] = {};
    std::size_t count = 0;
    for (std::size_t i : order)
        if (!seen[(int)failures[i].figure]) {
            seen[(int)failures[i].figure] = true;
            picked[i] = true;
            count++;
        }
    for (std::size_t i : order)
        if (count < WORST_LISTED && !picked[i]) {
            picked[i] = true;
            count++;
        }
    std::vector<std::size_t> list;
    for (std::size_t i : order)
        if (picked[i])
            list.push_back(i);
    return list;
}

} // namespace

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::NotJudged:
        return "not_judged";
    case Outcome::Pass:
        return "pass";
    case Outcome::Fail:
        return "fail";
    }
    return "";
}

double Failure::Excess() const {
    return Describe(figure).bound == Bound::AtMost ? value - limit : limit - value;
}

bool StrokeFails(const Stroke& stroke, const Options& options) {
    bool fails = false;
    JudgeStroke(stroke, options, [&](const FigureInfo&, double, double) { fails = true; });
    return fails;
}

Verdict Judge(const Report& report, const Options& options) {
    Verdict v;
    v.failing.assign(report.strokes.size(), 0);
    for (std::size_t i = 0; i < report.strokes.size(); i++)
        JudgeStroke(report.strokes[i], options, [&](const FigureInfo& info, double value, double limit) {
            v.failures.push_back({info.figure, i, value, limit, std::nullopt, false, std::nullopt});
            v.failing[i] |= (std::uint8_t)(1u << (int)info.figure);
        });
    std::vector<Failure> itemFailures, sessionFailures;
    for (const FigureInfo& info : FIGURES) {
        const std::optional<double>& limit = options.*info.limit;
        if (!limit)
            continue;
        FigureVerdict f;
        f.figure = info.figure;
        f.limit = *limit;
        auto judge = [&](std::optional<double> value, std::optional<std::size_t> stroke,
                         std::optional<std::size_t> item, std::optional<double> mmPerPx) {
            if (!value)
                return;
            // A limit given in mm holds a vector's length in mm, whatever its direction.
            double itemLimit = *limit;
            if (mmPerPx && info.limitMm && options.*info.limitMm)
                itemLimit = *(options.*info.limitMm) / *mmPerPx;
            f.judged++;
            bool fails = Exceeds(info, *value, itemLimit);
            f.failing += fails;
            if (fails && !stroke)
                (item ? itemFailures : sessionFailures)
                    .push_back({info.figure, SESSION, *value, itemLimit, item, false, mmPerPx});
            if (!f.worstValue || Exceeds(info, *value, *f.worstValue)) {
                f.worstValue = value;
                f.worst = stroke;
                f.worstItem = item;
                f.worstMmPerPx = mmPerPx;
            }
        };
        if (info.scope == Scope::Stroke)
            for (std::size_t i = 0; i < report.strokes.size(); i++)
                judge(info.of(report.strokes[i]), i, std::nullopt, std::nullopt);
        if (report.guided)
            for (std::size_t i = 0; i < report.guided->items.size(); i++) {
                const GuidedItem& item = report.guided->items[i];
                std::optional<double> value = info.ofItem(item), mm = info.itemMm(item, options);
                judge(value, std::nullopt, i,
                      value && mm && *value > 0 ? std::optional<double>(*mm / *value) : std::nullopt);
                if (info.failsMissed(item)) {
                    f.judged++;
                    f.failing++;
                    itemFailures.push_back({info.figure, SESSION, 0, *limit, i, true, std::nullopt});
                }
            }
        if (info.scope == Scope::Session)
            judge(info.ofSession(report), std::nullopt, std::nullopt, std::nullopt);
        f.outcome = f.failing ? Outcome::Fail : f.judged ? Outcome::Pass : Outcome::NotJudged;
        v.figures.push_back(f);
    }
    // The items' in plan order, then the session's.
    std::stable_sort(itemFailures.begin(), itemFailures.end(),
                     [](const Failure& a, const Failure& b) { return *a.item < *b.item; });
    v.failures.insert(v.failures.end(), itemFailures.begin(), itemFailures.end());
    v.failures.insert(v.failures.end(), sessionFailures.begin(), sessionFailures.end());
    v.worstFirst = WorstFirst(v.failures);
    v.outcome = !v.failures.empty()                     ? Outcome::Fail
                : v.figures.empty() || v.Unjudged() > 0 ? Outcome::NotJudged
                                                        : Outcome::Pass;
    return v;
}

std::size_t Verdict::Unjudged() const {
    return (std::size_t)std::count_if(figures.begin(), figures.end(),
                                      [](const FigureVerdict& f) { return f.outcome == Outcome::NotJudged; });
}

} // namespace report
