// Every figure that reaches the JSON is computed with + - * / and sqrt only,
// from int64 differences, so the native and the Windows builds agree to the
// last bit. Memory follows the open strokes: a closed stroke keeps its figures
// and a decimated copy of its points.
#include "report/Analysis.h"

#include "report/CoverageGrid.h"
#include "report/Geometry.h"
#include "touch/ContactSlots.h"

#include <algorithm>
#include <cmath>
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
// Below this extent the hull's cross products are exact in int64.
constexpr std::int64_t HULL_EXTENT = (std::int64_t)1 << 30;

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

struct OpenStroke {
    Stroke stroke; // id, slot, first line and drawn copy filled as it goes
    Point down;    // the DOWN point
    Point last;
    Moments moments; // relative to the DOWN point
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

} // namespace

class CAnalyser::CState {
public:
    CState(const Options& options, KeepStroke keep)
        : m_options(options), m_keep(std::move(keep)), m_grid(options.cellPx) {
        m_pool.reserve(MAX_OPEN_STROKES);
        m_open.reserve(MAX_OPEN_STROKES);
        std::fill(std::begin(m_slotContact), std::end(m_slotContact), FREE_SLOT);
    }

    void Message(std::uint32_t announced) {
        EndMessage();
        m_report.messages++;
        m_inMessage = true;
        m_announced = announced;
        m_logged = 0;
    }

    void Input(const InputEvent& input) {
        m_report.inputs++;
        m_logged++;
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
        m_report.maxContacts = std::max<std::uint64_t>(m_report.maxContacts, m_openCount);
    }

    void Move(const InputEvent& in) {
        int open = FindOpen(in.id);
        if (open < 0) {
            Flag(AnomalyKind::Ghost, in.id, in.line);
            return;
        }
        AddPoint(m_pool[open], in);
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
        o.down = Point{in.x, in.y};
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
        m_open.emplace(in.id, index);
        m_openCount++;
        return index;
    }

    void AddPoint(OpenStroke& o, const InputEvent& in) {
        Stroke& s = o.stroke;
        const Point p{in.x, in.y};
        if (o.points == 0) {
            s.min = s.max = p;
        } else {
            double stepX = (double)((std::int64_t)p.x - o.last.x),
                   stepY = (double)((std::int64_t)p.y - o.last.y);
            double step2 = stepX * stepX + stepY * stepY;
            o.length += std::sqrt(step2);
            o.maxStep2 = std::max(o.maxStep2, step2);
            s.min.x = std::min(s.min.x, p.x);
            s.min.y = std::min(s.min.y, p.y);
            s.max.x = std::max(s.max.x, p.x);
            s.max.y = std::max(s.max.y, p.y);
        }
        double dx = (double)((std::int64_t)p.x - o.down.x), dy = (double)((std::int64_t)p.y - o.down.y);
        o.maxReach2 = std::max(o.maxReach2, dx * dx + dy * dy);
        o.moments.Add(dx, dy);
        o.candidates.push_back(p);
        if (o.candidates.size() >= o.reduceAt)
            Reduce(o);
        if (o.points % o.drawStride == 0) {
            s.drawn.push_back(p);
            m_drawnTotal++;
            if (s.drawn.size() > m_drawnCap) {
                m_drawnTotal -= s.drawn.size();
                Halve(s.drawn, false);
                m_drawnTotal += s.drawn.size();
                o.drawStride *= 2;
            }
        }
        o.points++;
        o.last = p;
        s.lastLine = in.line;
        m_grid.Add(p.x, p.y);
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

    void FitLine(OpenStroke& o) {
        Stroke& s = o.stroke;
        LineFit fit = report::FitLine(o.moments, o.down, o.candidates);
        s.lineMaxDevPx = fit.maxDev;
        s.lineRmsDevPx = fit.rmsDev;
        s.lineFrom = fit.from;
        s.lineTo = fit.to;
        s.deviation.clear();
        s.deviation.reserve(s.drawn.size());
        for (const Point& p : s.drawn)
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
            s.drawn.push_back(o.last);
            m_drawnTotal++;
        }
        s.drawn.shrink_to_fit(); // kept strokes hold what they show, not what they once did
        double reach = std::sqrt(o.maxReach2);
        if (reach <= m_options.stationaryExtentPx)
            s.jitterPx = reach;
        double endX = (double)((std::int64_t)o.last.x - o.down.x),
               endY = (double)((std::int64_t)o.last.y - o.down.y);
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
    std::vector<Point> m_hull;
};

CAnalyser::CAnalyser(const Options& options, KeepStroke keep)
    : m_state(std::make_unique<CState>(options, std::move(keep))) {}

CAnalyser::~CAnalyser() = default;

void CAnalyser::OnMessage(std::uint32_t announced, std::uint64_t) {
    m_state->Message(announced);
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
