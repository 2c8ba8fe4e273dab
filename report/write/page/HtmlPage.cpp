// Puts the page together: head and style, then the sections in reading order.
// Everything is drawn from the Report and the Verdict alone: SVG user units are
// client pixels, strokes use kovrin's slot colours, and each section's caps
// keep the page a few MB whatever the length of the log.
#include "report/write/page/HtmlPage.h"

#include "report/Version.h"
#include "report/write/page/HtmlParts.h"

namespace report {

namespace {

// The slot colours come first: the classes of paths and text in the style
// sheet override their fill or stroke.
void WriteStyle(CHtml& h) {
    h << "<style>\n";
    for (int slot = 0; slot <= SLOT_COUNT; slot++) {
        std::string color = SlotColor(slot < SLOT_COUNT ? slot : -1);
        h << ".k" << slot << "{stroke:" << color << ";fill:" << color << ";background:" << color << "}.m"
          << slot << "{marker:url(#d" << slot << ")}";
    }
    h << '\n' << PAGE_STYLE << "</style>";
}

// The dot at every point of a stroke, 4 stroke widths across, one per colour.
void WriteMarkers(CHtml& h) {
    h << "<svg class=\"defs\" aria-hidden=\"true\"><defs>";
    for (int slot = 0; slot <= SLOT_COUNT; slot++)
        h << "<marker id=\"d" << slot << "\" viewBox=\"-2 -2 4 4\" markerWidth=\"4\" markerHeight=\"4\" "
          << "overflow=\"visible\"><circle r=\"2\" fill=\"" << SlotColor(slot < SLOT_COUNT ? slot : -1)
          << "\" shape-rendering=\"crispEdges\"/></marker>";
    h << "</defs></svg>";
}

void WriteHeader(CHtml& h, const Report& report, const Options& options) {
    h << "<h1>Touch log report</h1><p class=\"sub\">kovrin-report " << REPORT_VERSION << " &middot; "
      << Count(report.input.lines, "line read", "lines read") << " &middot; coverage cells of "
      << options.cellPx << "&nbsp;px &middot; lines: strokes at least " << Fixed(options.minLineLengthPx, 0)
      << "&nbsp;px from end to end &middot; stationary: every point within "
      << Fixed(options.stationaryExtentPx, 0) << "&nbsp;px of the DOWN";
    if (options.pxPerMm)
        h << " &middot; " << Fixed(*options.pxPerMm, 3) << "&nbsp;px per mm";
    h << "</p>";
}

} // namespace

void WriteHtmlPage(std::ostream& out, const Report& report, const Options& options, const Verdict& verdict) {
    static const char* const TITLES[] = {"NOT JUDGED", "PASS", "FAIL"};
    CHtml h(out);
    // The generator mark comes first: a page kovrin-report finds beside a
    // dropped log is its own, to be replaced, only when it has the mark.
    h << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"generator\" "
         "content=\"kovrin-report "
      << REPORT_VERSION
      << "\"><meta name=\"viewport\" "
         "content=\"width=device-width, initial-scale=1\"><title>"
      << TITLES[(int)verdict.outcome] << " - kovrin-report</title>";
    WriteStyle(h);
    h << "</head><body>";
    WriteMarkers(h);
    h << "<main>";
    WriteHeader(h, report, options);
    WriteVerdict(h, report, options, verdict);
    WriteGuided(h, report, options, verdict);
    WriteSummary(h, report, options);
    WriteDrawing(h, report, options, verdict);
    WriteCharts(h, report, options, verdict);
    WriteTiming(h, report, options, verdict);
    WriteCoverage(h, report, options);
    WriteAnomalies(h, report);
    WriteStrokeTable(h, report, options, verdict);
    WriteNotes(h, report);
    h << "</main></body></html>\n";
}

} // namespace report
