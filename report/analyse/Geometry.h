// Plane geometry of the strokes: the convex hull that stands in for a long
// stroke's points, and the total-least-squares line through a stroke. Exact
// where it can be: hull tests in int64, the fit with + - * / and sqrt only,
// so every build gets the same bits.
#pragma once

#include "report/analyse/Report.h"

#include <cstdint>
#include <vector>

namespace report {

// A position in hundredths of a pixel: the platform's own precision.
struct FinePoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// a / b rounded toward minus infinity (b > 0).
std::int64_t FloorDiv(std::int64_t a, std::int64_t b);

// The nearest int32, saturating; NaN gives the smallest.
std::int32_t ClampToInt32(double v);

// Cross product of (a - o) and (b - o); exact while coordinates differ by
// less than 2^30.
std::int64_t Cross(const FinePoint& o, const FinePoint& a, const FinePoint& b);

// Andrew's monotone chain: sorts `points` and writes their hull to `hull`,
// counter-clockwise, without collinear points.
void ConvexHull(std::vector<FinePoint>& points, std::vector<FinePoint>& hull);

// Sums of the points of a stroke in pixels, relative to its first point.
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

// The orthogonal (total-least-squares) line of a stroke, in pixels: through
// the centroid along the principal axis of the points' covariance.
struct LineFit {
    FinePoint origin; // the point the moments are relative to
    double cx = 0;    // centroid, relative to origin
    double cy = 0;
    double ux = 1; // unit direction of the line
    double uy = 0;
    double rmsDev = 0; // RMS perpendicular distance of all points
    double maxDev = 0; // largest perpendicular distance of the extreme points
    // The line over the extreme points' projections, in pixels in the
    // points' frame.
    double fromX = 0, fromY = 0, toX = 0, toY = 0;

    // Signed perpendicular distance of p from the line.
    double Deviation(const FinePoint& p) const;
};

// Fits the line to the points summed in `moments` (relative to `origin`);
// maxDev, from and to come from `extremes`, which must hold every point the
// largest distance and the extreme projections can come from (all points,
// or their hull).
LineFit FitLine(const Moments& moments, const FinePoint& origin, const std::vector<FinePoint>& extremes);

// The distance from `from` to `to` in pixels along each axis. A multiple of
// 100 hundredths times 0.01 is its whole number of pixels to the last bit, so
// whole pixels give the same bits as pixel arithmetic; a product costs less
// than a quotient, and this runs for every point.
inline double Dx(const FinePoint& from, const FinePoint& to) {
    return (double)(to.x - from.x) * 0.01;
}
inline double Dy(const FinePoint& from, const FinePoint& to) {
    return (double)(to.y - from.y) * 0.01;
}

} // namespace report
