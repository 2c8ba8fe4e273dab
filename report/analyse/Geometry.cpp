#include "report/analyse/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace report {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if (a % b < 0)
        q--;
    return q;
}

std::int32_t ClampToInt32(double v) {
    if (!(v > -2147483648.0))
        return std::numeric_limits<std::int32_t>::min();
    if (v > 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    return (std::int32_t)std::floor(v + 0.5);
}

std::int64_t Cross(const FinePoint& o, const FinePoint& a, const FinePoint& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

void ConvexHull(std::vector<FinePoint>& points, std::vector<FinePoint>& hull) {
    std::sort(points.begin(), points.end(),
              [](const FinePoint& a, const FinePoint& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    std::size_t n = points.size();
    hull.resize(2 * n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; i++) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            k--;
        hull[k++] = points[i];
    }
    for (std::size_t i = n - 1, t = k + 1; i-- > 0;) {
        while (k >= t && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            k--;
        hull[k++] = points[i];
    }
    hull.resize(k > 1 ? k - 1 : k);
}

double LineFit::Deviation(const FinePoint& p) const {
    double px = Dx(origin, p) - cx, py = Dy(origin, p) - cy;
    return px * -uy + py * ux;
}

LineFit FitLine(const Moments& m, const FinePoint& origin, const std::vector<FinePoint>& extremes) {
    LineFit fit;
    fit.origin = origin;
    double n = m.n;
    fit.cx = m.sx / n;
    fit.cy = m.sy / n;
    double a = m.sxx / n - fit.cx * fit.cx, b = m.sxy / n - fit.cx * fit.cy, c = m.syy / n - fit.cy * fit.cy;
    double half = (a - c) / 2, r = std::sqrt(half * half + b * b);
    double big = (a + c) / 2 + r, small = (a + c) / 2 - r;
    if (r > 0) {
        // Either row of (A - big I) gives the axis; take the better conditioned.
        double v1x = big - c, v1y = b, v2x = b, v2y = big - a;
        double n1 = v1x * v1x + v1y * v1y, n2 = v2x * v2x + v2y * v2y;
        double vx = n1 >= n2 ? v1x : v2x, vy = n1 >= n2 ? v1y : v2y;
        double norm = std::sqrt(n1 >= n2 ? n1 : n2);
        fit.ux = vx / norm;
        fit.uy = vy / norm;
    }
    double tMin = 0, tMax = 0;
    bool first = true;
    for (const FinePoint& p : extremes) {
        double px = Dx(origin, p) - fit.cx, py = Dy(origin, p) - fit.cy;
        double d = std::fabs(px * -fit.uy + py * fit.ux), t = px * fit.ux + py * fit.uy;
        fit.maxDev = std::max(fit.maxDev, d);
        tMin = first ? t : std::min(tMin, t);
        tMax = first ? t : std::max(tMax, t);
        first = false;
    }
    fit.rmsDev = std::sqrt(small > 0 ? small : 0);
    double x0 = (double)origin.x / 100, y0 = (double)origin.y / 100;
    fit.fromX = x0 + fit.cx + tMin * fit.ux;
    fit.fromY = y0 + fit.cy + tMin * fit.uy;
    fit.toX = x0 + fit.cx + tMax * fit.ux;
    fit.toY = y0 + fit.cy + tMax * fit.uy;
    return fit;
}

} // namespace report
