// The JSON document: its keys in order, each count from its own field, and
// the mm twins.
#include "ReportTestSupport.h"
#include "report/write/Json.h"

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

TEST(JsonTest, KeysInTheirOrderWithTheirValues) {
    Options o;
    o.maxJitterPx = 8;
    Report r = Analyse(SmallLog(), o);
    std::string json = FormatJson(r, o, Judge(r, o));
    EXPECT_EQ(JsonSyntaxError(json), "");
    std::size_t at = 0;
    for (const char* key : {"generator",
                            "input",
                            "messages",
                            "inputs",
                            "strokes",
                            "max_contacts",
                            "dropped_messages",
                            "dropped_inputs",
                            "stuck",
                            "ghosts",
                            "redowns",
                            "min_step_px",
                            "min_separation_px",
                            "min_separation_ids",
                            "min_separation_line",
                            "backwards",
                            "client_w",
                            "client_h",
                            "intervals",
                            "contacts",
                            "coverage",
                            "lines",
                            "bad_lines",
                            "cut_off",
                            "contacts_omitted",
                            "anomalies_omitted",
                            "anomalies",
                            "guided",
                            "verdict",
                            "failures"}) {
        at = json.find("\"" + std::string(key) + "\": ", at) + 1;
        ASSERT_NE(at, 0u) << key << " missing or out of order";
    }
    for (
        const char* part :
        {R"({"id": 7, "slot": 0, "points": 3, "length_px": 10.000, "max_step_px": 5.000, "mean_step_px": 5.000, )"
         R"("line_max_dev_px": null, "line_rms_dev_px": null, "jitter_px": 10.000, "first_line": 2, "last_line": 6, )"
         R"("duration_ms": null, "rate_hz": null, "min_rate_hz": null, "max_interval_ms": null, )"
         R"("max_interval_line": null, "contact_w_px": null, "contact_h_px": null})",
         R"("line_max_dev_px": 1.000, "line_rms_dev_px": 1.000, "jitter_px": null, "first_line": 10)",
         R"("origin_x": 0, "origin_y": 0, "columns": 8, "rows": 3, "counts": [3, 0, 0, 0, 0, 0, 0, 0, 0, )",
         R"("lines": 16, "bad_lines": 0, "cut_off": false)", R"({"kind": "ghost", "id": 9, "line": 8})",
         R"("verdict": "fail")",
         R"({"figure": "jitter", "stroke": 0, "item": null, "value_px": 10.000, "limit_px": 8.000})"})
        EXPECT_NE(json.find(part), std::string::npos) << part;
}

// Each count has a value no other count has, so a key written from the wrong
// field shows.
TEST(JsonTest, EveryCountComesFromItsOwnField) {
    std::string log = Count(2) + Down(1, 0, 0)                                // 1 input dropped
                      + Count(1) + Down(1, 10, 0) + Count(2) + Down(1, 20, 0) // 3 redowns, 1 dropped
                      + Count(1) + Down(1, 30, 0) + Count(2) + Up(1, 40, 0) + Down(60, 5, 5) // 60: stuck
                      + Count(2) + Move(50, 1, 1) + Count(2) + Move(51, 1, 1) // 4 ghosts, 2 messages dropping
                      + Count(1) + Up(52, 1, 1) + Count(4) + Up(53, 1, 1)     // 1 and 3 inputs
                      + Count(1) + Down(70, 0, 50) + Count(1) + Up(70, 0, 60); // 2 contacts down at once
    Report r = Analyse(log);
    std::string json = FormatJson(r, Options(), Judge(r, Options()));
    for (const char* pair :
         {R"("messages": 11, "inputs": 12, "strokes": 6, "max_contacts": 2, )"
          R"("dropped_messages": 5, "dropped_inputs": 7, "stuck": 1, "ghosts": 4, "redowns": 3)",
          R"("verdict": "not_judged")"})
        EXPECT_NE(json.find(pair), std::string::npos) << pair << "\n" << json;
}

TEST(JsonTest, EveryPixelFigureHasItsMmTwinRightAfterIt) {
    Options o;
    o.pxPerMm = 4;
    o.maxGapPx = 4;
    Report r = Analyse(SmallLog(), o);
    std::string json = FormatJson(r, o, Judge(r, o));
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
    json = FormatJson(empty, Options(), Judge(empty, Options()));
    EXPECT_EQ(JsonSyntaxError(json), "");
    EXPECT_NE(json.find(R"("columns": 0, "rows": 0, "counts": [], "empty_cells": [])"), std::string::npos);
}
