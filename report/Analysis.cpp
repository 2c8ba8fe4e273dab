// One pass over the log. Every figure that reaches the JSON is computed with
// + - * / and sqrt only, from int64 differences, so the native and the Windows
// builds agree to the last bit. Memory follows the open strokes: a closed
// stroke keeps its figures and a decimated copy of its points.
#include "report/Analysis.h"

#include "report/LogReader.h"
#include "report/Verdict.h"
#include "touch/ContactSlots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>

namespace report {

namespace {

// An open stroke buffers its points for the line fit's second pass; past this
// many they are replaced by their convex hull, which holds every extreme the
// fit needs (largest distance from a line, extreme projections on it).
constexpr std::size_t REDUCE_AT = 4096;
// A hull larger than this (only possible far beyond any screen) is thinned,
// and the line figures of its stroke are then those of the thinned points.
constexpr std::size_t MAX_HULL = 4096;
// Below this extent the hull's cross products are exact in int64.
constexpr std::int64_t HULL_EXTENT = (std::int64_t)1 << 30;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if (a % b < 0)
        q--;
    return q;
}

std::int32_t ClampToInt32(double v) {
    if (!(v > -2147483648.0))
        return std::numeric_limits<std::int32_t>::min();
    if (v > 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    return (std::int32_t)std::floor(v + 0.5);
}

// Keeps the elements at even positions and, when asked, the last one.
template <class T> void Halve(std::vector<T>& v, bool keepLast) {
    std::size_t n = v.size();
    if (n < 2)
        return;
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; i += 2)
        v[k++] = v[i];
    if (keepLast && (n - 1) % 2 != 0)
        v[k++] = v[n - 1];
    v.resize(k);
}

std::int64_t Cross(const Point& o, const Point& a, const Point& b) {
    return ((std::int64_t)a.x - o.x) * ((std::int64_t)b.y - o.y) -
           ((std::int64_t)a.y - o.y) * ((std::int64_t)b.x - o.x);
}

// Andrew's monotone chain; sorts `points` and writes the hull to `hull`.
void ConvexHull(std::vector<Point>& points, std::vector<Point>& hull) {
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    std::size_t n = points.size();
    hull.resize(2 * n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; i++) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            k--;
        hull[k++] = points[i];
    }
    for (std::size_t i = n - 1, t = k + 1; i-- > 0;) {
        while (k >= t && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            k--;
        hull[k++] = points[i];
    }
    hull.resize(k > 1 ? k - 1 : k);
}

// The seen area in cells aligned on multiples of the cell size, grown as
// points arrive. When it would pass MAX_COVERAGE_CELLS the cell size doubles,
// which merges 2x2 cells exactly.
class CCoverageGrid {
public:
    explicit CCoverageGrid(std::int32_t cellPx) : m_cell(cellPx > 0 ? cellPx : 1), m_requested(cellPx) {}

    void Add(std::int32_t x, std::int32_t y) {
        std::int64_t cx = FloorDiv(x, m_cell) - m_ax;
        std::int64_t cy = FloorDiv(y, m_cell) - m_ay;
        if (cx < 0 || cy < 0 || cx >= m_aw || cy >= m_ah) {
            Grow(x, y);
            cx = FloorDiv(x, m_cell) - m_ax;
            cy = FloorDiv(y, m_cell) - m_ay;
        }
        m_counts[(std::size_t)(cy * m_aw + cx)]++;
        m_x0 = std::min(m_x0, cx + m_ax);
        m_x1 = std::max(m_x1, cx + m_ax);
        m_y0 = std::min(m_y0, cy + m_ay);
        m_y1 = std::max(m_y1, cy + m_ay);
    }

    Coverage Finish() const {
        Coverage c;
        c.requestedCellPx = m_requested;
        c.cellPx = (std::int32_t)m_cell;
        if (m_x0 > m_x1)
            return c;
        c.origin.x = ClampToInt32((double)(m_x0 * m_cell));
        c.origin.y = ClampToInt32((double)(m_y0 * m_cell));
        c.columns = (std::int32_t)(m_x1 - m_x0 + 1);
        c.rows = (std::int32_t)(m_y1 - m_y0 + 1);
        c.counts.reserve((std::size_t)c.columns * c.rows);
        for (std::int64_t y = m_y0; y <= m_y1; y++)
            for (std::int64_t x = m_x0; x <= m_x1; x++) {
                std::uint64_t n = m_counts[(std::size_t)((y - m_ay) * m_aw + (x - m_ax))];
                if (n == 0)
                    c.emptyCells.push_back((std::int32_t)c.counts.size());
                c.counts.push_back(n);
            }
        return c;
    }

private:
    void Grow(std::int32_t x, std::int32_t y) {
        std::int64_t x0 = std::min(m_x0, FloorDiv(x, m_cell)), x1 = std::max(m_x1, FloorDiv(x, m_cell));
        std::int64_t y0 = std::min(m_y0, FloorDiv(y, m_cell)), y1 = std::max(m_y1, FloorDiv(y, m_cell));
        std::int64_t factor = 1;
        while (x1 - x0 + 1 > MAX_COVERAGE_CELLS / (y1 - y0 + 1)) {
            x0 = FloorDiv(x0, 2);
            x1 = FloorDiv(x1, 2);
            y0 = FloorDiv(y0, 2);
            y1 = FloorDiv(y1, 2);
            factor *= 2;
        }
        // Room to grow by a quarter on every side, so a sweep reallocates rarely.
        std::int64_t w = x1 - x0 + 1, h = y1 - y0 + 1;
        std::int64_t ax = x0 - w / 4, ay = y0 - h / 4, aw = w + 2 * (w / 4), ah = h + 2 * (h / 4);
        std::vector<std::uint64_t> counts((std::size_t)(aw * ah));
        for (std::int64_t j = 0; j < m_ah; j++)
            for (std::int64_t i = 0; i < m_aw; i++) {
                std::uint64_t n = m_counts[(std::size_t)(j * m_aw + i)];
                if (n)
                    counts[(std::size_t)((FloorDiv(m_ay + j, factor) - ay) * aw + FloorDiv(m_ax + i, factor) -
                                         ax)] += n;
            }
        m_counts.swap(counts);
        if (m_x0 <= m_x1) {
            m_x0 = FloorDiv(m_x0, factor);
            m_x1 = FloorDiv(m_x1, factor);
            m_y0 = FloorDiv(m_y0, factor);
            m_y1 = FloorDiv(m_y1, factor);
        }
        m_cell *= factor;
        m_ax = ax;
        m_ay = ay;
        m_aw = aw;
        m_ah = ah;
    }

    std::int64_t m_cell;
    std::int32_t m_requested;
    // Seen cells, inclusive; empty while m_x0 > m_x1.
    std::int64_t m_x0 = std::numeric_limits<std::int64_t>::max(),
                 m_x1 = std::numeric_limits<std::int64_t>::min();
    std::int64_t m_y0 = std::numeric_limits<std::int64_t>::max(),
                 m_y1 = std::numeric_limits<std::int64_t>::min();
    // Allocated cells, a superset of the seen ones.
    std::int64_t m_ax = 0, m_ay = 0, m_aw = 0, m_ah = 0;
    std::vector<std::uint64_t> m_counts;
};

struct OpenStroke {
    Stroke stroke;       // id, slot, first line and drawn copy filled as it goes
    std::int32_t x0 = 0; // the DOWN point
    std::int32_t y0 = 0;
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0; // relative to the DOWN point
    double length = 0;
    double maxStep2 = 0;
    double maxReach2 = 0; // squared distance from the DOWN point
    std::uint64_t points = 0;
    std::uint64_t drawStride = 1;  // drawn holds every drawStride-th point
    std::vector<Point> candidates; // every point, or the hull of the earlier ones and the later ones
    std::size_t reduceAt = REDUCE_AT;
    bool thinned = false;
    std::int64_t kept = -1; // place in Report::strokes; -1: decided when it ends
    int older = -1;         // neighbours in DOWN order
    int newer = -1;
};

class CAnalyser {
public:
    explicit CAnalyser(const Options& options) : m_options(options), m_grid(options.cellPx) {
        m_pool.reserve(MAX_OPEN_STROKES);
        m_open.reserve(MAX_OPEN_STROKES);
        std::fill(std::begin(m_slotContact), std::end(m_slotContact), FREE_SLOT);
    }

    void OnLine(const char* begin, const char* end, std::uint64_t line) {
        LogLine l;
        if (const char* why = ParseLine(begin, end, l)) {
            Skip(line, why);
            return;
        }
        switch (l.kind) {
        case LineKind::Count:
            EndMessage();
            m_report.messages++;
            m_inMessage = true;
            m_announced = l.count;
            m_logged = 0;
            break;
        case LineKind::Down:
            Input();
            Down(l, line);
            break;
        case LineKind::Move:
            Input();
            Move(l, line);
            break;
        case LineKind::Up:
            Input();
            Up(l, line);
            break;
        }
    }

    void OnLongLine(std::uint64_t line) {
        Skip(line, "line longer than 256 bytes");
    }

    Report Finish(const ReadStatus& status) {
        EndMessage();
        while (m_oldest >= 0)
            Close(m_oldest, false, true);
        m_report.lines = status.lines;
        m_report.cutOff = status.cutOff;
        m_report.readError = status.readError;
        if (status.cutOff)
            m_report.diagnostics.push_back(
                {status.lines + 1, "note: cut off mid-line; the line is not analysed"});
        m_report.coverage = m_grid.Finish();
        std::stable_sort(m_report.anomalies.begin(), m_report.anomalies.end(),
                         [](const Anomaly& a, const Anomaly& b) { return a.line < b.line; });
        std::stable_sort(m_report.strokes.begin() + m_reserved, m_report.strokes.end(),
                         [](const Stroke& a, const Stroke& b) { return a.firstLine < b.firstLine; });
        return std::move(m_report);
    }

private:
    void Skip(std::uint64_t line, const char* why) {
        m_report.badLines++;
        if (!m_report.firstBadLine) {
            m_report.firstBadLine = line;
            m_report.firstBadWhy = why;
        }
        if (m_report.diagnostics.size() < MAX_DIAGNOSTICS) // no string made past the bound
            m_report.diagnostics.push_back({line, std::string("skipped: ") + why});
        else
            m_report.omittedDiagnostics++;
    }

    void Diagnose(std::uint64_t line, std::string text) {
        if (m_report.diagnostics.size() < MAX_DIAGNOSTICS)
            m_report.diagnostics.push_back({line, std::move(text)});
        else
            m_report.omittedDiagnostics++;
    }

    void Flag(AnomalyKind kind, std::uint32_t id, std::uint64_t line) {
        std::uint64_t& count = kind == AnomalyKind::Stuck    ? m_report.stuck
                               : kind == AnomalyKind::Ghost  ? m_report.ghosts
                               : kind == AnomalyKind::Redown ? m_report.redowns
                                                             : m_report.singlePoints;
        count++;
        if (m_report.anomalies.size() < MAX_ANOMALIES)
            m_report.anomalies.push_back({kind, id, line});
        else
            m_report.omittedAnomalies++;
    }

    void Input() {
        m_report.inputs++;
        m_logged++;
    }

    // A message that announced more inputs than were logged after it.
    void EndMessage() {
        if (m_inMessage && m_logged < m_announced) {
            m_report.droppedMessages++;
            m_report.droppedInputs += m_announced - m_logged;
        }
        m_inMessage = false;
    }

    // The open stroke of a contact (its place in m_pool), or -1.
    int FindOpen(std::uint32_t id) const {
        auto it = m_open.find(id);
        return it == m_open.end() ? -1 : it->second;
    }

    void Down(const LogLine& l, std::uint64_t line) {
        // kovrin's own rule: a DOWN claims the slot it finds.
        int slot = FindSlotIn(m_slotContact, l.id);
        if (slot >= 0)
            m_slotContact[slot] = (int)l.id;
        int open = FindOpen(l.id);
        if (open >= 0) {
            Flag(AnomalyKind::Redown, l.id, line);
            Close(open, false, false);
        }
        if (m_openCount == MAX_OPEN_STROKES) {
            const OpenStroke& oldest = m_pool[m_oldest];
            Diagnose(line, "note: more than " + std::to_string(MAX_OPEN_STROKES) +
                               " contacts down at once; contact " + std::to_string(oldest.stroke.id) +
                               " (down since line " + std::to_string(oldest.stroke.firstLine) +
                               ") is taken as stuck");
            Close(m_oldest, false, true);
        }
        int index = OpenNew(l, line, slot);
        AddPoint(m_pool[index], l.x, l.y, line);
        m_report.maxContacts = std::max<std::uint64_t>(m_report.maxContacts, m_openCount);
    }

    void Move(const LogLine& l, std::uint64_t line) {
        int open = FindOpen(l.id);
        if (open < 0) {
            Flag(AnomalyKind::Ghost, l.id, line);
            return;
        }
        AddPoint(m_pool[open], l.x, l.y, line);
    }

    void Up(const LogLine& l, std::uint64_t line) {
        int slot = FindSlotIn(m_slotContact, l.id);
        if (slot >= 0)
            m_slotContact[slot] = FREE_SLOT;
        int open = FindOpen(l.id);
        if (open < 0) {
            Flag(AnomalyKind::Ghost, l.id, line);
            return;
        }
        AddPoint(m_pool[open], l.x, l.y, line);
        Close(open, true, false);
    }

    int OpenNew(const LogLine& l, std::uint64_t line, int slot) {
        int index;
        if (!m_freePool.empty()) {
            index = m_freePool.back();
            m_freePool.pop_back();
        } else {
            index = (int)m_pool.size();
            m_pool.emplace_back();
        }
        OpenStroke& o = m_pool[index];
        o.stroke.id = l.id;
        o.stroke.slot = slot;
        o.stroke.firstLine = line;
        o.x0 = l.x;
        o.y0 = l.y;
        if (m_reserved < MAX_KEPT_STROKES) {
            o.kept = (std::int64_t)m_report.strokes.size();
            m_report.strokes.emplace_back();
            m_reserved++;
        }
        o.older = m_newest;
        o.newer = -1;
        if (m_newest >= 0)
            m_pool[m_newest].newer = index;
        else
            m_oldest = index;
        m_newest = index;
        m_open.emplace(l.id, index);
        m_openCount++;
        return index;
    }

    void AddPoint(OpenStroke& o, std::int32_t x, std::int32_t y, std::uint64_t line) {
        Stroke& s = o.stroke;
        if (o.points == 0) {
            s.min = s.max = Point{x, y};
        } else {
            double stepX = (double)((std::int64_t)x - o.lastX), stepY = (double)((std::int64_t)y - o.lastY);
            double step2 = stepX * stepX + stepY * stepY;
            o.length += std::sqrt(step2);
            o.maxStep2 = std::max(o.maxStep2, step2);
            s.min.x = std::min(s.min.x, x);
            s.min.y = std::min(s.min.y, y);
            s.max.x = std::max(s.max.x, x);
            s.max.y = std::max(s.max.y, y);
        }
        double dx = (double)((std::int64_t)x - o.x0), dy = (double)((std::int64_t)y - o.y0);
        o.maxReach2 = std::max(o.maxReach2, dx * dx + dy * dy);
        o.sx += dx;
        o.sy += dy;
        o.sxx += dx * dx;
        o.syy += dy * dy;
        o.sxy += dx * dy;
        o.candidates.push_back(Point{x, y});
        if (o.candidates.size() >= o.reduceAt)
            Reduce(o);
        if (o.points % o.drawStride == 0) {
            s.drawn.push_back(Point{x, y});
            m_drawnTotal++;
            if (s.drawn.size() > m_drawnCap) {
                m_drawnTotal -= s.drawn.size();
                Halve(s.drawn, false);
                m_drawnTotal += s.drawn.size();
                o.drawStride *= 2;
            }
        }
        o.points++;
        o.lastX = x;
        o.lastY = y;
        s.lastLine = line;
        m_grid.Add(x, y);
    }

    void Reduce(OpenStroke& o) {
        const Stroke& s = o.stroke;
        if ((std::int64_t)s.max.x - s.min.x < HULL_EXTENT && (std::int64_t)s.max.y - s.min.y < HULL_EXTENT) {
            ConvexHull(o.candidates, m_hull);
            o.candidates.assign(m_hull.begin(), m_hull.end());
        }
        if (o.candidates.size() > MAX_HULL) {
            while (o.candidates.size() > MAX_HULL / 2)
                Halve(o.candidates, true);
            o.thinned = true;
        }
        o.reduceAt = std::max(REDUCE_AT, 2 * o.candidates.size());
    }

    // The total-least-squares line: through the centroid along the principal
    // axis of the points' 2x2 covariance.
    void FitLine(OpenStroke& o) {
        Stroke& s = o.stroke;
        double n = (double)o.points;
        double cx = o.sx / n, cy = o.sy / n;
        double a = o.sxx / n - cx * cx, b = o.sxy / n - cx * cy, c = o.syy / n - cy * cy;
        double half = (a - c) / 2, r = std::sqrt(half * half + b * b);
        double big = (a + c) / 2 + r, small = (a + c) / 2 - r;
        double ux = 1, uy = 0;
        if (r > 0) {
            // Either row of (A - big I) gives the axis; take the better conditioned.
            double v1x = big - c, v1y = b, v2x = b, v2y = big - a;
            double n1 = v1x * v1x + v1y * v1y, n2 = v2x * v2x + v2y * v2y;
            double vx = n1 >= n2 ? v1x : v2x, vy = n1 >= n2 ? v1y : v2y;
            double norm = std::sqrt(n1 >= n2 ? n1 : n2);
            ux = vx / norm;
            uy = vy / norm;
        }
        double maxDev = 0, tMin = 0, tMax = 0;
        bool first = true;
        for (const Point& p : o.candidates) {
            double px = (double)((std::int64_t)p.x - o.x0) - cx, py = (double)((std::int64_t)p.y - o.y0) - cy;
            double d = std::fabs(px * -uy + py * ux), t = px * ux + py * uy;
            maxDev = std::max(maxDev, d);
            tMin = first ? t : std::min(tMin, t);
            tMax = first ? t : std::max(tMax, t);
            first = false;
        }
        s.lineMaxDevPx = maxDev;
        s.lineRmsDevPx = std::sqrt(small > 0 ? small : 0);
        s.lineFrom = Point{ClampToInt32(o.x0 + cx + tMin * ux), ClampToInt32(o.y0 + cy + tMin * uy)};
        s.lineTo = Point{ClampToInt32(o.x0 + cx + tMax * ux), ClampToInt32(o.y0 + cy + tMax * uy)};
        s.deviation.clear();
        s.deviation.reserve(s.drawn.size());
        for (const Point& p : s.drawn) {
            double px = (double)((std::int64_t)p.x - o.x0) - cx, py = (double)((std::int64_t)p.y - o.y0) - cy;
            s.deviation.push_back((float)(px * -uy + py * ux));
        }
        if (o.thinned)
            Diagnose(s.firstLine,
                     "note: contact " + std::to_string(s.id) +
                         " spans too much for an exact fit; its line figures come from a thinned "
                         "point set");
    }

    void Close(int index, bool lifted, bool stuck) {
        OpenStroke& o = m_pool[index];
        Stroke& s = o.stroke;
        std::uint32_t id = s.id;
        s.points = o.points;
        s.lengthPx = o.length;
        s.maxStepPx = std::sqrt(o.maxStep2);
        s.meanStepPx = o.points > 1 ? o.length / (double)(o.points - 1) : 0;
        s.lifted = lifted;
        if ((o.points - 1) % o.drawStride != 0) {
            s.drawn.push_back(Point{o.lastX, o.lastY});
            m_drawnTotal++;
        }
        s.drawn.shrink_to_fit(); // kept strokes hold what they show, not what they once did
        double reach = std::sqrt(o.maxReach2);
        if (reach <= m_options.stationaryExtentPx)
            s.jitterPx = reach;
        double endX = (double)((std::int64_t)o.lastX - o.x0), endY = (double)((std::int64_t)o.lastY - o.y0);
        if (o.points > 1 && std::sqrt(endX * endX + endY * endY) >= m_options.minLineLengthPx)
            FitLine(o);
        if (stuck)
            Flag(AnomalyKind::Stuck, s.id, s.firstLine);
        if (o.points == 1)
            Flag(AnomalyKind::SinglePoint, s.id, s.firstLine);

        if (o.kept >= 0) {
            m_report.strokes[(std::size_t)o.kept] = std::move(s);
        } else if (m_report.strokes.size() - m_reserved < MAX_KEPT_STROKES && StrokeFails(s, m_options)) {
            m_report.strokes.push_back(std::move(s));
        } else {
            m_drawnTotal -= s.drawn.size();
            m_report.omittedStrokes++;
        }

        m_open.erase(id);
        if (o.older >= 0)
            m_pool[o.older].newer = o.newer;
        else
            m_oldest = o.newer;
        if (o.newer >= 0)
            m_pool[o.newer].older = o.older;
        else
            m_newest = o.older;
        m_openCount--;
        std::vector<Point> candidates = std::move(o.candidates);
        candidates.clear();
        o = OpenStroke();
        o.candidates = std::move(candidates); // keeps its capacity for the next stroke
        m_freePool.push_back(index);

        if (m_drawnTotal > DRAWN_POINTS_TOTAL)
            ThinDrawn();
    }

    // Halves the per-stroke bound of the drawn copies until they fit the total.
    void ThinDrawn() {
        while (m_drawnTotal > DRAWN_POINTS_TOTAL && m_drawnCap > 2) {
            m_drawnCap /= 2;
            m_drawnTotal = 0;
            for (Stroke& s : m_report.strokes) {
                // Closed strokes may hold their last point beyond the bound,
                // as they did when the bound was not yet lowered.
                if (s.drawn.size() > m_drawnCap + 1) {
                    while (s.drawn.size() > m_drawnCap + 1) {
                        Halve(s.drawn, true);
                        Halve(s.deviation, true);
                    }
                    s.drawn.shrink_to_fit();
                    s.deviation.shrink_to_fit();
                }
                m_drawnTotal += s.drawn.size();
            }
            for (int i = m_oldest; i >= 0; i = m_pool[i].newer) {
                OpenStroke& o = m_pool[i];
                while (o.stroke.drawn.size() > m_drawnCap) {
                    Halve(o.stroke.drawn, false);
                    o.drawStride *= 2;
                }
                m_drawnTotal += o.stroke.drawn.size();
            }
        }
    }

    Options m_options;
    Report m_report;
    CCoverageGrid m_grid;
    std::unordered_map<std::uint32_t, int> m_open; // open strokes by contact id: places in m_pool
    std::vector<OpenStroke> m_pool;                // reserved: indices and references stay valid
    std::vector<int> m_freePool;
    int m_oldest = -1;
    int m_newest = -1;
    int m_openCount = 0;
    int m_slotContact[SLOT_COUNT];
    bool m_inMessage = false;
    std::uint32_t m_announced = 0;
    std::uint64_t m_logged = 0;
    std::size_t m_reserved = 0; // strokes given their place in DOWN order
    std::size_t m_drawnCap = DRAWN_POINTS_PER_STROKE;
    std::size_t m_drawnTotal = 0;
    std::vector<Point> m_hull;
};

} // namespace

Report ReadLog(std::FILE* input, const Options& options) {
    CAnalyser analyser(options);
    CLineReader reader;
    ReadStatus status = reader.Read(
        input,
        [&](const char* begin, const char* end, std::uint64_t line) { analyser.OnLine(begin, end, line); },
        [&](std::uint64_t line) { analyser.OnLongLine(line); });
    return analyser.Finish(status);
}

bool IsUnusable(const Report& report, std::string& why, std::uint64_t& line) {
    line = 0;
    if (report.readError) {
        why = "read error after line " + std::to_string(report.lines);
        return true;
    }
    if (report.lines == report.badLines) {
        if (report.lines == 0) {
            why = report.cutOff ? "no whole line (the only line has no line break)" : "empty input";
            line = report.cutOff ? 1 : 0;
        } else {
            why = std::string("no touch.log line recognised (") + report.firstBadWhy + ")";
            line = report.firstBadLine;
        }
        return true;
    }
    if (report.badLines * 100 > report.lines) {
        why = std::to_string(report.badLines) + " of " + std::to_string(report.lines) +
              " lines malformed, more than 1% (the first here: " + report.firstBadWhy + ")";
        line = report.firstBadLine;
        return true;
    }
    return false;
}

} // namespace report
