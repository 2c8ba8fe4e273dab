// The analysis, the second stage of the report: takes the reader's events as
// they come and routes them to its parts, one per concern: the contacts that
// are down, each open stroke's shape and time, and the session's totals. It
// keeps the report's lists (strokes in DOWN order, anomalies, notes) and the
// bound on the drawn copies. It knows nothing of thresholds: which strokes
// past the listed ones are worth keeping is its caller's policy.
#pragma once

#include "report/read/Reader.h"
#include "report/analyse/Contacts.h"
#include "report/analyse/CoverageGrid.h"
#include "report/analyse/GuidedItems.h"
#include "report/analyse/Report.h"
#include "report/analyse/SessionTotals.h"
#include "report/analyse/StrokeShape.h"
#include "report/analyse/StrokeTime.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace report {

// Bounds that keep memory independent of the log's length.
constexpr std::size_t MAX_KEPT_STROKES =
    100000; // strokes listed in DOWN order; later ones only when kept by the policy
constexpr std::size_t MAX_ANOMALIES = 100000;
constexpr std::size_t MAX_DIAGNOSTICS = 100;
constexpr std::size_t DRAWN_POINTS_PER_STROKE = 2000; // plus the last point
constexpr std::size_t DRAWN_POINTS_TOTAL = 250000;    // past it every drawn copy is thinned

// Whether a closed stroke past the first MAX_KEPT_STROKES is kept in the
// report (the others are only counted).
using KeepStroke = std::function<bool(const Stroke&)>;

class CAnalyser final : public CInputSink {
public:
    explicit CAnalyser(const Options& options, KeepStroke keep = nullptr);
    CAnalyser(const CAnalyser&) = delete;
    CAnalyser& operator=(const CAnalyser&) = delete;

    void OnMessage(std::uint64_t number, std::uint32_t announced, std::uint64_t line) override;
    void OnInput(const InputEvent& input) override;
    void OnSkipped(std::uint64_t line, const char* why) override;

    // Judges the strokes by the guide's items too: call before the reader,
    // with the plan of the guide's last run.
    void FollowGuide(Guided plan);

    // Ends the open strokes and hands over the report; call once, after the
    // reader.
    Report Finish(const InputStatus& input);

private:
    // An open stroke: who it is and its parts.
    struct OpenStroke {
        Stroke stroke; // id, slot and lines; its figures are filled when it ends
        CStrokeShape shape;
        CStrokeTime time;
        CCoverageGrid::Hint cell;
        std::int64_t kept = -1; // place in Report::strokes; -1: decided when it ends
        bool open = false;
        int item = -1; // the guided item it answers
    };

    void Down(const InputEvent& in);
    void Move(const InputEvent& in);
    void Up(const InputEvent& in);
    void AddPoint(OpenStroke& o, const InputEvent& in);
    void Close(int place, bool lifted, bool stuck);
    void ThinDrawn();
    void Flag(AnomalyKind kind, std::uint32_t id, std::uint64_t line);
    void Diagnose(std::uint64_t line, std::string text);

    Options m_options;
    KeepStroke m_keep;
    Report m_report;
    CContacts m_contacts;
    CSessionTotals m_totals;
    std::optional<CGuidedItems> m_guided;
    std::vector<OpenStroke> m_strokes; // by the contacts' places; reserved, so references stay valid
    std::size_t m_reserved = 0;        // strokes given their place in DOWN order
    std::size_t m_drawnCap = DRAWN_POINTS_PER_STROKE;
    std::size_t m_drawnTotal = 0;
};

} // namespace report
