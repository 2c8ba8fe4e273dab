// The page's counts and lists: the summary tiles, the anomalies, every stroke, the notes on the log.
#include "report/write/page/HtmlParts.h"

#include "report/analyse/Analysis.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr std::size_t MAX_TABLE_ROWS = 1000;

void Tile(CHtml& h, std::uint64_t value, const char* label, bool warn) {
    h << "<div class=\"tile" << (warn && value > 0 ? " warn" : "") << "\"><b>" << value << "</b><span>"
      << label << "</span></div>";
}

} // namespace

void WriteSummary(CHtml& h, const Report& report, const Options& options) {
    h << "<h2>Summary</h2><div class=\"tiles\">";
    Tile(h, report.messages, "messages", false);
    Tile(h, report.inputs, "inputs", false);
    Tile(h, report.StrokeCount(), "strokes", false);
    Tile(h, report.maxContacts, "most contacts down at once", false);
    Tile(h, report.droppedMessages, "messages that dropped inputs", true);
    Tile(h, report.droppedInputs, "dropped inputs", true);
    Tile(h, report.stuck, "stuck contacts", true);
    Tile(h, report.ghosts, "ghost inputs", true);
    Tile(h, report.redowns, "repeated DOWNs", true);
    Tile(h, report.singlePoints, "single-point strokes", true);
    Tile(h, report.input.lines, "lines read", false);
    Tile(h, report.input.badLines, "bad lines skipped", true);
    if (report.input.format == InputFormat::TouchCsv)
        Tile(h, report.backwards, "time stamps that went back", true);
    h << "</div>";
    if (report.minStepPx || report.separation) {
        h << "<p class=\"note\">";
        if (report.minStepPx)
            h << "Effective resolution: the smallest step between two reports of a contact is "
              << Value(*report.minStepPx, Unit::Px, 2, options) << ". ";
        if (report.separation)
            h << "Closest contacts: " << report.separation->movedId << " came within "
              << Value(report.separation->px, Unit::Px, 2, options) << " of " << report.separation->otherId
              << " at line " << report.separation->line << ".";
        h << "</p>";
    }
    if (report.input.cutOff)
        h << "<p class=\"cut\"><b>Cut off:</b> the log ends inside a line (kovrin was still writing it, or "
             "stopped); it was read up to its last whole line.</p>";
}

void WriteAnomalies(CHtml& h, const Report& report) {
    h << "<h2>Anomalies</h2>";
    if (report.anomalies.empty()) {
        h << "<p class=\"ok\">None: no stuck, ghost or repeated contact, no single-point stroke.</p>";
        return;
    }
    OpenTable(h, {{"Log line", true}, {"Contact", true}, {"What"}});
    std::size_t shown = std::min(report.anomalies.size(), MAX_LISTED);
    for (std::size_t k = 0; k < shown; k++) {
        const Anomaly& a = report.anomalies[k];
        h << "<tr><td class=\"n\">" << a.line << "</td><td class=\"n\">" << a.id << "</td><td"
          << (a.kind == AnomalyKind::SinglePoint ? "" : " class=\"bad\"") << '>' << AnomalyText(a.kind)
          << "</td></tr>";
    }
    CloseTable(h);
    std::uint64_t all = report.anomalies.size() + report.omittedAnomalies;
    if (shown < all)
        h << "<p class=\"note\">The first " << shown << " of " << all
          << " anomalies; the summary on the command line counts them all.</p>";
}

void WriteStrokeTable(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    if (report.strokes.empty())
        return;
    h << "<h2>Every stroke</h2>";
    OpenTable(h, {{"#", true},
                  {"Contact"},
                  {"Points", true},
                  {"Length px", true},
                  {"Max step px", true},
                  {"Mean step px", true},
                  {"Line dev max / RMS px", true},
                  {"Jitter px", true},
                  {"Log lines"},
                  {"End"}});
    std::size_t shown = std::min(report.strokes.size(), MAX_TABLE_ROWS);
    for (std::size_t i = 0; i < shown; i++) {
        const Stroke& s = report.strokes[i];
        auto cell = [&](Figure figure) {
            return verdict.Fails(i, figure) ? "<td class=\"n bad\">" : "<td class=\"n\">";
        };
        h << "<tr><td class=\"n\">" << i + 1 << "</td><td>" << Swatch(s.slot) << s.id
          << "</td><td class=\"n\">" << s.points << "</td><td class=\"n\">"
          << LengthCell(s.lengthPx, 1, options) << "</td>" << cell(Figure::Gap);
        if (Describe(Figure::Gap).of(s))
            h << LengthCell(s.maxStepPx, 1, options) << "</td><td class=\"n\">"
              << LengthCell(s.meanStepPx, 1, options);
        else
            h << "</td><td class=\"n\">";
        h << "</td>" << cell(Figure::Deviation);
        if (s.lineMaxDevPx)
            h << Fixed(*s.lineMaxDevPx, 2) << " / " << (s.lineRmsDevPx ? Fixed(*s.lineRmsDevPx, 2) : "-")
              << (options.pxPerMm
                      ? "<span class=\"mm\">" + Fixed(*s.lineMaxDevPx / *options.pxPerMm, 2) + " / " +
                            (s.lineRmsDevPx ? Fixed(*s.lineRmsDevPx / *options.pxPerMm, 2) : "-") +
                            "&nbsp;mm</span>"
                      : "");
        h << "</td>" << cell(Figure::Jitter);
        if (s.jitterPx)
            h << LengthCell(*s.jitterPx, 2, options);
        h << "</td><td>" << LineRange(s) << "</td><td>"
          << (s.lifted ? "UP" : "<span class=\"bad\">open</span>") << "</td></tr>";
    }
    CloseTable(h);
    if (shown < report.StrokeCount())
        h << "<p class=\"note\">The first " << shown << " of " << report.StrokeCount()
          << " strokes; the JSON (--json) lists " << report.strokes.size() << ".</p>";
}

void WriteNotes(CHtml& h, const Report& report) {
    if (report.diagnostics.empty())
        return;
    h << "<h2>Notes on the log</h2>";
    OpenTable(h, {{"Log line", true}, {"Note"}});
    std::size_t shown = std::min(report.diagnostics.size(), MAX_LISTED);
    for (std::size_t k = 0; k < shown; k++)
        h << "<tr><td class=\"n\">" << report.diagnostics[k].line << "</td><td>"
          << Escape(report.diagnostics[k].text) << "</td></tr>";
    CloseTable(h);
    if (shown < report.diagnostics.size())
        h << "<p class=\"note\">The first " << shown << " of " << report.diagnostics.size() << " notes.</p>";
    if (report.omittedDiagnostics)
        h << "<p class=\"note\">" << Count(report.omittedDiagnostics, "more warning", "more warnings")
          << " past the first " << MAX_DIAGNOSTICS << " left out, as on standard error.</p>";
}

} // namespace report
