// Every figure is computed with + - * / and sqrt only, from int64
// differences, so the native and the Windows builds agree to the last bit.
#include "report/analyse/StrokeShape.h"

#include "report/analyse/Thinning.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// A hull larger than this (only possible far beyond any screen) is thinned,
// and the line figures of its stroke are then those of the thinned points.
constexpr std::size_t MAX_HULL = 4096;
// Below this extent (in hundredths of a pixel) the hull's cross products are
// exact in int64.
constexpr std::int64_t HULL_EXTENT = (std::int64_t)1 << 30;

} // namespace

void CStrokeShape::HalveDrawn() {
    Halve(m_drawn, false);
    Halve(m_drawnFine, false);
    m_drawStride *= 2;
}

void CStrokeShape::Reduce() {
    auto [minX, maxX] = std::minmax_element(m_candidates.begin(), m_candidates.end(),
                                            [](const FinePoint& a, const FinePoint& b) { return a.x < b.x; });
    auto [minY, maxY] = std::minmax_element(m_candidates.begin(), m_candidates.end(),
                                            [](const FinePoint& a, const FinePoint& b) { return a.y < b.y; });
    if (maxX->x - minX->x < HULL_EXTENT && maxY->y - minY->y < HULL_EXTENT) {
        std::vector<FinePoint> hull;
        ConvexHull(m_candidates, hull);
        m_candidates.assign(hull.begin(), hull.end());
    }
    if (m_candidates.size() > MAX_HULL) {
        while (m_candidates.size() > MAX_HULL / 2)
            Halve(m_candidates, true);
        m_thinned = true;
    }
    m_reduceAt = std::max(REDUCE_AT, 2 * m_candidates.size());
}

void CStrokeShape::FitLine(Stroke& s) {
    LineFit fit = report::FitLine(m_moments, m_down, m_candidates);
    s.lineMaxDevPx = fit.maxDev;
    s.lineRmsDevPx = fit.rmsDev;
    s.lineFrom =
        Point{ClampToInt32(fit.fromX - (double)m_offsetX), ClampToInt32(fit.fromY - (double)m_offsetY)};
    s.lineTo = Point{ClampToInt32(fit.toX - (double)m_offsetX), ClampToInt32(fit.toY - (double)m_offsetY)};
    s.deviation.clear();
    s.deviation.reserve(m_drawnFine.size());
    for (const FinePoint& p : m_drawnFine)
        s.deviation.push_back((float)fit.Deviation(p));
}

CStrokeShape::End CStrokeShape::Finish(Stroke& s, const Options& options, Asked asked) {
    End end;
    s.points = m_points;
    s.lengthPx = m_length;
    s.maxStepPx = std::sqrt(m_maxStep2);
    s.meanStepPx = m_points > 1 ? m_length / (double)(m_points - 1) : 0;
    s.min = m_min;
    s.max = m_max;
    if ((m_points - 1) % m_drawStride != 0) {
        m_drawn.push_back(m_lastPx);
        m_drawnFine.push_back(m_last);
        end.drewLast = true;
    }
    // Kept strokes hold what they show, not what they once did.
    s.drawn = std::move(m_drawn);
    s.drawn.shrink_to_fit();
    double reach = std::sqrt(m_maxReach2);
    if (reach <= options.stationaryExtentPx || asked == Asked::Hold)
        s.jitterPx = reach;
    double endX = Dx(m_down, m_last), endY = Dy(m_down, m_last);
    if (m_points > 1 &&
        (std::sqrt(endX * endX + endY * endY) >= options.minLineLengthPx || asked == Asked::Line)) {
        FitLine(s);
        end.thinnedFit = m_thinned;
    }
    end.minStep2 = m_minStep2;
    return end;
}

void CStrokeShape::Reset() {
    std::vector<FinePoint> candidates = std::move(m_candidates), drawnFine = std::move(m_drawnFine);
    candidates.clear();
    drawnFine.clear();
    *this = CStrokeShape();
    m_candidates = std::move(candidates); // keep their room for the next stroke
    m_drawnFine = std::move(drawnFine);
}

} // namespace report
