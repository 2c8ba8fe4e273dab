// The verdict, the third stage of the report: every limit of the command line
// held against every stroke that has its figure, decided once. The summary,
// the JSON and the page are given this verdict and never judge again.
#pragma once

#include "report/analyse/Report.h"
#include "report/judge/Figures.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace report {

enum class Outcome { NotJudged, Pass, Fail };

// The outcome as the JSON names it: "not_judged", "pass", "fail".
const char* OutcomeName(Outcome outcome);

// Failure::stroke of a figure of the whole session.
constexpr std::size_t SESSION = static_cast<std::size_t>(-1);

// One figure beyond its limit.
struct Failure {
    Figure figure;
    std::size_t stroke = 0; // index into Report::strokes, or SESSION (also for an item)
    double value = 0;
    double limit = 0;
    std::optional<std::size_t> item; // index into Guided::items
    bool missed = false;             // the item was missed: it has no value
    // mm per px along the value's vector, where it has one (an item's offset
    // with two scales); value, limit and excess convert by it alike.
    std::optional<double> mmPerPx;

    // How far beyond the limit, in the figure's unit (> 0).
    double Excess() const;
};

// One limit given and what it found: a limit with nothing to judge (no
// stroke has the figure) is not judged, which is no pass.
struct FigureVerdict {
    Figure figure = Figure::Jitter;
    double limit = 0;
    std::size_t judged = 0;           // strokes (or sessions) that have the figure
    std::size_t failing = 0;          // of which beyond the limit
    std::optional<double> worstValue; // the value furthest toward failing
    std::optional<std::size_t> worst; // its stroke (none for the session or an item)
    std::optional<std::size_t> worstItem;
    std::optional<double> worstMmPerPx;
    Outcome outcome = Outcome::NotJudged;
};

// How many failures the short list shows.
constexpr std::size_t WORST_LISTED = 10;

// The session passes when every limit given judged something and held; it
// fails when any limit fails; else it is not judged: no limit was given, or
// one had nothing to judge.
struct Verdict {
    Outcome outcome = Outcome::NotJudged;
    std::vector<FigureVerdict> figures; // one per limit given, in the order of FIGURES
    std::vector<Failure> failures;      // every failure: in stroke order, then the items', then the session's
    std::vector<std::size_t> worstFirst; // the short list: places in `failures`, worst first
    std::vector<std::uint8_t> failing;   // per stroke: bit (1 << figure) when it fails

    bool Fails(std::size_t stroke, Figure figure) const {
        return failing[stroke] & (1u << (int)figure);
    }
    // The limits given that had nothing to judge.
    std::size_t Unjudged() const;
};

Verdict Judge(const Report& report, const Options& options);

// Whether one stroke exceeds any limit.
bool StrokeFails(const Stroke& stroke, const Options& options);

} // namespace report
