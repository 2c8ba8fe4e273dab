// The page's close-ups: each line stroke's distance from its fit, each stationary contact's points.
#include "report/write/page/HtmlParts.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr std::size_t MAX_CHARTS = 50; // line charts, and as many jitter charts
constexpr std::size_t MAX_CHART_POINTS = 2000;

// The signed distance of a line stroke's points from its fitted line, along the stroke.
void WriteDeviationChart(CHtml& h, const Stroke& s, const Options& options, bool failed) {
    constexpr int W = 640, H = 200, MID = H / 2, AMPLITUDE = 80;
    ChartHead(h, s, failed, false);
    h << "<br>length " << Value(s.lengthPx, Unit::Px, 1, options) << "<br><span class=\""
      << (failed ? "bad" : "") << "\">max " << Value(*s.lineMaxDevPx, Unit::Px, 2, options) << "</span>";
    if (s.lineRmsDevPx)
        h << "<br>RMS " << Value(*s.lineRmsDevPx, Unit::Px, 2, options);
    h << "</figcaption>";

    double range = std::max(*s.lineMaxDevPx, 0.0);
    for (float d : s.deviation)
        if (std::isfinite(d))
            range = std::max(range, (double)std::fabs(d));
    if (options.maxDeviationPx)
        range = std::max(range, *options.maxDeviationPx);
    range = std::max(range * 1.1, 0.5);
    auto yOf = [&](double d) {
        double y = MID - d / range * AMPLITUDE;
        return (std::int64_t)std::lround(std::clamp(y, 0.0, (double)H));
    };

    h << "<svg width=\"292\" height=\"92\" viewBox=\"0 0 " << W << ' ' << H << "\" role=\"img\" "
      << "aria-label=\"deviation from the fitted line\"><path class=\"axis\" d=\"M0 " << MID << "H" << W
      << "\"/>";
    if (options.maxDeviationPx)
        h << "<path class=\"lim\" d=\"M0 " << yOf(*options.maxDeviationPx) << "H" << W << "M0 "
          << yOf(-*options.maxDeviationPx) << "H" << W << "\"/>";
    std::string path;
    std::size_t n = s.deviation.size();
    auto add = [&](std::int64_t x, std::int64_t y) {
        path += path.empty() ? 'M' : 'L';
        AppendInteger(path, x);
        path += ' ';
        AppendInteger(path, y);
    };
    if (n == 1) {
        add(0, yOf(s.deviation[0]));
        add(W, yOf(s.deviation[0]));
    } else if (n <= (std::size_t)W) {
        for (std::size_t i = 0; i < n; i++)
            add((std::int64_t)(i * W / (n - 1)), yOf(s.deviation[i]));
    } else {
        // More samples than columns: the range of each column.
        for (std::size_t column = 0; column < (std::size_t)W; column++) {
            std::size_t from = column * n / W, to = std::max(from + 1, (column + 1) * n / W);
            float lo = s.deviation[from], hi = lo;
            for (std::size_t i = from; i < to; i++) {
                lo = std::min(lo, s.deviation[i]);
                hi = std::max(hi, s.deviation[i]);
            }
            add((std::int64_t)column, yOf(hi));
            add((std::int64_t)column, yOf(lo));
        }
    }
    if (!path.empty())
        h << "<path class=\"dev k" << SlotClass(s.slot) << "\" d=\"" << path << "\"/>";
    h << "<g class=\"gl\" font-size=\"20\"><text x=\"4\" y=\"20\">+" << Fixed(range, 2)
      << " px</text><text x=\"4\" y=\"" << H - 6 << "\">&minus;" << Fixed(range, 2) << " px</text><text x=\""
      << W - 30 << "\" y=\"" << MID - 6 << "\">fit</text></g></svg></figure>";
}

// A stationary contact close up: its points around the DOWN and the jitter circle.
void WriteJitterChart(CHtml& h, const Stroke& s, const Options& options, bool failed) {
    constexpr double SIZE = 184; // CSS px
    ChartHead(h, s, failed, true);
    h << " &middot; " << Count(s.points, "point", "points") << "<br><span class=\"" << (failed ? "bad" : "")
      << "\">jitter " << Value(*s.jitterPx, Unit::Px, 2, options) << "</span></figcaption>";
    const Point down = s.drawn[0];
    double radius = std::max(*s.jitterPx, 0.0);
    if (options.maxJitterPx)
        radius = std::max(radius, *options.maxJitterPx);
    double half = std::max(radius * 1.25, 2.5);
    double scale = SIZE / (2 * half);
    OpenSvg(h, "", down.x - half, down.y - half, 2 * half, 2 * half, scale, "jitter around the DOWN point");
    if (scale >= 10) { // pixel grid
        std::string grid;
        for (double g = std::ceil(down.x - half) - 0.5; g <= down.x + half; g++)
            grid += 'M' + Fixed(g, 1) + ' ' + Fixed(down.y - half, 2) + 'v' + Fixed(2 * half, 2);
        for (double g = std::ceil(down.y - half) - 0.5; g <= down.y + half; g++)
            grid += 'M' + Fixed(down.x - half, 2) + ' ' + Fixed(g, 1) + 'h' + Fixed(2 * half, 2);
        h << "<path class=\"grid\" d=\"" << grid << "\"/>";
    }
    h << "<path class=\"axis\" d=\"M" << Fixed(down.x - half, 2) << ' ' << down.y << 'h' << Fixed(2 * half, 2)
      << 'M' << down.x << ' ' << Fixed(down.y - half, 2) << 'v' << Fixed(2 * half, 2) << "\"/>";
    if (options.maxJitterPx)
        h << "<circle class=\"lim\" cx=\"" << down.x << "\" cy=\"" << down.y << "\" r=\""
          << Fixed(*options.maxJitterPx, 2) << "\"/>";
    std::string d;
    AppendStrokePath(d, s.drawn, (s.drawn.size() + MAX_CHART_POINTS - 1) / MAX_CHART_POINTS);
    h << "<g stroke-width=\"" << Fixed(1 / scale, 3) << "\">";
    WriteStrokePath(h, SlotClass(s.slot), d);
    h << "</g><circle class=\"jit\" cx=\"" << down.x << "\" cy=\"" << down.y << "\" r=\""
      << Fixed(std::max(*s.jitterPx, 0.0), 2) << "\"/></svg></figure>";
}

// A single point has no jitter worth a chart.
bool IsStationaryChart(const Stroke& s) {
    return s.jitterPx && s.points > 1 && !s.drawn.empty();
}

// Failing strokes first, then the others in log order, at most MAX_CHARTS.
std::vector<std::size_t> ChartOrder(const Report& report, const Verdict& verdict, Figure figure) {
    std::vector<std::size_t> order;
    for (int pass = 0; pass < 2; pass++)
        for (std::size_t i = 0; i < report.strokes.size() && order.size() < MAX_CHARTS; i++) {
            const Stroke& s = report.strokes[i];
            bool has = figure == Figure::Deviation ? s.lineMaxDevPx.has_value() : IsStationaryChart(s);
            if (has && verdict.Fails(i, figure) == (pass == 0))
                order.push_back(i);
        }
    return order;
}

} // namespace

void WriteCharts(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    std::size_t lines = 0, stationary = 0;
    for (const Stroke& s : report.strokes) {
        lines += s.lineMaxDevPx.has_value();
        stationary += IsStationaryChart(s);
    }
    if (lines > 0) {
        h << "<h2>Lines</h2><p class=\"note\">Each stroke at least " << Fixed(options.minLineLengthPx, 0)
          << "&nbsp;px from end to end: the perpendicular distance of its points from the line "
             "fitted through them, from the DOWN (left) to the last point (right)";
        if (options.maxDeviationPx)
            h << "; dashed red: the limit of &plusmn;"
              << Value(*options.maxDeviationPx, Unit::Px, Describe(Figure::Deviation).pageDecimals, options);
        h << ".</p><div class=\"charts\">";
        std::vector<std::size_t> order = ChartOrder(report, verdict, Figure::Deviation);
        for (std::size_t i : order)
            WriteDeviationChart(h, report.strokes[i], options, verdict.Fails(i, Figure::Deviation));
        h << "</div>";
        if (order.size() < lines)
            h << "<p class=\"note\">" << order.size() << " of " << lines
              << " line strokes are charted, failing ones first; the table below has them all.</p>";
    }
    if (stationary > 0) {
        h << "<h2>Stationary contacts</h2><p class=\"note\">Each stroke whose points all stay within "
          << Fixed(options.stationaryExtentPx, 0)
          << "&nbsp;px of its DOWN, close up: the points (pixel grid when zoomed far enough), the "
             "DOWN at the cross, and the jitter circle through the farthest point";
        if (options.maxJitterPx)
            h << "; dashed red: the limit of "
              << Value(*options.maxJitterPx, Unit::Px, Describe(Figure::Jitter).pageDecimals, options);
        h << ".</p><div class=\"charts\">";
        std::vector<std::size_t> order = ChartOrder(report, verdict, Figure::Jitter);
        for (std::size_t i : order)
            WriteJitterChart(h, report.strokes[i], options, verdict.Fails(i, Figure::Jitter));
        h << "</div>";
        if (order.size() < stationary)
            h << "<p class=\"note\">" << order.size() << " of " << stationary
              << " stationary contacts are shown, failing ones first; the table below has them all.</p>";
    }
}

} // namespace report
