// Memory follows the open strokes: a closed stroke keeps its figures and a
// decimated copy of its points, and the lists stop growing at their bounds
// while every count stays exact.
#include "report/analyse/Analysis.h"

#include "report/analyse/Thinning.h"

#include <algorithm>

namespace report {

CAnalyser::CAnalyser(const Options& options, KeepStroke keep)
    : m_options(options), m_keep(std::move(keep)), m_totals(options.cellPx) {
    m_strokes.reserve(MAX_OPEN_STROKES);
}

void CAnalyser::OnMessage(std::uint64_t number, std::uint32_t announced, std::uint64_t) {
    m_totals.Message(number, announced);
}

void CAnalyser::OnInput(const InputEvent& input) {
    m_totals.Input(input);
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

void CAnalyser::OnSkipped(std::uint64_t line, const char* why) {
    if (m_report.diagnostics.size() < MAX_DIAGNOSTICS) // no string made past the bound
        m_report.diagnostics.push_back({line, std::string("skipped: ") + why});
    else
        m_report.omittedDiagnostics++;
}

void CAnalyser::Down(const InputEvent& in) {
    int slot = m_contacts.ClaimSlot(in.id);
    int open = m_contacts.Find(in.id);
    if (open >= 0) { // kovrin restarts the stroke
        Flag(AnomalyKind::Redown, in.id, in.line);
        Close(open, false, false);
    }
    if (m_contacts.Full()) {
        const Stroke& oldest = m_strokes[m_contacts.Oldest()].stroke;
        Diagnose(in.line, "note: more than " + std::to_string(MAX_OPEN_STROKES) +
                              " contacts down at once; contact " + std::to_string(oldest.id) +
                              " (down since line " + std::to_string(oldest.firstLine) +
                              ") is taken as stuck");
        Close(m_contacts.Oldest(), false, true);
    }
    CContacts::Nearest nearest;
    int place = m_contacts.Down(in, m_guided && m_guided->Pairing(in) ? &nearest : nullptr);
    if ((std::size_t)place == m_strokes.size())
        m_strokes.emplace_back();
    OpenStroke& o = m_strokes[place];
    o.open = true;
    if (m_guided) {
        o.item = m_guided->Answer(in);
        m_guided->Input(in, m_contacts.DownCount(), nearest);
    }
    o.stroke.id = in.id;
    o.stroke.slot = slot;
    o.stroke.firstLine = in.line;
    if (m_reserved < MAX_KEPT_STROKES) {
        o.kept = (std::int64_t)m_report.strokes.size();
        m_report.strokes.emplace_back();
        m_reserved++;
    }
    AddPoint(o, in);
}

void CAnalyser::Move(const InputEvent& in) {
    int open = m_contacts.Find(in.id);
    if (open < 0) {
        Flag(AnomalyKind::Ghost, in.id, in.line);
        return;
    }
    AddPoint(m_strokes[open], in);
    if (!m_guided) {
        m_contacts.Move(open, in);
        return;
    }
    CContacts::Nearest nearest;
    m_contacts.Move(open, in, m_guided->Pairing(in) ? &nearest : nullptr);
    m_guided->Input(in, m_contacts.DownCount(), nearest);
}

void CAnalyser::Up(const InputEvent& in) {
    m_contacts.FreeSlot(in.id);
    int open = m_contacts.Find(in.id);
    if (open < 0) {
        Flag(AnomalyKind::Ghost, in.id, in.line);
        return;
    }
    AddPoint(m_strokes[open], in);
    if (m_guided)
        m_guided->Input(in, m_contacts.DownCount(), std::nullopt);
    Close(open, true, false);
}

void CAnalyser::AddPoint(OpenStroke& o, const InputEvent& in) {
    bool drawn = o.shape.Add(in);
    CStrokeTime::Step step = o.time.Add(in, drawn);
    if (step.backwards)
        Flag(AnomalyKind::Backwards, in.id, in.line);
    if (step.intervalMs)
        m_totals.AddInterval(*step.intervalMs);
    if (drawn) {
        m_drawnTotal++;
        if (o.shape.Drawn() > m_drawnCap) {
            m_drawnTotal -= o.shape.Drawn();
            o.shape.HalveDrawn();
            o.time.HalveDrawn();
            m_drawnTotal += o.shape.Drawn();
        }
    }
    o.stroke.lastLine = in.line;
    m_totals.AddPoint(in.x, in.y, o.cell);
    if (o.item >= 0)
        m_guided->AddPoint(o.item, in);
}

void CAnalyser::Close(int place, bool lifted, bool stuck) {
    OpenStroke& o = m_strokes[place];
    Stroke& s = o.stroke;
    s.lifted = lifted;
    CStrokeShape::Asked asked = CStrokeShape::Asked::Nothing;
    if (o.item >= 0) {
        GuideKind kind = m_guided->KindOf(o.item);
        asked = kind == GuideKind::Hold   ? CStrokeShape::Asked::Hold
                : kind == GuideKind::Line ? CStrokeShape::Asked::Line
                                          : CStrokeShape::Asked::Nothing;
    }
    CStrokeShape::End end = o.shape.Finish(s, m_options, asked);
    m_drawnTotal += end.drewLast;
    o.time.Finish(s, end.drewLast);
    m_totals.SmallestStep(end.minStep2);
    if (end.thinnedFit)
        Diagnose(s.firstLine, "note: contact " + std::to_string(s.id) +
                                  " spans too much for an exact fit; its line figures come from a thinned "
                                  "point set");
    if (stuck)
        Flag(AnomalyKind::Stuck, s.id, s.firstLine);
    if (s.points == 1)
        Flag(AnomalyKind::SinglePoint, s.id, s.firstLine);

    // A stroke kept past the listed ones finds its place only when they are
    // sorted at the end: its item names it by contact and line alone.
    if (o.item >= 0)
        m_guided->EndAnswer(o.item, s, o.kept >= 0 ? std::optional<std::size_t>(o.kept) : std::nullopt);
    if (o.kept >= 0) {
        m_report.strokes[(std::size_t)o.kept] = std::move(s);
    } else if (m_report.strokes.size() - m_reserved < MAX_KEPT_STROKES && m_keep && m_keep(s)) {
        m_report.strokes.push_back(std::move(s));
    } else {
        m_drawnTotal -= s.drawn.size();
        m_report.omittedStrokes++;
    }

    m_contacts.End(place);
    o.stroke = Stroke();
    o.shape.Reset();
    o.time.Reset();
    o.cell = CCoverageGrid::Hint();
    o.kept = -1;
    o.open = false;
    o.item = -1;

    if (m_drawnTotal > DRAWN_POINTS_TOTAL)
        ThinDrawn();
}

// Halves the per-stroke bound of the drawn copies until they fit the total.
void CAnalyser::ThinDrawn() {
    while (m_drawnTotal > DRAWN_POINTS_TOTAL && m_drawnCap > 2) {
        m_drawnCap /= 2;
        m_drawnTotal = 0;
        for (Stroke& s : m_report.strokes) {
            // Closed strokes may hold their last point beyond the bound, as
            // they did when the bound was not yet lowered.
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
        for (OpenStroke& o : m_strokes) {
            if (!o.open)
                continue;
            while (o.shape.Drawn() > m_drawnCap) {
                o.shape.HalveDrawn();
                o.time.HalveDrawn();
            }
            m_drawnTotal += o.shape.Drawn();
        }
    }
}

void CAnalyser::Flag(AnomalyKind kind, std::uint32_t id, std::uint64_t line) {
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

void CAnalyser::Diagnose(std::uint64_t line, std::string text) {
    if (m_report.diagnostics.size() < MAX_DIAGNOSTICS)
        m_report.diagnostics.push_back({line, std::move(text)});
    else
        m_report.omittedDiagnostics++;
}

void CAnalyser::FollowGuide(Guided plan) {
    m_guided.emplace(std::move(plan));
}

Report CAnalyser::Finish(const InputStatus& input) {
    while (m_contacts.Oldest() >= 0)
        Close(m_contacts.Oldest(), false, true);
    m_report.input = input;
    m_totals.Finish(m_report);
    m_contacts.Finish(m_report);
    if (m_guided)
        m_report.guided = m_guided->Finish(m_options);
    if (input.cutOff)
        m_report.diagnostics.push_back({input.lines + 1, "note: cut off mid-line; the line is not analysed"});
    std::stable_sort(m_report.anomalies.begin(), m_report.anomalies.end(),
                     [](const Anomaly& a, const Anomaly& b) { return a.line < b.line; });
    std::stable_sort(m_report.strokes.begin() + m_reserved, m_report.strokes.end(),
                     [](const Stroke& a, const Stroke& b) { return a.firstLine < b.firstLine; });
    return std::move(m_report);
}

} // namespace report
