// A stroke's time, from the time stamps of touch.csv: its duration along the
// intervals between its points, the longest of them, the fewest points in a
// whole second, the median contact size, and the time of each point the
// shape drew. Time stamps are taken modulo 2^32, so one that wraps still
// gives the interval; one that went back gives none.
#pragma once

#include "report/read/Reader.h"
#include "report/analyse/Report.h"
#include "report/analyse/Thinning.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace report {

class CStrokeTime {
public:
    // What a point's time stamp says beside the stroke's own figures.
    struct Step {
        std::optional<std::uint32_t> intervalMs; // from the point before
        bool backwards = false;                  // time went back: no interval
    };
    // The stroke's next point, its DOWN first; `drawn` when the shape drew it.
    Step Add(const InputEvent& in, bool drawn) {
        Step step;
        if (in.timed)
            step = AddTime(in);
        if (in.sized)
            AddSize(in);
        if (drawn && m_timed)
            Drawn();
        m_points++;
        return step;
    }

    // The drawn points' times, halved as the shape halves its copy.
    void HalveDrawn();

    // Fills the stroke's time figures and the drawn points' times;
    // `drewLast` when the shape drew the last point only at the end.
    void Finish(Stroke& stroke, bool drewLast);

    void Reset() {
        *this = CStrokeTime();
    }

private:
    // Contact sizes kept per stroke for their median: every k-th past this many.
    static constexpr std::size_t SIZE_SAMPLES = 256;
    // A difference of time stamps this large or larger is time going back.
    static constexpr std::uint32_t BACKWARDS = 0x80000000u;

    Step AddTime(const InputEvent& in);
    void AddSize(const InputEvent& in);
    void Drawn();

    std::uint64_t m_points = 0;
    bool m_timed = false;
    std::uint32_t m_lastTime = 0; // the last point's time stamp
    std::uint64_t m_t = 0;        // ms since the DOWN, along the intervals used
    bool m_hasInterval = false;
    std::uint32_t m_maxInterval = 0;
    std::uint64_t m_maxIntervalLine = 0;
    std::uint32_t m_gapSinceDrawn = 0; // largest interval since the last drawn point
    // The distinct times of the last second with the first point at each:
    // when a point comes a second or more after one, that second is whole.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> m_second;
    std::size_t m_secondStart = 0; // m_second[m_secondStart...] are the times still in it
    std::uint64_t m_fewestPerSecond = std::numeric_limits<std::uint64_t>::max();
    std::vector<std::uint32_t> m_widths; // contact sizes, every m_sizeStride-th given
    std::vector<std::uint32_t> m_heights;
    std::uint64_t m_sized = 0;
    std::uint64_t m_sizeStride = 1;
    std::vector<std::uint32_t> m_drawnTimeMs; // time since the DOWN of each drawn point
    std::vector<std::uint32_t> m_drawnGapMs;  // largest interval up to each drawn point
};

// Inline, as they run for every point.
inline void CStrokeTime::Drawn() {
    m_drawnTimeMs.push_back((std::uint32_t)std::min<std::uint64_t>(m_t, UINT32_MAX));
    m_drawnGapMs.push_back(m_gapSinceDrawn);
    m_gapSinceDrawn = 0;
}

// The time since the DOWN, the interval from the point before, and the
// points of every second that has ended.
inline CStrokeTime::Step CStrokeTime::AddTime(const InputEvent& in) {
    Step step;
    if (m_points == 0) {
        m_timed = true;
        m_second.assign(1, {0, 0});
        m_secondStart = 0;
    } else {
        std::uint32_t interval = in.timeMs - m_lastTime; // modulo 2^32: a wrap still gives the interval
        if (interval >= BACKWARDS) {
            step.backwards = true;
        } else {
            m_t += interval;
            if (!m_hasInterval || interval > m_maxInterval) {
                m_maxInterval = interval;
                m_maxIntervalLine = in.line;
            }
            m_hasInterval = true;
            m_gapSinceDrawn = std::max(m_gapSinceDrawn, interval);
            step.intervalMs = interval;
        }
        std::size_t& start = m_secondStart;
        while (start < m_second.size() && m_second[start].first + 1000 <= m_t) {
            m_fewestPerSecond = std::min(m_fewestPerSecond, m_points - m_second[start].second);
            start++;
        }
        if (start == m_second.size() || m_second.back().first != m_t) {
            if (start > 64 && 2 * start >= m_second.size()) { // the gone ones ahead: drop them
                m_second.erase(m_second.begin(), m_second.begin() + (std::ptrdiff_t)start);
                start = 0;
            }
            m_second.push_back({m_t, m_points});
        }
    }
    m_lastTime = in.timeMs;
    return step;
}

inline void CStrokeTime::AddSize(const InputEvent& in) {
    if (m_sized++ % m_sizeStride != 0)
        return;
    m_widths.push_back(in.contactW);
    m_heights.push_back(in.contactH);
    if (m_widths.size() > SIZE_SAMPLES) {
        Halve(m_widths, false);
        Halve(m_heights, false);
        m_sizeStride *= 2;
    }
}

} // namespace report
