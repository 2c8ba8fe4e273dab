// The summary's own layout: a stroke's figures stand under their headings;
// and every writer's figures, each from its own field.
#include "ReportTestSupport.h"
#include "report/write/Format.h"
#include "report/write/Json.h"
#include "report/write/Summary.h"
#include "report/write/page/HtmlPage.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace report;
using namespace reporttest;

TEST(SummaryTest, AStrokeRowHasItsFiguresUnderTheirHeadings) {
    // Steps of 5, 5, 50: length 60, largest step 50, mean 20.
    Report r = Analyse(Count(1) + Down(4, 10, 20) + Count(1) + Move(4, 13, 24) + Count(1) + Move(4, 16, 28) +
                       Count(1) + Up(4, 46, 68));
    std::istringstream summary(FormatSummary(r, Options(), Judge(r, Options()), "touch.log"));
    std::string line, head, row;
    while (std::getline(summary, line)) {
        if (line.find("max step") != std::string::npos)
            head = line;
        if (line.rfind("       1 ", 0) == 0)
            row = line;
    }
    ASSERT_FALSE(head.empty());
    ASSERT_FALSE(row.empty());
    // Right-aligned: each value ends where its heading ends.
    for (auto [heading, value] : {std::pair{"points", "4"},
                                  {"length", "60.000"},
                                  {"max step", "50.000"},
                                  {"mean step", "20.000"},
                                  {"last line", "8"}}) {
        std::size_t end = head.find(heading) + std::string(heading).size();
        EXPECT_EQ(row.substr(end - std::string(value).size(), std::string(value).size() + 1),
                  std::string(value) + " ")
            << heading << "\n"
            << head << "\n"
            << row;
    }
    EXPECT_NE(row.find("(10,20)-(46,68)"), std::string::npos) << row;
}

namespace {

// Every count and figure has a value no other has; the coverage is too wide
// for the summary's map and has one empty cell, column 7 of row 1.
Report Distinct() {
    Report r;
    r.messages = 21;
    r.inputs = 22;
    r.maxContacts = 14;
    r.droppedMessages = 5;
    r.droppedInputs = 6;
    r.stuck = 7;
    r.ghosts = 8;
    r.redowns = 9;
    r.omittedStrokes = 1;
    r.omittedAnomalies = 11;
    r.input.lines = 30;
    r.input.badLines = 13;
    r.anomalies = {{AnomalyKind::Ghost, 5, 17}};
    Stroke line; // slot 0, not lifted
    line.id = 42;
    line.slot = 0;
    line.points = 4;
    line.lengthPx = 30;
    line.maxStepPx = 20;
    line.meanStepPx = 10;
    line.lineMaxDevPx = 3;
    line.lineRmsDevPx = 1.5;
    line.min = line.lineFrom = {10, 20};
    line.max = line.lineTo = {40, 25};
    line.drawn = {line.min, line.max};
    line.deviation = {0, 0};
    line.firstLine = 3;
    line.lastLine = 9;
    Stroke dot; // one point, no slot
    dot.id = 43;
    dot.points = 1;
    dot.jitterPx = 0;
    dot.min = dot.max = {100, 60};
    dot.drawn = {dot.min};
    dot.firstLine = dot.lastLine = 12;
    Stroke held; // two points, 5 px apart
    held.id = 44;
    held.slot = 2;
    held.points = 2;
    held.jitterPx = 5;
    held.drawn = {{200, 120}, {203, 116}};
    held.min = {200, 116};
    held.max = {203, 120};
    held.firstLine = 20;
    held.lastLine = 22;
    held.lifted = true;
    r.strokes = {line, dot, held};
    Coverage& c = r.coverage;
    c.cellPx = c.requestedCellPx = 10;
    c.origin = {-50, 30};
    c.columns = 130;
    c.rows = 2;
    c.counts.assign(260, 1);
    c.counts[137] = 0;
    c.emptyCells = {137};
    return r;
}

} // namespace

TEST(SummaryTest, EveryWriterTakesEachFigureFromItsOwnField) {
    Report r = Distinct();
    Options o;
    o.pxPerMm = 2.5;
    Verdict v = Judge(r, o);
    EXPECT_TRUE(
        InOrder(FormatSummary(r, o, v, "touch.log"),
                {"  30 lines, 13 skipped as malformed\n",
                 "  21 messages, 22 inputs, 4 strokes; at most 14 contacts down at once\n",
                 "  dropped inputs: 5 messages announced 6 inputs more than were logged\n",
                 "Anomalies: 7 stuck, 8 ghosts, 9 repeated DOWN, 0 single-point strokes\n",
                 " ghost: moved or went up without being down\n", "  ... and 11 more, not listed\n",
                 "        42    0 navy             3          9        4      30.000    20.000    10.000  "
                 "(10,20)-(40,25) (not lifted)\n",
                 "contact 42         line 3          largest 3.000 px (1.200 mm), rms 1.500 px (0.600 mm)\n",
                 "contact 43         line 12         jitter 0.000 px (0.000 mm) over 1 point\n",
                 "Coverage: 130 x 2 cells of 10 px from (-50, 30), 1 empty (possible dead zones)\n",
                 "  empty: column 7, row 1: x 20..29, y 40..49\n"}));
    EXPECT_TRUE(InOrder(
        FormatJson(r, o, v),
        {R"({"id": 42, "slot": 0, "points": 4, "length_px": 30.000, "length_mm": 12.000, )"
         R"("max_step_px": 20.000, "max_step_mm": 8.000, "mean_step_px": 10.000, "mean_step_mm": 4.000, )"
         R"("line_max_dev_px": 3.000, "line_max_dev_mm": 1.200, "line_rms_dev_px": 1.500, )"
         R"("line_rms_dev_mm": 0.600, "jitter_px": null, "jitter_mm": null, "first_line": 3, "last_line": 9)",
         R"("origin_x": -50, "origin_y": 30, "columns": 130, "rows": 2)",
         R"("contacts_omitted": 1, "anomalies_omitted": 11)"}));

    std::ostringstream out;
    WriteHtmlPage(out, r, o, v);
    std::string page = out.str();
    for (auto [value, label] : {std::pair{21, "messages"},
                                {22, "inputs"},
                                {4, "strokes"},
                                {14, "most contacts down at once"},
                                {5, "messages that dropped inputs"},
                                {6, "dropped inputs"},
                                {7, "stuck contacts"},
                                {8, "ghost inputs"},
                                {9, "repeated DOWNs"},
                                {30, "lines read"},
                                {13, "bad lines skipped"}})
        EXPECT_NE(page.find("<b>" + std::to_string(value) + "</b><span>" + label + "<"), std::string::npos)
            << label;
    EXPECT_TRUE(
        InOrder(page, {"2.500&nbsp;px per mm", "<path class=\"fit\" d=\"M10 20L40 25\"/>",
                       "<circle class=\"jit\" cx=\"100\" cy=\"60\"", // within every limit
                       "RMS <span class=\"v\">1.50&nbsp;px",
                       // The close-up of the stationary contact: its circle around its DOWN.
                       "<b>contact 44</b>", "<circle class=\"jit\" cx=\"200\" cy=\"120\" r=\"5.00\"/></svg>",
                       // The coverage: the empty cell on the map, the far corner, the cell in pixels.
                       "<path class=\"empty\" d=\"M7 1h1v1h-1z\"/>",
                       "130 &times; 2 from (-50, 30) to (1250, 50)", "x&nbsp;20&ndash;29 y&nbsp;40&ndash;49",
                       // The anomaly's line and contact.
                       "<td class=\"n\">17</td><td class=\"n\">5</td>",
                       // The stroke table: points, length, max and mean step, deviation, lines, end.
                       ">42</td><td class=\"n\">4</td>", "30.0<span class=\"mm\">12.0&nbsp;mm",
                       "20.0<span class=\"mm\">8.0&nbsp;mm", "10.0<span class=\"mm\">4.0&nbsp;mm",
                       "3.00 / 1.50", "<td>3&ndash;9</td><td><span class=\"bad\">open</span>",
                       "<td>12</td><td><span class=\"bad\">open</span>"}));
    EXPECT_EQ(page.find("<b>contact 43</b>"), std::string::npos); // a single point has no close-up
    EXPECT_EQ(Fixed(-0.0004), "0.000");

    // A map of 5 x 2 cells; the cells with 1 point take the shade the legend gives 1 when the most is 100.
    r.coverage.columns = 5;
    r.coverage.counts = {100, 1, 1, 1, 1, 1, 1, 1, 0, 1};
    r.coverage.emptyCells = {8};
    EXPECT_NE(FormatSummary(r, o, v, "touch.log").find("\n  #####\n  ###.#\n"), std::string::npos);
    out.str("");
    WriteHtmlPage(out, r, o, v);
    EXPECT_TRUE(InOrder(out.str(), {R"(<path fill="#c6dbef" d="M1 0h4v1h-4zM0 1h3v1h-3zM4 1h1v1h-1z"/>)",
                                    R"(background:#c6dbef"></span>1&ndash;2</span>)"}));
}
