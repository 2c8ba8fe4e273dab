#include "report/analyse/SessionTotals.h"

#include <algorithm>
#include <cmath>

namespace report {

void CSessionTotals::Message(std::uint64_t number, std::uint32_t announced) {
    EndMessage();
    m_messages = number;
    m_inMessage = true;
    m_announced = announced;
    m_logged = 0;
}

void CSessionTotals::EndMessage() {
    if (m_inMessage && m_logged < m_announced) {
        m_droppedMessages++;
        m_droppedInputs += m_announced - m_logged;
    }
    m_inMessage = false;
}

void CSessionTotals::SmallestStep(double step2) {
    if (step2 > 0 && (m_minStep2 == 0 || step2 < m_minStep2))
        m_minStep2 = step2;
}

// The median and the 95th and 99th percentiles by nearest rank.
void CSessionTotals::FinishIntervals(Report& report) const {
    if (m_intervalCount == 0)
        return;
    Intervals& s = report.intervals.emplace();
    s.count = m_intervalCount;
    s.maxMs = m_intervalMax;
    auto rank = [&](std::uint64_t percent) {
        std::uint64_t need = (m_intervalCount * percent + 99) / 100, seen = 0;
        for (std::uint32_t ms = 0; ms < INTERVAL_BINS; ms++)
            if ((seen += m_intervalCounts[ms]) >= need)
                return ms;
        return INTERVAL_BINS - 1;
    };
    s.medianMs = rank(50);
    s.p95Ms = rank(95);
    s.p99Ms = rank(99);
    s.histogram.assign(m_intervalCounts.begin(),
                       m_intervalCounts.begin() + std::min(m_intervalMax, INTERVAL_BINS - 1) + 1);
}

void CSessionTotals::Finish(Report& report) {
    EndMessage();
    report.messages = m_messages;
    report.inputs = m_inputs;
    report.droppedMessages = m_droppedMessages;
    report.droppedInputs = m_droppedInputs;
    report.clientSize = m_clientSize;
    if (m_minStep2 > 0)
        report.minStepPx = std::sqrt(m_minStep2);
    FinishIntervals(report);
    // The whole client area is the area to cover: an edge that never
    // reported shows as empty cells.
    if (m_clientSize.x > 0 && m_clientSize.y > 0) {
        m_grid.Cover(0, 0);
        m_grid.Cover(m_clientSize.x - 1, m_clientSize.y - 1);
    }
    report.coverage = m_grid.Finish();
}

} // namespace report
