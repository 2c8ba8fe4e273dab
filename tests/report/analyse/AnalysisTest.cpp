// The figures on logs whose answers are known by construction.
#include "ReportTestSupport.h"
#include "report/analyse/CoverageGrid.h"
#include "report/judge/Verdict.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace report;
using namespace reporttest;

namespace {

// A stroke of `points.size()` inputs, one message each.
std::string Stroke1(std::uint32_t id, const std::vector<Point>& points, bool lift = true) {
    std::string log;
    for (std::size_t i = 0; i < points.size(); i++) {
        bool last = i + 1 == points.size();
        log += Count(1);
        if (i == 0)
            log += Down(id, points[i].x, points[i].y);
        else if (last && lift)
            log += Up(id, points[i].x, points[i].y);
        else
            log += Move(id, points[i].x, points[i].y);
    }
    return log;
}

// The one stroke of a log; an empty one, and a failure, when there are more or fewer.
Stroke OnlyStroke(const std::string& log, const Options& options = {}) {
    Report r = Analyse(log, options);
    if (r.strokes.size() == 1)
        return r.strokes[0];
    ADD_FAILURE() << r.strokes.size() << " strokes";
    return Stroke();
}

} // namespace

TEST(AnalysisTest, StepsLengthAndBoxOfAStroke) {
    // Steps of (3, 4), then one gap of (30, 40).
    Report r = Analyse(Stroke1(7, {{10, 20}, {13, 24}, {16, 28}, {46, 68}, {49, 72}}));
    ASSERT_EQ(r.strokes.size(), 1u);
    const Stroke& s = r.strokes[0];
    EXPECT_EQ(s.id, 7u);
    EXPECT_EQ(s.points, 5u);
    EXPECT_DOUBLE_EQ(s.lengthPx, 65.0);
    EXPECT_DOUBLE_EQ(s.maxStepPx, 50.0);
    EXPECT_DOUBLE_EQ(s.meanStepPx, 65.0 / 4);
    EXPECT_EQ(s.min.x, 10);
    EXPECT_EQ(s.min.y, 20);
    EXPECT_EQ(s.max.x, 49);
    EXPECT_EQ(s.max.y, 72);
    EXPECT_EQ(s.firstLine, 2u);
    EXPECT_EQ(s.lastLine, 10u);
    EXPECT_TRUE(s.lifted);
    EXPECT_EQ(r.messages, 5u);
    EXPECT_EQ(r.inputs, 5u);
    EXPECT_TRUE(r.anomalies.empty());

    // The smallest step is no repeated point, before a larger step or in a
    // stroke of its own.
    r = Analyse(Stroke1(8, {{0, 0}, {3, 4}, {3, 4}, {33, 44}}) + Stroke1(8, {{0, 0}, {0, 0}}) +
                Stroke1(8, {{0, 0}, {30, 40}}));
    EXPECT_EQ(r.minStepPx, 5.0);
}

TEST(AnalysisTest, LineFitFindsAKnownPerpendicularOffsetPattern) {
    // Points every 5 px along (a, b), steep or shallow, pushed off the line
    // by +d, -d, -d, +d (d = 10) across (-b, a): the pattern is balanced, so
    // the fitted line is the undisturbed one and every point lies d from it.
    const int m = 2; // d = 5 * m
    const int signs[4] = {1, -1, -1, 1};
    std::vector<Point> points;
    for (auto [a, b] : {std::pair{3, 4}, {4, 3}}) {
        points.clear();
        for (int i = 0; i < 400; i++) {
            int s = signs[i % 4];
            points.push_back({100 + a * i - b * m * s, 50 + b * i + a * m * s});
        }
        Report r = Analyse(Stroke1(3, points));
        ASSERT_EQ(r.strokes.size(), 1u);
        const Stroke& s = r.strokes[0];
        ASSERT_TRUE(s.lineMaxDevPx);
        EXPECT_NEAR(*s.lineMaxDevPx, 10.0, 1e-9) << a;
        EXPECT_NEAR(*s.lineRmsDevPx, 10.0, 1e-9);
        EXPECT_FALSE(s.jitterPx);
        // The fitted line spans the projections of the end points.
        EXPECT_EQ(s.lineFrom.x, 100);
        EXPECT_EQ(s.lineFrom.y, 50);
        EXPECT_EQ(s.lineTo.x, 100 + a * 399);
        EXPECT_EQ(s.lineTo.y, 50 + b * 399);
        ASSERT_EQ(s.deviation.size(), s.drawn.size());
        EXPECT_NEAR(std::fabs(s.deviation[0]), 10.0, 1e-4);
        EXPECT_NEAR(s.deviation[0], -s.deviation[1], 1e-4);
    }

    // Too short from end to end to be judged as a line; exactly as long is one.
    Options o;
    o.minLineLengthPx = 5 * 400;
    EXPECT_FALSE(OnlyStroke(Stroke1(3, points), o).lineMaxDevPx);
    o.minLineLengthPx = 5 * 399;
    EXPECT_TRUE(OnlyStroke(Stroke1(3, points), o).lineMaxDevPx);

    // y = 0, 1, 1 at every x from 0 to 190: the fit is y = 2/3, its ends rounded to (0, 1) and (190, 1).
    points.clear();
    for (int i = 0; i < 60; i++)
        points.push_back({10 * (i / 3), i % 3 != 0 ? 1 : 0});
    Stroke s2 = OnlyStroke(Stroke1(4, points));
    ASSERT_TRUE(s2.lineMaxDevPx);
    EXPECT_NEAR(*s2.lineMaxDevPx, 2.0 / 3, 1e-9);
    EXPECT_EQ(s2.lineFrom.x, 0);
    EXPECT_EQ(s2.lineFrom.y, 1);
    EXPECT_EQ(s2.lineTo.x, 190);
    EXPECT_EQ(s2.lineTo.y, 1);
}

TEST(AnalysisTest, ALongStrokeKeepsItsExtremesExactAndADecimatedDrawing) {
    // About 20000 points along y = 1000, pushed off in balanced groups (the
    // fit stays y = 1000): +a, -a, -a, +a with a from 0 to 5, and early on,
    // far behind the points an open stroke keeps whole, one group
    // +2b, -b, -b, -b, -b, +2b with b = 5: the largest distance, 10, lies on
    // one side only; `side` flips it.
    for (int side : {1, -1}) {
        std::vector<Point> points;
        double squares = 0;
        unsigned seed = 1;
        while (points.size() < 20000) {
            int i = (int)points.size();
            seed = seed * 1103515245 + 12345;
            std::vector<int> offsets;
            if (i == 1200) {
                offsets = {10, -5, -5, -5, -5, 10};
            } else {
                int a = (int)(seed >> 16) % 6;
                offsets = {a, -a, -a, a};
            }
            for (int o : offsets) {
                points.push_back({(int)points.size(), 1000 + side * o});
                squares += (double)o * o;
            }
        }
        int last = (int)points.size() - 1;
        Stroke s = OnlyStroke(Stroke1(1, points));
        ASSERT_TRUE(s.lineMaxDevPx);
        EXPECT_NEAR(*s.lineMaxDevPx, 10.0, 1e-9) << side;
        EXPECT_NEAR(*s.lineRmsDevPx, std::sqrt(squares / points.size()), 1e-6);
        EXPECT_EQ(s.lineFrom.x, 0);
        EXPECT_EQ(s.lineTo.x, last);
        EXPECT_EQ(s.lineFrom.y, 1000);
        EXPECT_EQ(s.lineTo.y, 1000);
        EXPECT_LE(s.drawn.size(), DRAWN_POINTS_PER_STROKE + 1);
        EXPECT_GE(s.drawn.size(), DRAWN_POINTS_PER_STROKE / 2);
        EXPECT_EQ(s.drawn.front().x, 0);
        EXPECT_EQ(s.drawn.back().x, last);
        EXPECT_EQ(s.deviation.size(), s.drawn.size());
    }
}

TEST(AnalysisTest, JitterIsTheRadiusOfPointsOnACircleAroundTheDown) {
    std::vector<Point> points = {{500, 500}, {503, 504}, {495, 500}, {496, 497},
                                 {500, 505}, {504, 503}, {500, 495}};
    Stroke s = OnlyStroke(Stroke1(9, points));
    ASSERT_TRUE(s.jitterPx);
    EXPECT_DOUBLE_EQ(*s.jitterPx, 5.0);
    EXPECT_FALSE(s.lineMaxDevPx);

    Options o;
    o.stationaryExtentPx = 4.9;
    EXPECT_FALSE(OnlyStroke(Stroke1(9, points), o).jitterPx);
    o.stationaryExtentPx = 5;
    EXPECT_TRUE(OnlyStroke(Stroke1(9, points), o).jitterPx);

    // One point: stationary without jitter, and no line even when any length makes one.
    o.minLineLengthPx = 0;
    s = OnlyStroke(Count(1) + Down(4, 10, 10), o);
    ASSERT_TRUE(s.jitterPx);
    EXPECT_EQ(*s.jitterPx, 0.0);
    EXPECT_FALSE(s.lineMaxDevPx);
}

TEST(AnalysisTest, StuckGhostRedownAndSinglePointContactsAreFlaggedAtTheirLines) {
    std::string log = Count(2) + Down(1, 0, 0) + Down(2, 100, 100) // lines 1-3
                      + Count(1) + Move(3, 900, 900)               // 4-5: ghost
                      + Count(1) + Up(2, 110, 100)                 // 6-7
                      + Count(1) + Up(2, 120, 100)                 // 8-9: ghost
                      + Count(1) + Down(5, 50, 50)                 // 10-11: single point, ended by
                      + Count(1) + Down(5, 60, 50)                 // 12-13: redown
                      + Count(1) + Up(5, 70, 50);                  // 14-15
    Report r = Analyse(log);
    EXPECT_EQ(r.stuck, 1u);
    EXPECT_EQ(r.ghosts, 2u);
    EXPECT_EQ(r.redowns, 1u);
    EXPECT_EQ(r.singlePoints, 2u); // the redown one and the stuck one
    ASSERT_EQ(r.anomalies.size(), 6u);
    auto expect = [&](std::size_t i, AnomalyKind kind, std::uint32_t id, std::uint64_t line) {
        EXPECT_EQ(r.anomalies[i].kind, kind) << i;
        EXPECT_EQ(r.anomalies[i].id, id) << i;
        EXPECT_EQ(r.anomalies[i].line, line) << i;
    };
    expect(0, AnomalyKind::Stuck, 1, 2);
    expect(1, AnomalyKind::SinglePoint, 1, 2);
    expect(2, AnomalyKind::Ghost, 3, 5);
    expect(3, AnomalyKind::Ghost, 2, 9);
    expect(4, AnomalyKind::SinglePoint, 5, 11);
    expect(5, AnomalyKind::Redown, 5, 13);

    // Strokes in order of their DOWN; the ended ones neither lifted nor stuck.
    ASSERT_EQ(r.strokes.size(), 4u);
    EXPECT_EQ(r.strokes[0].id, 1u);
    EXPECT_FALSE(r.strokes[0].lifted);
    EXPECT_EQ(r.strokes[1].id, 2u);
    EXPECT_EQ(r.strokes[1].points, 2u);
    EXPECT_TRUE(r.strokes[1].lifted);
    EXPECT_EQ(r.strokes[2].points, 1u);
    EXPECT_FALSE(r.strokes[2].lifted);
    EXPECT_EQ(r.strokes[2].lastLine, 11u);
    EXPECT_EQ(r.strokes[3].firstLine, 13u);
    EXPECT_EQ(r.strokes[3].points, 2u);
    EXPECT_EQ(r.maxContacts, 2u);

    // Ghost points are no part of the seen area.
    EXPECT_EQ(r.coverage.columns, 3); // x 0..110 in 40 px cells; the ghost UP was at 120
    EXPECT_EQ(r.coverage.rows, 3);

    // A stuck contact that moved is flagged at its DOWN, not at its last move.
    r = Analyse(Count(1) + Down(6, 0, 0) + Count(1) + Move(6, 1, 1));
    ASSERT_EQ(r.anomalies.size(), 1u);
    EXPECT_EQ(r.anomalies[0].line, 2u);
}

TEST(AnalysisTest, DroppedInputsAreWhatCountLinesAnnouncedBeyondTheLines) {
    std::string log = Count(17);
    for (std::uint32_t id = 0; id < 15; id++)
        log += Down(id, 0, 0);
    log += Count(3) + Move(1, 1, 1) + Count(2) + Move(1, 2, 2) + Move(2, 2, 2) + Count(0) + Count(65535);
    Report r = Analyse(log);
    EXPECT_EQ(r.messages, 5u);
    EXPECT_EQ(r.inputs, 18u);
    EXPECT_EQ(r.droppedMessages, 3u);
    EXPECT_EQ(r.droppedInputs, 2u + 2u + 65535u);
    EXPECT_EQ(r.maxContacts, 15u);
}

TEST(AnalysisTest, CoverageCountsPointsPerCellAndFindsTheOneEmptyCell) {
    // A sweep over 5 x 4 cells of 40 px, two points per cell, except cell
    // (column 3, row 2).
    std::vector<Point> points;
    for (int row = 0; row < 4; row++)
        for (int column = 0; column < 5; column++)
            if (!(column == 3 && row == 2)) {
                points.push_back({column * 40 + 5, row * 40 + 5});
                points.push_back({column * 40 + 39, row * 40 + 39});
            }
    Report r = Analyse(Stroke1(1, points));
    const Coverage& c = r.coverage;
    EXPECT_EQ(c.cellPx, 40);
    EXPECT_EQ(c.origin.x, 0);
    EXPECT_EQ(c.origin.y, 0);
    EXPECT_EQ(c.columns, 5);
    EXPECT_EQ(c.rows, 4);
    ASSERT_EQ(c.counts.size(), 20u);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(c.counts[i], i == 13 ? 0u : 2u) << i;
    EXPECT_EQ(c.emptyCells, (std::vector<std::int32_t>{13}));

    // Cells sit on multiples of the cell size, negative positions included.
    Options o;
    o.cellPx = 10;
    r = Analyse(Stroke1(1, {{-15, -1}, {4, 0}}), o);
    EXPECT_EQ(r.coverage.origin.x, -20);
    EXPECT_EQ(r.coverage.origin.y, -10);
    EXPECT_EQ(r.coverage.columns, 3);
    EXPECT_EQ(r.coverage.counts, (std::vector<std::uint64_t>{1, 0, 0, 0, 0, 1}));

    EXPECT_EQ(Analyse(Count(0)).coverage.columns, 0);
}

TEST(AnalysisTest, CoverageOfTheWholeCoordinateRangeEnlargesItsCells) {
    Report r = Analyse(Stroke1(1, {{INT32_MIN, INT32_MIN}, {0, 0}, {INT32_MAX, INT32_MAX}, {INT32_MAX, 7}}));
    const Coverage& c = r.coverage;
    EXPECT_EQ(c.requestedCellPx, 40);
    EXPECT_GT(c.cellPx, 40);
    EXPECT_LE((std::int64_t)c.columns * c.rows, MAX_COVERAGE_CELLS);
    EXPECT_GE((std::int64_t)c.columns * c.cellPx, (std::int64_t)UINT32_MAX); // still covers it all
    std::uint64_t total = 0;
    for (std::uint64_t n : c.counts)
        total += n;
    EXPECT_EQ(total, 4u);
    EXPECT_EQ(c.counts.front(), 1u);
    EXPECT_EQ(c.counts.back(), 1u);
    EXPECT_EQ(c.origin.x, INT32_MIN);

    // Exactly 1000 x 1000 cells keep their size; one column more doubles it.
    EXPECT_EQ(Analyse(Stroke1(1, {{0, 0}, {999 * 40, 999 * 40}})).coverage.cellPx, 40);
    EXPECT_EQ(Analyse(Stroke1(1, {{0, 0}, {1000 * 40, 999 * 40}})).coverage.cellPx, 80);
}

TEST(AnalysisTest, MemoryBoundsKeepCountsExact) {
    // More contacts down at once than are followed: the oldest is taken as
    // stuck, with a note.
    std::string log;
    for (std::uint32_t id = 0; id <= (std::uint32_t)MAX_OPEN_STROKES; id++)
        log += Down(id, 1, 1);
    Report r = Analyse(log);
    EXPECT_EQ(r.maxContacts, (std::uint64_t)MAX_OPEN_STROKES);
    EXPECT_EQ(r.stuck, (std::uint64_t)MAX_OPEN_STROKES + 1);
    EXPECT_EQ(r.StrokeCount(), (std::uint64_t)MAX_OPEN_STROKES + 1);
    ASSERT_FALSE(r.diagnostics.empty());
    EXPECT_EQ(r.diagnostics[0].line, (std::uint64_t)MAX_OPEN_STROKES + 1);
    EXPECT_NE(r.diagnostics[0].text.find("contact 0 (down since line 1) is taken as stuck"),
              std::string::npos);
}

TEST(AnalysisTest, DrawnCopiesStayWithinTheirTotalKeepingEndsAndDeviations) {
    // 300 straight strokes of 2000 points: 600000 points to draw.
    std::string log;
    for (std::uint32_t id = 0; id < 300; id++) {
        log += Down(id, 0, (std::int32_t)id);
        for (int i = 1; i < 1999; i++)
            log += Move(id, i, (std::int32_t)id + (i % 4 == 1 || i % 4 == 2 ? 1 : 0));
        log += Up(id, 1999, (std::int32_t)id);
    }
    Report r = Analyse(log);
    ASSERT_EQ(r.strokes.size(), 300u);
    std::size_t total = 0;
    for (const Stroke& s : r.strokes) {
        total += s.drawn.size();
        EXPECT_EQ(s.drawn.front().x, 0);
        EXPECT_EQ(s.drawn.back().x, 1999);
        EXPECT_EQ(s.deviation.size(), s.drawn.size());
        EXPECT_TRUE(std::is_sorted(s.drawn.begin(), s.drawn.end(),
                                   [](const Point& a, const Point& b) { return a.x < b.x; }));
    }
    EXPECT_LE(total, DRAWN_POINTS_TOTAL);
    EXPECT_GE(total, DRAWN_POINTS_TOTAL / 4);
    EXPECT_EQ(r.strokes.back().drawn.size(), r.strokes.front().drawn.size()); // thinned alike
}

TEST(AnalysisTest, PastTheKeptStrokesOnlyFailingOnesAreKeptAndAllAreCounted) {
    std::string log;
    const std::uint32_t strokes = (std::uint32_t)MAX_KEPT_STROKES + 10;
    for (std::uint32_t id = 0; id < strokes; id++) {
        bool gap = id == 3 || id == strokes - 4; // one kept anyway, one past the bound
        log += Down(id, 0, 0) + Up(id, gap ? 50 : 5, 0);
    }
    // Two more past the bound that end in the reverse order of their DOWN.
    log += Down(strokes, 0, 0) + Down(strokes + 1, 0, 0) + Up(strokes + 1, 50, 0) + Up(strokes, 50, 0);
    Options o;
    o.maxGapPx = 10;
    Report r = Analyse(log, o);
    EXPECT_EQ(r.StrokeCount(), strokes + 2);
    ASSERT_EQ(r.strokes.size(), MAX_KEPT_STROKES + 3);
    EXPECT_EQ(r.omittedStrokes, 9u);
    EXPECT_EQ(r.strokes[MAX_KEPT_STROKES].id, strokes - 4);
    EXPECT_EQ(r.strokes[MAX_KEPT_STROKES + 1].id, strokes); // in DOWN order
    EXPECT_EQ(r.strokes[MAX_KEPT_STROKES + 2].id, strokes + 1);
    Verdict v = Judge(r, o);
    ASSERT_EQ(v.failures.size(), 4u);
    EXPECT_EQ(r.strokes[v.failures[1].stroke].id, strokes - 4);
}
