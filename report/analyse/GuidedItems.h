// A guided run's items and the strokes that answered them. A stroke answers
// an item when it came down while the item was shown (the first does; later
// ones are extra touches), and the item's figures are taken against where the
// item was drawn: a target's offset from its centre, a line's distance from
// its guide and how much of it the stroke covered. The contacts and pair
// items take every input in their time: the most contacts down at once, the
// closest two came.
#pragma once

#include "report/read/GuideReader.h"
#include "report/read/Reader.h"
#include "report/analyse/Report.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace report {

// The items of the guide's last run in plan order, each from its last row
// that says it was done; the others are missed.
Guided GuidedPlan(const Guide& guide);

class CGuidedItems {
public:
    explicit CGuidedItems(Guided plan);
    CGuidedItems(const CGuidedItems&) = delete;
    CGuidedItems& operator=(const CGuidedItems&) = delete;

    // A stroke comes down: the place of the item it answers, or -1.
    int Answer(const InputEvent& in);
    // A point of the stroke that answers item `place`.
    void AddPoint(int place, const InputEvent& in);
    // Every input, once the analysis has placed it: the contacts down and
    // the vector from the nearest other one (hundredths; none: alone).
    void Input(const InputEvent& in, std::size_t down,
               const std::optional<std::pair<double, double>>& nearest);
    // Whether an input comes while the pair item shows: its nearest other
    // contact is then wanted.
    bool Pairing(const InputEvent& in) const {
        const GuidedItem* pair = m_pair >= 0 ? &m_items[m_pair] : nullptr;
        return pair && pair->shownUs <= in.receivedUs && in.receivedUs <= pair->endedUs;
    }
    GuideKind KindOf(int place) const {
        return m_items[place].kind;
    }
    // The answer to `place` has ended with its figures; `kept` is its place
    // in Report::strokes.
    void EndAnswer(int place, const Stroke& stroke, std::optional<std::size_t> kept);

    // The items' figures and the run's; `options` gives the millimetres.
    Guided Finish(const Options& options);

private:
    // What the answer to an item has shown so far.
    struct Answering {
        bool answered = false;
        double sumX = 0, sumY = 0; // point - centre, hundredths
        std::uint64_t points = 0;
        double farthest2 = -1; // from the centre, or from the guide's segment
        double farX = 0, farY = 0;
        double reachFrom = 1, reachTo = 0; // share of the guide, clipped to it
        std::uint64_t mostDown = 0;
        std::optional<double> closest2;
        double closeX = 0, closeY = 0;
    };

    Guided m_guided;
    std::vector<GuidedItem>& m_items; // m_guided's
    std::vector<Answering> m_answers;
    int m_contacts = -1; // the contacts and pair items, when done
    int m_pair = -1;
    // When the done items ended, in order, and how many of them an input's
    // time has matched: each was ended by a message of touch.csv.
    std::vector<std::uint64_t> m_ends;
    std::size_t m_endsPassed = 0;
    std::size_t m_endsSeen = 0;
};

} // namespace report
