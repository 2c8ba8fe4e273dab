// touch.csv: the time figures, the sub-pixel positions and the client area, on
// sessions whose answers are known by construction.
#include "ReportTestSupport.h"
#include "report/Json.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

// Contact 1 reports every 8 ms and 0.25 px to the right, with one 60 ms stall
// after its first second (time stamps wrap 500 ms in); contact 2 reports every
// 16 ms for a second, 35 px below it. Contact 1's size goes 11, 12, 13 px wide
// and 2 px more high, in turn.
struct Session {
    CCsv csv;
    std::uint64_t stallLine = 0;
    std::uint64_t secondDownLine = 0;
};

Session TwoContacts() {
    const std::uint32_t base = 4294966796u; // 2^32 - 500
    Session s;
    int k = 0;
    for (std::uint32_t t = 0; t <= 2060; t += 4) {
        bool first = t <= 1000 ? t % 8 == 0 : t >= 1060 && (t - 1060) % 8 == 0;
        bool second = t % 16 == 0 && t <= 1008;
        if (!first && !second)
            continue;
        s.csv.Message(first + second);
        if (first) {
            std::uint32_t w = 1100 + 100 * (k % 3);
            s.csv.Input(k == 0      ? "DOWN"
                        : t == 2060 ? "UP"
                                    : "MOVE",
                        1, 10000 + 25 * k, 50000, base + t, w, w + 200);
            if (t == 1060)
                s.stallLine = s.csv.LastLine();
            k++;
        }
        if (second) {
            s.csv.Input(t == 0      ? "DOWN"
                        : t == 1008 ? "UP"
                                    : "MOVE",
                        2, 10000 + 25 * (int)(t / 8), 53500, base + t);
            if (t == 0)
                s.secondDownLine = s.csv.LastLine();
        }
    }
    return s;
}

} // namespace

TEST(TimingTest, RateStallSeparationAndSizeOfTwoContacts) {
    Session session = TwoContacts();
    Report r = Analyse(session.csv.Text());
    EXPECT_EQ(r.input.format, InputFormat::TouchCsv);
    EXPECT_EQ(r.input.badLines, 0u);
    ASSERT_EQ(r.strokes.size(), 2u);
    const Stroke& one = r.strokes[0];
    EXPECT_EQ(one.points, 252u);
    EXPECT_DOUBLE_EQ(one.lengthPx, 251 * 0.25);
    EXPECT_EQ(one.durationMs, 2060u);
    EXPECT_DOUBLE_EQ(*one.rateHz, 251 * 1000.0 / 2060);
    // A second that holds the stall lacks the 6.5 reports the stall replaced.
    EXPECT_EQ(one.minRateHz, 119.0);
    EXPECT_EQ(one.maxIntervalMs, 60u);
    EXPECT_EQ(one.maxIntervalLine, session.stallLine);
    EXPECT_EQ(one.contactWPx, 12.0);
    EXPECT_EQ(one.contactHPx, 14.0);
    const Stroke& two = r.strokes[1];
    EXPECT_EQ(two.durationMs, 1008u);
    EXPECT_EQ(two.rateHz, 62.5);
    EXPECT_EQ(two.minRateHz, 63.0);
    EXPECT_FALSE(two.contactWPx);

    EXPECT_EQ(r.minStepPx, 0.25);
    ASSERT_TRUE(r.separation);
    EXPECT_EQ(r.separation->px, 35.0);
    EXPECT_EQ(r.separation->movedId, 2u);
    EXPECT_EQ(r.separation->otherId, 1u);
    EXPECT_EQ(r.separation->line, session.secondDownLine);
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
         {R"("input": "touch.csv")", R"("min_step_px": 0.250, "min_separation_px": 35.000)",
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
