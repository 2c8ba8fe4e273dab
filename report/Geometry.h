// Plane geometry of the strokes: the convex hull that stands in for a long
// stroke's points, and the total-least-squares line through a stroke. Exact
// where it can be: hull tests in int64, the fit with + - * / and sqrt only,
// so every build gets the same bits.
#pragma once

#include "report/Report.h"

#include <cstdint>
#include <vector>

namespace report {

// a / b rounded toward minus infinity (b > 0).
std::int64_t FloorDiv(std::int64_t a, std::int64_t b);

// The nearest int32, saturating; NaN gives the smallest.
std::int32_t ClampToInt32(double v);

// Cross product of (a - o) and (b - o); exact while coordinates differ by
// less than 2^30.
std::int64_t Cross(const Point& o, const Point& a, const Point& b);

// Andrew's monotone chain: sorts `points` and writes their hull to `hull`,
// counter-clockwise, without collinear points.
void ConvexHull(std::vector<Point>& points, std::vector<Point>& hull);

// Sums of the points of a stroke, relative to its first point.
struct Moments {
    double n = 0;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;

    void Add(double dx, double dy) {
        n += 1;
        sx += dx;
        sy += dy;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
};

// The orthogonal (total-least-squares) line of a stroke: through the centroid
// along the principal axis of the points' covariance.
struct LineFit {
    Point origin;  // the point the moments are relative to
    double cx = 0; // centroid, relative to origin
    double cy = 0;
    double ux = 1; // unit direction of the line
    double uy = 0;
    double rmsDev = 0; // RMS perpendicular distance of all points
    double maxDev = 0; // largest perpendicular distance of the extreme points
    Point from, to;    // the line over the extreme points' projections

    // Signed perpendicular distance of p from the line.
    double Deviation(const Point& p) const;
};

// Fits the line to the points summed in `moments` (relative to `origin`);
// maxDev, from and to come from `extremes`, which must hold every point the
// largest distance and the extreme projections can come from (all points,
// or their hull).
LineFit FitLine(const Moments& moments, const Point& origin, const std::vector<Point>& extremes);

} // namespace report
