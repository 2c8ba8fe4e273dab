// A stroke's shape as its points come: the steps between them, its length
// and box, how far it strays from its DOWN (jitter), the points its line fit
// needs (all of them, or the hull of the earlier ones once they are many),
// and a decimated copy of its points to draw. Lengths come from the finest
// position the file gives (hundredths of a pixel in touch.csv); the box and
// the drawing stay in client pixels.
#pragma once

#include "report/read/Reader.h"
#include "report/analyse/Geometry.h"
#include "report/analyse/Report.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace report {

class CStrokeShape {
public:
    // The stroke's next point, its DOWN first. Returns whether it joined the
    // drawn copy.
    bool Add(const InputEvent& in);

    // The drawn copy, halved: it then takes every other point it took before.
    void HalveDrawn();
    std::size_t Drawn() const {
        return m_drawn.size();
    }

    // What the end of a stroke tells the rest of the analysis.
    struct End {
        bool drewLast = false;   // the last point joined the drawn copy only now
        bool thinnedFit = false; // the line figures come from a thinned point set
        double minStep2 = 0;     // the smallest step that is not 0, squared, in pixels; 0: none
    };
    // What the tester was asked to do with the stroke, if anything: hold it
    // still (its jitter counts whatever its extent) or draw a line (fitted
    // whatever its length).
    enum class Asked { Nothing, Hold, Line };
    // Fills the stroke's points, length, steps, box, jitter, line fit and
    // drawn copy.
    End Finish(Stroke& stroke, const Options& options, Asked asked = Asked::Nothing);

    // Ready for the next stroke; the buffers keep their room.
    void Reset();

private:
    // An open stroke buffers its points for the line fit's second pass; past
    // this many they are replaced by their convex hull, which holds every
    // extreme the fit needs (largest distance from a line, extreme
    // projections on it).
    static constexpr std::size_t REDUCE_AT = 4096;

    void Reduce();
    void FitLine(Stroke& stroke);

    FinePoint m_down; // the DOWN point
    FinePoint m_last;
    Point m_lastPx; // the last point in client pixels
    Point m_min, m_max;
    std::int64_t m_offsetX = 0; // whole pixels from the fine positions' frame to the client area
    std::int64_t m_offsetY = 0;
    Moments m_moments; // relative to the DOWN point
    double m_length = 0;
    double m_maxStep2 = 0;
    double m_minStep2 = 0;  // 0: no step yet
    double m_maxReach2 = 0; // squared distance from the DOWN point
    std::uint64_t m_points = 0;
    std::uint64_t m_drawStride = 1; // the drawn copy holds every m_drawStride-th point
    std::vector<Point> m_drawn;
    std::vector<FinePoint> m_drawnFine;  // the drawn points' fine positions, for their deviation
    std::vector<FinePoint> m_candidates; // every point, or the hull of the earlier ones and the later ones
    std::size_t m_reduceAt = REDUCE_AT;
    bool m_thinned = false;
};

// Inline: it runs for every point.
inline bool CStrokeShape::Add(const InputEvent& in) {
    const Point p{in.x, in.y};
    const FinePoint f{in.fineX, in.fineY};
    if (m_points == 0) {
        m_down = f;
        m_offsetX = in.fineX / 100 - in.x; // kovrin truncates toward zero
        m_offsetY = in.fineY / 100 - in.y;
        m_min = m_max = p;
    } else {
        double stepX = Dx(m_last, f), stepY = Dy(m_last, f);
        double step2 = stepX * stepX + stepY * stepY;
        m_length += std::sqrt(step2);
        m_maxStep2 = std::max(m_maxStep2, step2);
        if (step2 > 0 && (m_minStep2 == 0 || step2 < m_minStep2))
            m_minStep2 = step2;
        m_min.x = std::min(m_min.x, p.x);
        m_min.y = std::min(m_min.y, p.y);
        m_max.x = std::max(m_max.x, p.x);
        m_max.y = std::max(m_max.y, p.y);
    }
    double dx = Dx(m_down, f), dy = Dy(m_down, f);
    m_maxReach2 = std::max(m_maxReach2, dx * dx + dy * dy);
    m_moments.Add(dx, dy);
    m_candidates.push_back(f);
    if (m_candidates.size() >= m_reduceAt)
        Reduce();
    bool drawn = m_points % m_drawStride == 0;
    if (drawn) {
        m_drawn.push_back(p);
        m_drawnFine.push_back(f);
    }
    m_points++;
    m_last = f;
    m_lastPx = p;
    return drawn;
}

} // namespace report
