#include "report/analyse/StrokeTime.h"

#include "report/analyse/Thinning.h"

#include <algorithm>

namespace report {

namespace {

// The median of a sample, in pixels; the sample is reordered.
double MedianPx(std::vector<std::uint32_t>& v) {
    std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + mid, v.end());
    double upper = v[mid];
    if (v.size() % 2)
        return upper / 100;
    double lower = *std::max_element(v.begin(), v.begin() + mid);
    return (lower + upper) / 200;
}

} // namespace

void CStrokeTime::HalveDrawn() {
    Halve(m_drawnTimeMs, false);
    HalveMax(m_drawnGapMs, false);
}

void CStrokeTime::Finish(Stroke& s, bool drewLast) {
    if (drewLast && m_timed)
        Drawn();
    s.drawnTimeMs = std::move(m_drawnTimeMs);
    s.drawnGapMs = std::move(m_drawnGapMs);
    s.drawnTimeMs.shrink_to_fit();
    s.drawnGapMs.shrink_to_fit();
    if (m_timed) {
        s.durationMs = m_t;
        if (m_t > 0)
            s.rateHz = (double)(m_points - 1) * 1000 / (double)m_t;
        if (m_t >= 1000)
            s.minRateHz = (double)m_fewestPerSecond;
        if (m_hasInterval) {
            s.maxIntervalMs = m_maxInterval;
            s.maxIntervalLine = m_maxIntervalLine;
        }
    }
    if (!m_widths.empty()) {
        s.contactWPx = MedianPx(m_widths);
        s.contactHPx = MedianPx(m_heights);
    }
}

} // namespace report
