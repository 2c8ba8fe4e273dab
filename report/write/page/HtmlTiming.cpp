// The page's timing section (touch.csv): how long a contact waited between
// reports, over the whole session as a histogram and along the time of the
// worst strokes.
#include "report/write/page/HtmlParts.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr std::size_t MAX_TIMING_CHARTS = 12;
constexpr std::size_t MAX_TIMING_ROWS = 1000;
constexpr int W = 640, H = 160; // user units of the charts

// The histogram of every interval in 1 ms bars up to a span that shows the
// bulk of them; longer intervals are counted at the right.
void WriteHistogram(CHtml& h, const Intervals& iv, const Options& options) {
    std::uint32_t span = std::max<std::uint32_t>({20, 2 * iv.p99Ms + 2, iv.medianMs * 4});
    if (options.maxIntervalMs)
        span = std::max(span, (std::uint32_t)std::ceil(*options.maxIntervalMs * 1.25));
    span = std::min<std::uint32_t>(span, (std::uint32_t)iv.histogram.size());
    std::uint64_t beyond = 0, tallest = 1;
    for (std::size_t ms = 0; ms < iv.histogram.size(); ms++) {
        if (ms < span)
            tallest = std::max(tallest, iv.histogram[ms]);
        else
            beyond += iv.histogram[ms];
    }
    double barW = (double)W / span;
    h << "<figure class=\"chart wide-chart\"><figcaption>Intervals between consecutive reports, in 1&nbsp;ms "
         "bars from 0 to "
      << span << "&nbsp;ms";
    if (beyond)
        h << "; <span class=\"bad\">" << Count(beyond, "interval", "intervals") << " longer</span>";
    h << "</figcaption><svg width=\"" << W << "\" height=\"" << H + 20 << "\" viewBox=\"0 0 " << W << ' '
      << H + 20 << "\" role=\"img\" aria-label=\"histogram of the intervals\"><path class=\"bar\" d=\"";
    for (std::uint32_t ms = 0; ms < span; ms++) {
        std::uint64_t n = iv.histogram[ms];
        if (!n)
            continue;
        double height = std::max(1.0, (double)n / (double)tallest * H);
        h << 'M' << Fixed(ms * barW, 2) << ' ' << H << 'v' << Fixed(-height, 2) << 'h' << Fixed(barW, 2)
          << 'v' << Fixed(height, 2) << 'z';
    }
    h << "\"/><path class=\"axis\" d=\"M0 " << H << "H" << W << "\"/>";
    if (options.maxIntervalMs && *options.maxIntervalMs < span) {
        double x = (*options.maxIntervalMs + 1) * barW;
        h << "<path class=\"lim\" d=\"M" << Fixed(x, 2) << " 0V" << H << "\"/>";
    }
    double step = NiceStep(span / 8.0);
    h << "<g class=\"gl\" font-size=\"11\">";
    for (double ms = 0; ms < span; ms += step)
        h << "<text x=\"" << Fixed(ms * barW + 2, 1) << "\" y=\"" << H + 14 << "\">" << Fixed(ms, 0)
          << "</text>";
    h << "</g></svg></figure>";
}

// One stroke's intervals along its time: at each drawn point, the longest
// wait since the drawn point before it.
void WriteIntervalChart(CHtml& h, const Stroke& s, const Options& options, bool failed) {
    ChartHead(h, s, failed, false);
    h << "<br>" << Integer(*s.durationMs) << "&nbsp;ms";
    if (s.rateHz)
        h << ", " << Fixed(*s.rateHz, 1) << "&nbsp;Hz";
    if (s.minRateHz)
        h << ", fewest in a second " << Fixed(*s.minRateHz, 0);
    h << "<br><span class=\"" << (failed ? "bad" : "") << "\">longest " << *s.maxIntervalMs
      << "&nbsp;ms</span> at line " << s.maxIntervalLine << "</figcaption>";
    double top = *s.maxIntervalMs;
    if (options.maxIntervalMs)
        top = std::max(top, *options.maxIntervalMs);
    top = std::max(top * 1.15, 1.0);
    double duration = std::max<double>((double)*s.durationMs, 1);
    auto yOf = [&](double ms) { return Fixed(H - ms / top * H, 1); };
    h << "<svg width=\"292\" height=\"80\" viewBox=\"0 0 " << W << ' ' << H << "\" role=\"img\" "
      << "aria-label=\"interval along the stroke's time\"><path class=\"axis\" d=\"M0 " << H << "H" << W
      << "\"/>";
    if (options.maxIntervalMs)
        h << "<path class=\"lim\" d=\"M0 " << yOf(*options.maxIntervalMs) << "H" << W << "\"/>";
    h << "<path class=\"dev k" << SlotClass(s.slot) << "\" d=\"";
    for (std::size_t i = 1; i < s.drawnTimeMs.size(); i++)
        h << (i == 1 ? 'M' : 'L') << Fixed(s.drawnTimeMs[i] / duration * W, 1) << ' ' << yOf(s.drawnGapMs[i]);
    h << "\"/><g class=\"gl\" font-size=\"20\"><text x=\"4\" y=\"20\">" << Fixed(top, 0)
      << " ms</text></g></svg></figure>";
}

// Failing strokes first, then those that waited longest.
std::vector<std::size_t> TimingOrder(const Report& report, const Verdict& verdict) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < report.strokes.size(); i++)
        if (report.strokes[i].maxIntervalMs && report.strokes[i].drawnTimeMs.size() > 1)
            order.push_back(i);
    auto failed = [&](std::size_t i) {
        return verdict.Fails(i, Figure::Interval) || verdict.Fails(i, Figure::Rate);
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (failed(a) != failed(b))
            return failed(a);
        return *report.strokes[a].maxIntervalMs > *report.strokes[b].maxIntervalMs;
    });
    if (order.size() > MAX_TIMING_CHARTS)
        order.resize(MAX_TIMING_CHARTS);
    return order;
}

// Each timed stroke's time, rates and contact size.
void WriteTimingTable(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    OpenTable(h, {{"#", true},
                  {"Contact"},
                  {"Duration ms", true},
                  {"Rate Hz", true},
                  {"Fewest in a second", true},
                  {"Longest interval ms", true},
                  {"At line", true},
                  {"Contact w &times; h px", true}});
    std::size_t shown = 0;
    for (std::size_t i = 0; i < report.strokes.size() && shown < MAX_TIMING_ROWS; i++) {
        const Stroke& s = report.strokes[i];
        if (!s.durationMs)
            continue;
        shown++;
        auto cell = [&](Figure figure) {
            return verdict.Fails(i, figure) ? "<td class=\"n bad\">" : "<td class=\"n\">";
        };
        h << "<tr><td class=\"n\">" << i + 1 << "</td><td>" << Swatch(s.slot) << s.id
          << "</td><td class=\"n\">" << *s.durationMs << "</td><td class=\"n\">"
          << (s.rateHz ? Fixed(*s.rateHz, 1) : "") << "</td>" << cell(Figure::Rate)
          << (s.minRateHz ? Fixed(*s.minRateHz, 0) : "") << "</td>" << cell(Figure::Interval);
        if (s.maxIntervalMs)
            h << *s.maxIntervalMs << "</td><td class=\"n\">" << s.maxIntervalLine;
        else
            h << "</td><td class=\"n\">";
        h << "</td><td class=\"n\">";
        if (s.contactWPx)
            h << Fixed(*s.contactWPx, 2) << " &times; " << LengthCell(*s.contactHPx, 2, options);
        h << "</td></tr>";
    }
    CloseTable(h);
}

} // namespace

void WriteTiming(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    if (report.input.format != InputFormat::TouchCsv)
        return;
    h << "<h2 id=\"timing\">Timing</h2>";
    if (!report.intervals) {
        h << "<p>No stroke has two points: no interval to show.</p>";
        return;
    }
    const Intervals& iv = *report.intervals;
    h << "<p class=\"note\">From the time stamps of touch.csv: " << Count(iv.count, "interval", "intervals")
      << " between consecutive reports of a contact, median <b>" << iv.medianMs << "&nbsp;ms</b>, 95% "
      << iv.p95Ms << "&nbsp;ms, 99% " << iv.p99Ms << "&nbsp;ms, longest <b>" << iv.maxMs << "&nbsp;ms</b>";
    if (report.backwards)
        h << "; <span class=\"bad\">time went back " << Count(report.backwards, "time", "times") << "</span>";
    if (options.maxIntervalMs)
        h << "; dashed red: the limit of " << Value(*options.maxIntervalMs, Unit::Ms, 0, options);
    h << ".</p><div class=\"charts\">";
    WriteHistogram(h, iv, options);
    std::vector<std::size_t> order = TimingOrder(report, verdict);
    for (std::size_t i : order)
        WriteIntervalChart(h, report.strokes[i], options,
                           verdict.Fails(i, Figure::Interval) || verdict.Fails(i, Figure::Rate));
    h << "</div>";
    if (!order.empty())
        h << "<p class=\"note\">The interval along the time of " << Count(order.size(), "stroke", "strokes")
          << ", failing and longest-waiting first: each point is the longest wait since the one before it "
             "in the drawing.</p>";
    WriteTimingTable(h, report, options, verdict);
}

} // namespace report
