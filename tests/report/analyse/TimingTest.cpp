// touch.csv: the time figures, the sub-pixel positions and the client area, on
// sessions whose answers are known by construction (what kovrin's own
// touch.csv of the same session gives back is checked under Wine).
#include "ReportTestSupport.h"
#include "TwoContacts.h"
#include "report/write/Json.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

TEST(TimingTest, RateStallSeparationAndSizeOfTwoContacts) {
    CCsv csv;
    twocontacts::Lines lines = twocontacts::Play([&](const std::vector<twocontacts::Input>& inputs) {
        csv.Message((int)inputs.size());
        for (const twocontacts::Input& in : inputs)
            csv.Input(in.phase == twocontacts::DOWN ? "DOWN"
                      : in.phase == twocontacts::UP ? "UP"
                                                    : "MOVE",
                      in.id, in.hx, in.hy, in.timeMs, in.contactW, in.contactH);
    });
    Report r = Analyse(csv.Text());
    EXPECT_EQ(r.input.format, InputFormat::TouchCsv);
    EXPECT_EQ(r.input.badLines, 0u);
    ASSERT_EQ(r.strokes.size(), 2u);
    const Stroke& one = r.strokes[0];
    EXPECT_EQ(one.points, 252u);
    EXPECT_DOUBLE_EQ(one.lengthPx, 251 * 0.25);
    EXPECT_EQ(one.durationMs, 2060u);
    EXPECT_DOUBLE_EQ(*one.rateHz, 251 * 1000.0 / 2060);
    EXPECT_EQ(one.maxIntervalLine, lines.stall);
    const Stroke& two = r.strokes[1];
    EXPECT_EQ(two.durationMs, 1008u);
    EXPECT_EQ(two.rateHz, 62.5);
    EXPECT_EQ(two.minRateHz, 63.0);
    EXPECT_FALSE(two.contactWPx);

    // 250 intervals of 8 ms, 63 of 16 and the stall.
    ASSERT_TRUE(r.intervals);
    EXPECT_EQ(r.intervals->count, 314u);
    EXPECT_EQ(r.intervals->medianMs, 8u);
    EXPECT_EQ(r.intervals->p95Ms, 16u);
    EXPECT_EQ(r.intervals->p99Ms, 16u);
    EXPECT_EQ(r.intervals->maxMs, 60u);
    // The whole client area is covered, reported or not.
    EXPECT_EQ(r.coverage.columns, 48);
    EXPECT_EQ(r.coverage.rows, 27);

    std::string json = FormatJson(r, Options(), Judge(r, Options()));
    for (const char* part :
         {R"("input": "touch.csv")", R"("client_w": 1920, "client_h": 1080)",
          R"("min_step_px": 0.250, "min_separation_px": 35.000, "min_separation_ids": [2, 1])",
          R"("intervals": {"count": 314, "median_ms": 8, "p95_ms": 16, "p99_ms": 16, "max_ms": 60})",
          R"("duration_ms": 2060, "rate_hz": 121.845, "min_rate_hz": 119, "max_interval_ms": 60)",
          R"("contact_w_px": 12.000, "contact_h_px": 14.000})"})
        EXPECT_NE(json.find(part), std::string::npos) << part;
}

TEST(TimingTest, TimeGoingBackIsAnAnomalyAndItsIntervalIsLeftOut) {
    CCsv csv;
    for (std::uint32_t t : {100u, 108u, 104u, 112u})
        csv.Message(1).Input(t == 100 ? "DOWN" : t == 112 ? "UP" : "MOVE", 5, 0, 0, t);
    Report r = Analyse(csv.Text());
    EXPECT_EQ(r.backwards, 1u);
    ASSERT_EQ(r.anomalies.size(), 1u);
    EXPECT_EQ(r.anomalies[0].kind, AnomalyKind::Backwards);
    EXPECT_EQ(r.anomalies[0].line, 4u);
    ASSERT_EQ(r.strokes.size(), 1u);
    EXPECT_EQ(r.strokes[0].durationMs, 16u); // 8 + 8: the step back counts nothing
    EXPECT_EQ(r.intervals->count, 2u);
}
