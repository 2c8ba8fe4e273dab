// The verdict, on strokes whose figures are set by hand: where a figure's
// limit lies, and which failures lead the page.
#include "report/judge/Verdict.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

Stroke WithFigures(std::optional<double> jitter, std::optional<double> deviation, double maxStep) {
    Stroke s;
    s.points = 2;
    s.jitterPx = jitter;
    s.lineMaxDevPx = deviation;
    s.maxStepPx = maxStep;
    return s;
}

} // namespace

TEST(VerdictTest, AFigureAtItsLimitHoldsAndJustBeyondItFails) {
    Report r;
    Stroke single = WithFigures(0, std::nullopt, 0); // no step, so no gap to judge
    single.points = 1;
    r.strokes = {WithFigures(5, std::nullopt, 1), WithFigures(std::nullopt, 3, 40), single};
    Options o;
    EXPECT_EQ(Judge(r, o).outcome, Outcome::NotJudged);

    o.maxJitterPx = 5;
    o.maxDeviationPx = 3;
    o.maxGapPx = 40;
    Verdict v = Judge(r, o);
    EXPECT_EQ(v.outcome, Outcome::Pass);
    EXPECT_TRUE(v.failures.empty());
    ASSERT_EQ(v.figures.size(), 3u);
    EXPECT_EQ(v.figures[0].judged, 2u);
    EXPECT_EQ(v.figures[2].judged, 2u);
    EXPECT_EQ(v.figures[2].worst, 1u);

    o.maxGapPx = 39.5;
    v = Judge(r, o);
    EXPECT_EQ(v.outcome, Outcome::Fail);
    ASSERT_EQ(v.failures.size(), 1u);
    EXPECT_EQ(v.failures[0].figure, Figure::Gap);
    EXPECT_EQ(v.failures[0].stroke, 1u);
    EXPECT_EQ(v.failures[0].Excess(), 0.5);
    EXPECT_TRUE(v.Fails(1, Figure::Gap));
    EXPECT_FALSE(v.Fails(0, Figure::Gap));
}

TEST(VerdictTest, TheShortListLeadsWithTheWorstAndHoldsEachFiguresWorst) {
    // Twenty gaps 1 to 20 % over their limit, a deviation 50 % over, a jitter 5 % over.
    Report r;
    for (int k = 1; k <= 20; k++)
        r.strokes.push_back(WithFigures(std::nullopt, std::nullopt, 100 + k));
    r.strokes.push_back(WithFigures(std::nullopt, 3, 1));
    r.strokes.push_back(WithFigures(2.1, std::nullopt, 1));
    Options o;
    o.maxGapPx = 100;
    o.maxDeviationPx = 2;
    o.maxJitterPx = 2;
    Verdict v = Judge(r, o);
    ASSERT_EQ(v.failures.size(), 22u);
    ASSERT_EQ(v.worstFirst.size(), WORST_LISTED);
    auto at = [&](std::size_t k) { return v.failures[v.worstFirst[k]]; };
    EXPECT_EQ(at(0).figure, Figure::Deviation);
    for (std::size_t k = 1; k + 1 < WORST_LISTED; k++) {
        EXPECT_EQ(at(k).figure, Figure::Gap) << k;
        EXPECT_EQ(at(k).stroke, 20 - k) << k; // 20 %, 19 %, ...
    }
    EXPECT_EQ(at(WORST_LISTED - 1).figure, Figure::Jitter);
}
