// The line fit and the hull on their own, on point sets whose answers are
// known by construction.
#include "report/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace report;

TEST(GeometryTest, AVerticalLineIsFittedAsWellAsAnyOther) {
    // x = 50 +- 3 in turn (+, -, -, +), y from 0 to 390: the fit is x = 50.
    const int offsets[4] = {3, -3, -3, 3};
    std::vector<Point> points;
    Moments m;
    for (int i = 0; i < 40; i++) {
        points.push_back({50 + offsets[i % 4], 10 * i});
        m.Add(points.back().x - points[0].x, points.back().y - points[0].y);
    }
    LineFit fit = FitLine(m, points[0], points);
    EXPECT_NEAR(std::fabs(fit.uy), 1.0, 1e-12);
    EXPECT_NEAR(fit.maxDev, 3.0, 1e-9);
    EXPECT_NEAR(fit.rmsDev, 3.0, 1e-9);
    EXPECT_EQ(fit.from.x, 50);
    EXPECT_EQ(fit.to.x, 50);
    EXPECT_EQ(std::min(fit.from.y, fit.to.y), 0);
    EXPECT_EQ(std::max(fit.from.y, fit.to.y), 390);
    EXPECT_NEAR(std::fabs(fit.Deviation({47, 200})), 3.0, 1e-9);
}

TEST(GeometryTest, TheHullKeepsTheCornersAndDropsWhatLiesInsideOrOnAnEdge) {
    std::vector<Point> points = {{0, 0}, {5, 0}, {10, 0}, {10, 10}, {3, 4}, {0, 10}, {5, 10}, {0, 5}};
    std::vector<Point> hull;
    ConvexHull(points, hull);
    ASSERT_EQ(hull.size(), 4u);
    EXPECT_EQ(Cross(hull[0], hull[1], hull[2]) > 0, true); // counter-clockwise
    for (const Point& corner : std::vector<Point>{{0, 0}, {10, 0}, {10, 10}, {0, 10}})
        EXPECT_EQ(std::count_if(hull.begin(), hull.end(),
                                [&](const Point& p) { return p.x == corner.x && p.y == corner.y; }),
                  1);
}
