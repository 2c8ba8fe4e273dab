// The line fit and the hull on their own, on point sets whose answers are
// known by construction. Positions are in hundredths of a pixel.
#include "report/analyse/Geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace report;

TEST(GeometryTest, AVerticalLineIsFittedAsWellAsAnyOther) {
    // x = 50 px +- 0.25 px in turn (+, -, -, +), y from 0 to 39 px: the fit is x = 50.
    const int offsets[4] = {25, -25, -25, 25};
    std::vector<FinePoint> points;
    Moments m;
    for (int i = 0; i < 40; i++) {
        points.push_back({5000 + offsets[i % 4], 100 * i});
        m.Add(Dx(points[0], points.back()), Dy(points[0], points.back()));
    }
    LineFit fit = FitLine(m, points[0], points);
    EXPECT_NEAR(std::fabs(fit.uy), 1.0, 1e-12);
    EXPECT_NEAR(fit.maxDev, 0.25, 1e-9);
    EXPECT_NEAR(fit.rmsDev, 0.25, 1e-9);
    EXPECT_NEAR(fit.fromX, 50, 1e-9);
    EXPECT_NEAR(fit.toX, 50, 1e-9);
    EXPECT_NEAR(std::min(fit.fromY, fit.toY), 0, 1e-9);
    EXPECT_NEAR(std::max(fit.fromY, fit.toY), 39, 1e-9);
    EXPECT_NEAR(std::fabs(fit.Deviation({4975, 2000})), 0.25, 1e-9);
}

TEST(GeometryTest, TheHullKeepsTheCornersAndDropsWhatLiesInsideOrOnAnEdge) {
    std::vector<FinePoint> points = {{0, 0}, {5, 0}, {10, 0}, {10, 10}, {3, 4}, {0, 10}, {5, 10}, {0, 5}};
    std::vector<FinePoint> hull;
    ConvexHull(points, hull);
    ASSERT_EQ(hull.size(), 4u);
    EXPECT_GT(Cross(hull[0], hull[1], hull[2]), 0); // counter-clockwise
    for (FinePoint corner : {FinePoint{0, 0}, FinePoint{10, 0}, FinePoint{10, 10}, FinePoint{0, 10}})
        EXPECT_EQ(std::count_if(hull.begin(), hull.end(),
                                [&](const FinePoint& p) { return p.x == corner.x && p.y == corner.y; }),
                  1);
}
