// kovrin-report on a guided run: a touch.csv and the guide.csv beside it,
// played by hand so that every figure is known by construction. The client
// area is 1041 x 841 at the screen's origin with a 20 px margin, so the
// guides lie on round numbers; the screen is 2000 x 1000 px and 400 x 250 mm
// (5 and 4 px/mm).
#include "ReportTestSupport.h"

#include "log/GuideCsvColumns.h"

#include <string>

using namespace reporttest;

namespace {

// A client pixel's middle in hundredths, as guide.csv and touch.csv give it.
std::int32_t Mid(std::int32_t px) {
    return px * 100 + 50;
}

std::string Row(int item, const char* kind, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                std::int32_t y2, std::uint64_t shown, std::uint64_t ended, const char* outcome) {
    std::string at = x1 < 0 ? ",,,,"
                            : std::to_string(Mid(x1)) + "," + std::to_string(Mid(y1)) + "," +
                                  std::to_string(Mid(x2)) + "," + std::to_string(Mid(y2)) + ",";
    return "1," + std::to_string(item) + "," + kind + "," + at + std::to_string(shown) + "," +
           std::to_string(ended) + "," + outcome + ",0,0,1041,841,400,250,2000,1000\r\n";
}

struct Session {
    std::string csv, guide;
};

// Target 1 at (20, 20): touched 3, 5 and 1 px right of its centre (mean +3,
// farthest 5), then touched again (an extra touch). Target 2 at (270, 20):
// done, taken back from target 3, and done again 2 px above its centre.
// Targets 3 to 20 are missed. The hold at (520, 420): down 1, 2 px off and
// up 4, -2 px off (offset +2.5, 0; farthest 4.472; jitter 5). Line 1 from
// (20, 420) to (1020, 420): drawn from x 270 to 770, 3 px below, 1 px above,
// 1 px above, 3 px below (2 px from its fit, 3 px from the guide, half of it
// reached). Three contacts down at once; the pair 9, then 7 px apart.
Session Played() {
    CCsv c;
    std::uint32_t ms = 1000;
    auto one = [&](std::uint64_t us, const char* event, std::uint32_t id, std::int32_t hx, std::int32_t hy) {
        c.Message(1, us).Input(event, id, hx, hy, ms += 8);
    };
    one(10, "DOWN", 1, Mid(20) + 300, Mid(20));
    one(20, "MOVE", 1, Mid(20) + 500, Mid(20));
    one(30, "UP", 1, Mid(20) + 100, Mid(20));
    one(40, "DOWN", 2, Mid(20), Mid(20));
    one(100, "UP", 2, Mid(20), Mid(20));
    one(150, "DOWN", 3, Mid(270) + 1000, Mid(20));
    one(200, "UP", 3, Mid(270) + 1000, Mid(20));
    one(260, "DOWN", 4, Mid(270), Mid(20) - 200);
    one(300, "UP", 4, Mid(270), Mid(20) - 200);
    one(1010, "DOWN", 5, Mid(520) + 100, Mid(420) + 200);
    one(6000000, "UP", 5, Mid(520) + 400, Mid(420) - 200);
    const std::int32_t xs[] = {270, 420, 620, 770}, dys[] = {300, -100, -100, 300};
    for (int k = 0; k < 4; k++)
        one(6000010 + k, k == 0 ? "DOWN" : k == 3 ? "UP" : "MOVE", 6, Mid(xs[k]), Mid(420) + dys[k]);
    for (const char* event : {"DOWN", "UP"}) {
        c.Message(3, event[0] == 'D' ? 6100010 : 6200000);
        for (std::uint32_t id = 10; id < 13; id++)
            c.Input(event, id, Mid(400 + 100 * (std::int32_t)id), Mid(400), ms += 8);
    }
    c.Message(2, 6200010)
        .Input("DOWN", 20, Mid(500), Mid(420), ms += 8)
        .Input("DOWN", 21, Mid(509), Mid(420), ms);
    one(6200020, "MOVE", 21, Mid(507), Mid(420));
    c.Message(2, 6300000)
        .Input("UP", 20, Mid(500), Mid(420), ms += 8)
        .Input("UP", 21, Mid(507), Mid(420), ms);

    std::string g = std::string(GUIDE_CSV_COLUMNS) + "\r\n";
    g += Row(1, "target", 20, 20, 20, 20, 0, 100, "done");
    g += Row(2, "target", 270, 20, 270, 20, 100, 200, "done");
    g += Row(3, "target", 520, 20, 520, 20, 200, 250, "back");
    g += Row(2, "target", 270, 20, 270, 20, 250, 300, "done");
    g += Row(21, "hold", 520, 420, 520, 420, 1000, 6000000, "done");
    g += Row(22, "line", 20, 420, 1020, 420, 6000000, 6000013, "done");
    g += Row(30, "contacts", -1, 0, 0, 0, 6100000, 6200000, "done");
    g += Row(31, "pair", -1, 0, 0, 0, 6200000, 6300000, "done");
    g += Row(3, "target", 520, 20, 520, 20, 6300000, 6400000, "cut");
    return {c.Text(), g};
}

// The JSON object of `item` (1-based), on its line.
std::string Item(const std::string& json, int item) {
    std::size_t at = json.find("{\"item\": " + std::to_string(item) + ",");
    return at == std::string::npos ? "" : json.substr(at, json.find('\n', at) - at);
}

} // namespace

TEST(GuidedRunTest, ItemsAnsweredMissedAndRedoneGiveTheirFiguresInEitherScale) {
    CTempDir dir;
    Session s = Played();
    std::string csv = dir.Write("touch.csv", s.csv);
    dir.Write("guide.csv", s.guide);

    // The guide beside the touch.csv, its scale from the screen's size. The hold and the line are
    // judged though neither is stationary or long enough by the settings.
    RunResult r = RunReport({csv, "--json", dir.Path("a.json"), "--max-offset", "4.5", "--max-jitter", "1mm",
                             "--min-line-length", "600", "--stationary-extent", "3"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    std::string json = ReadFile(dir.Path("a.json"));
    EXPECT_NE(json.find("\"px_per_mm_x\": 5.000, \"px_per_mm_y\": 4.000, \"scale_from\": \"guide\""),
              std::string::npos);
    EXPECT_NE(json.find("\"bias_x_px\": 1.500, \"bias_x_mm\": 0.300, \"bias_y_px\": -1.000, \"bias_y_mm\": "
                        "-0.250, \"offset_p95_px\": 3.000, \"offset_p95_mm\": 0.600, \"targets\": 20, "
                        "\"targets_missed\": 18"),
              std::string::npos);
    EXPECT_TRUE(
        InOrder(Item(json, 1), {"\"missed\": false, \"contact\": 1, \"first_line\": 2, \"extra_touches\": 1",
                                "\"offset_x_px\": 3.000", "\"offset_y_px\": 0.000",
                                "\"max_offset_px\": 5.000, \"max_offset_mm\": 1.000"}));
    EXPECT_TRUE(
        InOrder(Item(json, 2), {"\"contact\": 4", "\"extra_touches\": 0", "\"offset_y_px\": -2.000"}));
    EXPECT_TRUE(InOrder(Item(json, 3), {"\"missed\": true, \"contact\": null"}));
    EXPECT_TRUE(InOrder(Item(json, 21),
                        {"\"offset_x_px\": 2.500", "\"max_offset_px\": 4.472, \"max_offset_mm\": 0.943",
                         "\"jitter_px\": 5.000"}));
    EXPECT_TRUE(InOrder(Item(json, 22),
                        {"\"x1\": 20, \"y1\": 420, \"x2\": 1020, \"y2\": 420", "\"deviation_px\": 2.000",
                         "\"guide_offset_px\": 3.000, \"guide_offset_mm\": 0.750", "\"reach_pct\": 50.000"}));
    EXPECT_TRUE(InOrder(Item(json, 30), {"\"contacts\": 3"}));
    EXPECT_TRUE(InOrder(Item(json, 31), {"\"separation_px\": 7.000, \"separation_mm\": 1.400"}));
    // Target 1 beyond 4.5 px, each missed target, and the hold's 5 px
    // jitter beyond 1 mm (4.5 px at the scales' mean).
    EXPECT_TRUE(
        InOrder(json, {"{\"figure\": \"jitter\", \"stroke\": 4, \"item\": null, \"value_px\": 5.000",
                       "{\"figure\": \"offset\", \"stroke\": null, \"item\": 0, \"value_px\": 5.000",
                       "{\"figure\": \"offset\", \"stroke\": null, \"item\": 2, \"value_px\": null"}));

    // --px-per-mm wins over the guide's size, one scale for both axes.
    r = RunReport({csv, "--px-per-mm", "10", "--json", dir.Path("b.json")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    json = ReadFile(dir.Path("b.json"));
    EXPECT_NE(json.find("\"scale_from\": \"option\""), std::string::npos);
    EXPECT_NE(Item(json, 21).find("\"max_offset_mm\": 0.447"), std::string::npos);

    // A guide of another session: an item ended when no message came.
    std::string other = s.guide;
    other.replace(other.find(",6000013,"), 9, ",6000014,");
    dir.Write("guide.csv", other);
    r = RunReport({csv});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("guide.csv does not belong to this touch.csv"), std::string::npos) << r.err;
}
