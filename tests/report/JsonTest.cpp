// The JSON document, key for key, and its mm twins.
#include "ReportTestSupport.h"
#include "report/Json.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

// A stationary stroke (3 points, 10 px from its DOWN at most), a ghost and a
// line whose points lie 1 px off y = 100 in a balanced pattern.
std::string SmallLog() {
    return Count(1) + Down(7, 0, 0) + Count(1) + Move(7, 3, 4) + Count(1) + Up(7, 6, 8) + Count(1) +
           Move(9, 1, 1) + Count(1) + Down(8, 0, 101) + Count(1) + Move(8, 100, 99) + Count(1) +
           Move(8, 200, 99) + Count(1) + Up(8, 300, 101);
}

} // namespace

TEST(JsonTest, WritesEveryFigureInItsPlace) {
    Options o;
    o.maxJitterPx = 8;
    Report r = Analyse(SmallLog(), o);
    std::string json = FormatJson(r, o, FindFailures(r, o));
    EXPECT_EQ(json,
              R"({
  "messages": 8, "inputs": 8, "strokes": 2, "max_contacts": 1, "dropped_messages": 0, "dropped_inputs": 0, "stuck": 0, "ghosts": 1, "redowns": 0,
  "contacts": [
    {"id": 7, "slot": 0, "points": 3, "length_px": 10.000, "max_step_px": 5.000, "mean_step_px": 5.000, "line_max_dev_px": null, "line_rms_dev_px": null, "jitter_px": 10.000, "first_line": 2, "last_line": 6},
    {"id": 8, "slot": 0, "points": 4, "length_px": 300.040, "max_step_px": 100.020, "mean_step_px": 100.013, "line_max_dev_px": 1.000, "line_rms_dev_px": 1.000, "jitter_px": null, "first_line": 10, "last_line": 16}
  ],
  "coverage": {"cell_px": 40, "requested_cell_px": 40, "origin_x": 0, "origin_y": 0, "columns": 8, "rows": 3, "counts": [3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1], "empty_cells": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 19, 20, 22]},
  "lines": 16, "bad_lines": 0, "cut_off": false, "contacts_omitted": 0, "anomalies_omitted": 0,
  "anomalies": [
    {"kind": "ghost", "id": 9, "line": 8}
  ],
  "failures": [
    {"figure": "jitter", "stroke": 0, "value_px": 10.000, "limit_px": 8.000}
  ]
}
)");
}

TEST(JsonTest, EveryPixelFigureHasItsMmTwinRightAfterIt) {
    Options o;
    o.pxPerMm = 4;
    o.maxGapPx = 4;
    Report r = Analyse(SmallLog(), o);
    std::string json = FormatJson(r, o, FindFailures(r, o));
    EXPECT_EQ(JsonSyntaxError(json), "");
    for (const char* pair :
         {R"("length_px": 10.000, "length_mm": 2.500, "max_step_px": 5.000, "max_step_mm": 1.250)",
          R"("line_max_dev_px": null, "line_max_dev_mm": null, "line_rms_dev_px": null)",
          R"("line_max_dev_px": 1.000, "line_max_dev_mm": 0.250)",
          R"("jitter_px": 10.000, "jitter_mm": 2.500, "first_line": 2)",
          R"("cell_px": 40, "cell_mm": 10.000, "requested_cell_px": 40, "requested_cell_mm": 10.000)",
          R"("value_px": 5.000, "value_mm": 1.250, "limit_px": 4.000, "limit_mm": 1.000})"})
        EXPECT_NE(json.find(pair), std::string::npos) << pair;

    // No strokes at all: empty arrays, no grid.
    Report empty = Analyse(Count(0));
    json = FormatJson(empty, Options(), {});
    EXPECT_EQ(JsonSyntaxError(json), "");
    EXPECT_NE(json.find(R"("columns": 0, "rows": 0, "counts": [], "empty_cells": [])"), std::string::npos);
}
