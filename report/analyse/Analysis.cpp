// Every figure that reaches the JSON is computed with + - * / and sqrt only,
// from int64 differences, so the native and the Windows builds agree to the
// last bit. Lengths come from the finest position the file gives (hundredths
// of a pixel in touch.csv); the drawing and the coverage stay in client
// pixels. Memory follows the open strokes: a closed stroke keeps its figures
// and a decimated copy of its points.
#include "report/analyse/Analysis.h"

#include "report/analyse/CoverageGrid.h"
#include "report/analyse/Geometry.h"
#include "touch/ContactSlots.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
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
// Below this extent (in hundredths of a pixel) the hull's cross products are
// exact in int64.
constexpr std::int64_t HULL_EXTENT = (std::int64_t)1 << 30;
// Contact sizes kept per stroke for their median: every k-th past this many.
constexpr std::size_t SIZE_SAMPLES = 256;
// Intervals up to this many ms are counted one by one for the percentiles;
// longer ones count as this long there.
constexpr std::uint32_t INTERVAL_BINS = 65536;
// A difference of time stamps this large or larger is time going back.
constexpr std::uint32_t BACKWARDS = 0x80000000u;

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

// The same for the largest interval up to each point: a kept element takes
// the one dropped before it.
void HalveMax(std::vector<std::uint32_t>& v, bool keepLast) {
    for (std::size_t i = 2; i < v.size(); i += 2)
        v[i] = std::max(v[i], v[i - 1]);
    Halve(v, keepLast);
}

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

struct OpenStroke {
    Stroke stroke;  // id, slot, first line and drawn copy filled as it goes
    FinePoint down; // the DOWN point
    FinePoint last;
    Point lastPx;             // the last point in client pixels
    std::int64_t offsetX = 0; // whole pixels from the fine positions' frame to the client area
    std::int64_t offsetY = 0;
    Moments moments; // relative to the DOWN point
    double length = 0;
    double maxStep2 = 0;
    double maxReach2 = 0; // squared distance from the DOWN point
    std::uint64_t points = 0;
    std::uint64_t drawStride = 1;      // drawn holds every drawStride-th point
    std::vector<FinePoint> drawnFine;  // the drawn points' fine positions, for their deviation
    std::vector<FinePoint> candidates; // every point, or the hull of the earlier ones and the later ones
    std::size_t reduceAt = REDUCE_AT;
    // Time (touch.csv).
    bool timed = false;
    std::uint32_t lastTime = 0; // the last point's time stamp
    std::uint64_t t = 0;        // ms since the DOWN, along the intervals used
    bool hasInterval = false;
    std::uint32_t maxInterval = 0;
    std::uint64_t maxIntervalLine = 0;
    std::uint32_t gapSinceDrawn = 0; // largest interval since the last drawn point
    // The distinct times of the last second with the first point at each:
    // when a point comes a second or more after one, that second is whole.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> second;
    std::size_t secondStart = 0; // second[secondStart...] are the times still in it
    std::uint64_t fewestPerSecond = std::numeric_limits<std::uint64_t>::max();
    std::vector<std::uint32_t> widths; // contact sizes, every sizeStride-th given
    std::vector<std::uint32_t> heights;
    std::uint64_t sized = 0;
    std::uint64_t sizeStride = 1;
    bool thinned = false;
    std::int64_t kept = -1; // place in Report::strokes; -1: decided when it ends
    int older = -1;         // neighbours in DOWN order
    int newer = -1;
    std::size_t place = 0; // in CState::m_down
    CCoverageGrid::Hint cell;
};

} // namespace

class CAnalyser::CState {
public:
    CState(const Options& options, KeepStroke keep)
        : m_options(options), m_keep(std::move(keep)), m_grid(options.cellPx) {
        m_pool.reserve(MAX_OPEN_STROKES);
        m_open.reserve(MAX_OPEN_STROKES);
        m_down.reserve(MAX_OPEN_STROKES);
        std::fill(std::begin(m_slotContact), std::end(m_slotContact), FREE_SLOT);
    }

    void Message(std::uint64_t number, std::uint32_t announced) {
        EndMessage();
        m_report.messages = number;
        m_inMessage = true;
        m_announced = announced;
        m_logged = 0;
    }

    void Input(const InputEvent& input) {
        m_report.inputs++;
        m_logged++;
        if (input.timed) {
            m_report.clientSize.x = std::max(m_report.clientSize.x, input.clientW);
            m_report.clientSize.y = std::max(m_report.clientSize.y, input.clientH);
        }
        switch (input.phase) {
        case Phase::Down:
            Down(input);
            break;
        case Phase::Move:
            Move(input);
            break;
        case Phase::Up:
            Up(input);
            break;
        }
    }

    void Skipped(std::uint64_t line, const char* why) {
        if (m_report.diagnostics.size() < MAX_DIAGNOSTICS) // no string made past the bound
            m_report.diagnostics.push_back({line, std::string("skipped: ") + why});
        else
            m_report.omittedDiagnostics++;
    }

    Report Finish(const InputStatus& input) {
        EndMessage();
        while (m_oldest >= 0)
            Close(m_oldest, false, true);
        m_report.input = input;
        if (m_minStep2 > 0)
            m_report.minStepPx = std::sqrt(m_minStep2);
        if (m_closest)
            m_report.separation = Separation{std::sqrt(m_closest2) / 100, m_closest->movedId,
                                             m_closest->otherId, m_closest->line};
        FinishIntervals();
        // The whole client area is the area to cover: an edge that never
        // reported shows as empty cells.
        if (m_report.clientSize.x > 0 && m_report.clientSize.y > 0) {
            m_grid.Cover(0, 0);
            m_grid.Cover(m_report.clientSize.x - 1, m_report.clientSize.y - 1);
        }
        if (input.cutOff)
            m_report.diagnostics.push_back(
                {input.lines + 1, "note: cut off mid-line; the line is not analysed"});
        m_report.coverage = m_grid.Finish();
        std::stable_sort(m_report.anomalies.begin(), m_report.anomalies.end(),
                         [](const Anomaly& a, const Anomaly& b) { return a.line < b.line; });
        std::stable_sort(m_report.strokes.begin() + m_reserved, m_report.strokes.end(),
                         [](const Stroke& a, const Stroke& b) { return a.firstLine < b.firstLine; });
        return std::move(m_report);
    }

private:
    void Diagnose(std::uint64_t line, std::string text) {
        if (m_report.diagnostics.size() < MAX_DIAGNOSTICS)
            m_report.diagnostics.push_back({line, std::move(text)});
        else
            m_report.omittedDiagnostics++;
    }

    void Flag(AnomalyKind kind, std::uint32_t id, std::uint64_t line) {
        std::uint64_t& count = kind == AnomalyKind::Stuck         ? m_report.stuck
                               : kind == AnomalyKind::Ghost       ? m_report.ghosts
                               : kind == AnomalyKind::Redown      ? m_report.redowns
                               : kind == AnomalyKind::SinglePoint ? m_report.singlePoints
                                                                  : m_report.backwards;
        count++;
        if (m_report.anomalies.size() < MAX_ANOMALIES)
            m_report.anomalies.push_back({kind, id, line});
        else
            m_report.omittedAnomalies++;
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
        // A few contacts down (the usual case): side by side, found faster
        // than by hashing.
        if (m_down.size() <= 16) {
            for (const DownAt& d : m_down)
                if (d.id == id)
                    return d.pool;
            return -1;
        }
        auto it = m_open.find(id);
        return it == m_open.end() ? -1 : it->second;
    }

    void Down(const InputEvent& in) {
        // kovrin's own rule: a DOWN claims the slot it finds.
        int slot = FindSlotIn(m_slotContact, in.id);
        if (slot >= 0)
            m_slotContact[slot] = (int)in.id;
        int open = FindOpen(in.id);
        if (open >= 0) {
            Flag(AnomalyKind::Redown, in.id, in.line);
            Close(open, false, false);
        }
        if (m_openCount == MAX_OPEN_STROKES) {
            const OpenStroke& oldest = m_pool[m_oldest];
            Diagnose(in.line, "note: more than " + std::to_string(MAX_OPEN_STROKES) +
                                  " contacts down at once; contact " + std::to_string(oldest.stroke.id) +
                                  " (down since line " + std::to_string(oldest.stroke.firstLine) +
                                  ") is taken as stuck");
            Close(m_oldest, false, true);
        }
        int index = OpenNew(in, slot);
        AddPoint(m_pool[index], in);
        Separate(index, in);
        m_report.maxContacts = std::max<std::uint64_t>(m_report.maxContacts, m_openCount);
    }

    void Move(const InputEvent& in) {
        int open = FindOpen(in.id);
        if (open < 0) {
            Flag(AnomalyKind::Ghost, in.id, in.line);
            return;
        }
        AddPoint(m_pool[open], in);
        Separate(open, in);
    }

    // The distance from a contact's new position to every other contact down,
    // compared in hundredths of a pixel; then its own position is the new one.
    void Separate(int index, const InputEvent& in) {
        const double x = (double)in.fineX, y = (double)in.fineY;
        std::size_t self = m_pool[index].place, closest = self;
        double best = m_closest2;
        for (std::size_t i = 0; i < m_down.size(); i++) {
            double dx = x - m_down[i].x, dy = y - m_down[i].y, d2 = dx * dx + dy * dy;
            if (d2 < best && i != self) {
                best = d2;
                closest = i;
            }
        }
        if (closest != self) {
            m_closest2 = best;
            m_closest = Separation{0, in.id, m_down[closest].id, in.line};
        }
        m_down[self] = {x, y, in.id, index};
    }

    void Up(const InputEvent& in) {
        int slot = FindSlotIn(m_slotContact, in.id);
        if (slot >= 0)
            m_slotContact[slot] = FREE_SLOT;
        int open = FindOpen(in.id);
        if (open < 0) {
            Flag(AnomalyKind::Ghost, in.id, in.line);
            return;
        }
        AddPoint(m_pool[open], in);
        Close(open, true, false);
    }

    int OpenNew(const InputEvent& in, int slot) {
        int index;
        if (!m_freePool.empty()) {
            index = m_freePool.back();
            m_freePool.pop_back();
        } else {
            index = (int)m_pool.size();
            m_pool.emplace_back();
        }
        OpenStroke& o = m_pool[index];
        o.stroke.id = in.id;
        o.stroke.slot = slot;
        o.stroke.firstLine = in.line;
        o.down = FinePoint{in.fineX, in.fineY};
        o.offsetX = in.fineX / 100 - in.x; // kovrin truncates toward zero
        o.offsetY = in.fineY / 100 - in.y;
        if (m_reserved < MAX_KEPT_STROKES) {
            o.kept = (std::int64_t)m_report.strokes.size();
            m_report.strokes.emplace_back();
            m_reserved++;
        }
        o.older = m_newest;
        o.newer = -1;
        o.place = m_down.size();
        m_down.push_back({(double)in.fineX, (double)in.fineY, in.id, index});
        if (m_newest >= 0)
            m_pool[m_newest].newer = index;
        else
            m_oldest = index;
        m_newest = index;
        m_open.emplace(in.id, index);
        m_openCount++;
        return index;
    }

    void AddPoint(OpenStroke& o, const InputEvent& in) {
        Stroke& s = o.stroke;
        const Point p{in.x, in.y};
        const FinePoint f{in.fineX, in.fineY};
        if (o.points == 0) {
            s.min = s.max = p;
        } else {
            double stepX = Dx(o.last, f), stepY = Dy(o.last, f);
            double step2 = stepX * stepX + stepY * stepY;
            o.length += std::sqrt(step2);
            o.maxStep2 = std::max(o.maxStep2, step2);
            if (step2 > 0 && (m_minStep2 == 0 || step2 < m_minStep2))
                m_minStep2 = step2;
            s.min.x = std::min(s.min.x, p.x);
            s.min.y = std::min(s.min.y, p.y);
            s.max.x = std::max(s.max.x, p.x);
            s.max.y = std::max(s.max.y, p.y);
        }
        double dx = Dx(o.down, f), dy = Dy(o.down, f);
        o.maxReach2 = std::max(o.maxReach2, dx * dx + dy * dy);
        o.moments.Add(dx, dy);
        o.candidates.push_back(f);
        if (o.candidates.size() >= o.reduceAt)
            Reduce(o);
        if (in.timed)
            AddTime(o, in);
        if (in.sized)
            AddSize(o, in);
        if (o.points % o.drawStride == 0) {
            s.drawn.push_back(p);
            o.drawnFine.push_back(f);
            if (o.timed) {
                s.drawnTimeMs.push_back((std::uint32_t)std::min<std::uint64_t>(o.t, UINT32_MAX));
                s.drawnGapMs.push_back(o.gapSinceDrawn);
                o.gapSinceDrawn = 0;
            }
            m_drawnTotal++;
            if (s.drawn.size() > m_drawnCap) {
                m_drawnTotal -= s.drawn.size();
                HalveOpen(o);
                m_drawnTotal += s.drawn.size();
            }
        }
        o.points++;
        o.last = f;
        o.lastPx = p;
        s.lastLine = in.line;
        m_grid.Add(p.x, p.y, o.cell);
    }

    // The drawn copy of an open stroke, halved; it then draws every other point.
    void HalveOpen(OpenStroke& o) {
        Halve(o.stroke.drawn, false);
        Halve(o.drawnFine, false);
        Halve(o.stroke.drawnTimeMs, false);
        HalveMax(o.stroke.drawnGapMs, false);
        o.drawStride *= 2;
    }

    // The time since the DOWN, the interval from the point before, and the
    // points of every second that has ended.
    void AddTime(OpenStroke& o, const InputEvent& in) {
        if (o.points == 0) {
            o.timed = true;
            o.second.assign(1, {0, 0});
            o.secondStart = 0;
        } else {
            std::uint32_t interval = in.timeMs - o.lastTime; // modulo 2^32: a wrap still gives the interval
            if (interval >= BACKWARDS) {
                Flag(AnomalyKind::Backwards, in.id, in.line);
            } else {
                o.t += interval;
                if (!o.hasInterval || interval > o.maxInterval) {
                    o.maxInterval = interval;
                    o.maxIntervalLine = in.line;
                }
                o.hasInterval = true;
                o.gapSinceDrawn = std::max(o.gapSinceDrawn, interval);
                CountInterval(interval);
            }
            std::size_t& start = o.secondStart;
            while (start < o.second.size() && o.second[start].first + 1000 <= o.t) {
                o.fewestPerSecond = std::min(o.fewestPerSecond, o.points - o.second[start].second);
                start++;
            }
            if (start == o.second.size() || o.second.back().first != o.t) {
                if (start > 64 && 2 * start >= o.second.size()) { // the gone ones ahead: drop them
                    o.second.erase(o.second.begin(), o.second.begin() + (std::ptrdiff_t)start);
                    start = 0;
                }
                o.second.push_back({o.t, o.points});
            }
        }
        o.lastTime = in.timeMs;
    }

    void AddSize(OpenStroke& o, const InputEvent& in) {
        if (o.sized++ % o.sizeStride != 0)
            return;
        o.widths.push_back(in.contactW);
        o.heights.push_back(in.contactH);
        if (o.widths.size() > SIZE_SAMPLES) {
            Halve(o.widths, false);
            Halve(o.heights, false);
            o.sizeStride *= 2;
        }
    }

    void CountInterval(std::uint32_t interval) {
        if (m_intervalCounts.empty())
            m_intervalCounts.assign(INTERVAL_BINS, 0);
        m_intervalCounts[std::min(interval, INTERVAL_BINS - 1)]++;
        m_intervalCount++;
        m_intervalMax = std::max(m_intervalMax, interval);
    }

    // The median and the 95th and 99th percentiles by nearest rank.
    void FinishIntervals() {
        if (m_intervalCount == 0)
            return;
        Intervals& s = m_report.intervals.emplace();
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

    void Reduce(OpenStroke& o) {
        auto [minX, maxX] =
            std::minmax_element(o.candidates.begin(), o.candidates.end(),
                                [](const FinePoint& a, const FinePoint& b) { return a.x < b.x; });
        auto [minY, maxY] =
            std::minmax_element(o.candidates.begin(), o.candidates.end(),
                                [](const FinePoint& a, const FinePoint& b) { return a.y < b.y; });
        if (maxX->x - minX->x < HULL_EXTENT && maxY->y - minY->y < HULL_EXTENT) {
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

    void FitLine(OpenStroke& o) {
        Stroke& s = o.stroke;
        LineFit fit = report::FitLine(o.moments, o.down, o.candidates);
        s.lineMaxDevPx = fit.maxDev;
        s.lineRmsDevPx = fit.rmsDev;
        s.lineFrom =
            Point{ClampToInt32(fit.fromX - (double)o.offsetX), ClampToInt32(fit.fromY - (double)o.offsetY)};
        s.lineTo =
            Point{ClampToInt32(fit.toX - (double)o.offsetX), ClampToInt32(fit.toY - (double)o.offsetY)};
        s.deviation.clear();
        s.deviation.reserve(o.drawnFine.size());
        for (const FinePoint& p : o.drawnFine)
            s.deviation.push_back((float)fit.Deviation(p));
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
            s.drawn.push_back(o.lastPx);
            o.drawnFine.push_back(o.last);
            if (o.timed) {
                s.drawnTimeMs.push_back((std::uint32_t)std::min<std::uint64_t>(o.t, UINT32_MAX));
                s.drawnGapMs.push_back(o.gapSinceDrawn);
            }
            m_drawnTotal++;
        }
        // Kept strokes hold what they show, not what they once did.
        s.drawn.shrink_to_fit();
        s.drawnTimeMs.shrink_to_fit();
        s.drawnGapMs.shrink_to_fit();
        if (o.timed)
            FinishTime(o);
        if (!o.widths.empty()) {
            s.contactWPx = MedianPx(o.widths);
            s.contactHPx = MedianPx(o.heights);
        }
        double reach = std::sqrt(o.maxReach2);
        if (reach <= m_options.stationaryExtentPx)
            s.jitterPx = reach;
        double endX = Dx(o.down, o.last), endY = Dy(o.down, o.last);
        if (o.points > 1 && std::sqrt(endX * endX + endY * endY) >= m_options.minLineLengthPx)
            FitLine(o);
        if (stuck)
            Flag(AnomalyKind::Stuck, s.id, s.firstLine);
        if (o.points == 1)
            Flag(AnomalyKind::SinglePoint, s.id, s.firstLine);

        if (o.kept >= 0) {
            m_report.strokes[(std::size_t)o.kept] = std::move(s);
        } else if (m_report.strokes.size() - m_reserved < MAX_KEPT_STROKES && m_keep && m_keep(s)) {
            m_report.strokes.push_back(std::move(s));
        } else {
            m_drawnTotal -= s.drawn.size();
            m_report.omittedStrokes++;
        }

        m_open.erase(id);
        m_down[o.place] = m_down.back(); // in its place, the last one
        m_pool[m_down[o.place].pool].place = o.place;
        m_down.pop_back();
        if (o.older >= 0)
            m_pool[o.older].newer = o.newer;
        else
            m_oldest = o.newer;
        if (o.newer >= 0)
            m_pool[o.newer].older = o.older;
        else
            m_newest = o.older;
        m_openCount--;
        std::vector<FinePoint> candidates = std::move(o.candidates), drawnFine = std::move(o.drawnFine);
        candidates.clear();
        drawnFine.clear();
        o = OpenStroke();
        o.candidates = std::move(candidates); // keep their capacity for the next stroke
        o.drawnFine = std::move(drawnFine);
        m_freePool.push_back(index);

        if (m_drawnTotal > DRAWN_POINTS_TOTAL)
            ThinDrawn();
    }

    void FinishTime(OpenStroke& o) {
        Stroke& s = o.stroke;
        s.durationMs = o.t;
        if (o.t > 0)
            s.rateHz = (double)(o.points - 1) * 1000 / (double)o.t;
        if (o.t >= 1000)
            s.minRateHz = (double)o.fewestPerSecond;
        if (o.hasInterval) {
            s.maxIntervalMs = o.maxInterval;
            s.maxIntervalLine = o.maxIntervalLine;
        }
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
                        Halve(s.drawnTimeMs, true);
                        HalveMax(s.drawnGapMs, true);
                    }
                    s.drawn.shrink_to_fit();
                    s.deviation.shrink_to_fit();
                    s.drawnTimeMs.shrink_to_fit();
                    s.drawnGapMs.shrink_to_fit();
                }
                m_drawnTotal += s.drawn.size();
            }
            for (int i = m_oldest; i >= 0; i = m_pool[i].newer) {
                OpenStroke& o = m_pool[i];
                while (o.stroke.drawn.size() > m_drawnCap)
                    HalveOpen(o);
                m_drawnTotal += o.stroke.drawn.size();
            }
        }
    }

    Options m_options;
    KeepStroke m_keep;
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
    std::vector<FinePoint> m_hull;
    double m_minStep2 = 0; // 0: no step yet
    // Where every contact down last was, in hundredths of a pixel, side by
    // side for the closest approach.
    struct DownAt {
        double x, y;
        std::uint32_t id;
        int pool; // place in m_pool
    };
    std::vector<DownAt> m_down;
    double m_closest2 = std::numeric_limits<double>::infinity();
    std::optional<Separation> m_closest;         // the contacts and line of m_closest2
    std::vector<std::uint64_t> m_intervalCounts; // by length in ms, once the first interval comes
    std::uint64_t m_intervalCount = 0;
    std::uint32_t m_intervalMax = 0;
};

CAnalyser::CAnalyser(const Options& options, KeepStroke keep)
    : m_state(std::make_unique<CState>(options, std::move(keep))) {}

CAnalyser::~CAnalyser() = default;

void CAnalyser::OnMessage(std::uint64_t number, std::uint32_t announced, std::uint64_t) {
    m_state->Message(number, announced);
}

void CAnalyser::OnInput(const InputEvent& input) {
    m_state->Input(input);
}

void CAnalyser::OnSkipped(std::uint64_t line, const char* why) {
    m_state->Skipped(line, why);
}

Report CAnalyser::Finish(const InputStatus& input) {
    return m_state->Finish(input);
}

} // namespace report
