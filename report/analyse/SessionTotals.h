// The session's totals: its messages and inputs, the inputs a message
// announced but did not carry, the largest client area, how many points fell
// in each cell of the screen, the distribution of the intervals between the
// points of a stroke, and the smallest step of any stroke.
#pragma once

#include "report/read/Reader.h"
#include "report/analyse/CoverageGrid.h"
#include "report/analyse/Report.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace report {

class CSessionTotals {
public:
    explicit CSessionTotals(std::int32_t cellPx) : m_grid(cellPx) {}

    void Message(std::uint64_t number, std::uint32_t announced);
    void Input(const InputEvent& in);
    // A point of a stroke; `cell` is that stroke's own.
    void AddPoint(std::int32_t x, std::int32_t y, CCoverageGrid::Hint& cell) {
        m_grid.Add(x, y, cell);
    }
    void AddInterval(std::uint32_t ms);
    // A stroke's smallest step that is not 0, squared; 0: it had none.
    void SmallestStep(double step2);

    // Fills the counts, the client area, the coverage, the intervals and the
    // effective resolution.
    void Finish(Report& report);

private:
    // Intervals up to this many ms are counted one by one for the
    // percentiles; longer ones count as this long there.
    static constexpr std::uint32_t INTERVAL_BINS = 65536;

    // A message that announced more inputs than were logged after it.
    void EndMessage();
    void FinishIntervals(Report& report) const;

    std::uint64_t m_messages = 0;
    std::uint64_t m_inputs = 0;
    std::uint64_t m_droppedMessages = 0;
    std::uint64_t m_droppedInputs = 0;
    bool m_inMessage = false;
    std::uint32_t m_announced = 0;
    std::uint64_t m_logged = 0;
    Point m_clientSize;
    CCoverageGrid m_grid;
    std::vector<std::uint64_t> m_intervalCounts; // by length in ms, once the first interval comes
    std::uint64_t m_intervalCount = 0;
    std::uint32_t m_intervalMax = 0;
    double m_minStep2 = 0; // 0: no step yet
};

// Inline, as they run for every input.
inline void CSessionTotals::Input(const InputEvent& in) {
    m_inputs++;
    m_logged++;
    if (in.timed) {
        m_clientSize.x = std::max(m_clientSize.x, in.clientW);
        m_clientSize.y = std::max(m_clientSize.y, in.clientH);
    }
}

inline void CSessionTotals::AddInterval(std::uint32_t ms) {
    if (m_intervalCounts.empty())
        m_intervalCounts.assign(INTERVAL_BINS, 0);
    m_intervalCounts[std::min(ms, INTERVAL_BINS - 1)]++;
    m_intervalCount++;
    m_intervalMax = std::max(m_intervalMax, ms);
}

} // namespace report
