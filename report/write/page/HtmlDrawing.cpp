// The page's drawing of every stroke, as kovrin's Line mode drew it.
#include "report/write/page/HtmlParts.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr std::size_t MAX_STROKES_DRAWN = 2000;  // one by one, with a tooltip; the rest merged by colour
constexpr std::size_t MAX_POINTS_DRAWN = 200000; // over all strokes; beyond it every k-th point
constexpr std::size_t MAX_LABELS = 40;           // strokes labelled with their contact id in the drawing

} // namespace

// The strokes as kovrin's Line mode draws them, over a light grid in client pixels.
void WriteDrawing(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    h << "<h2>Strokes</h2>";
    const std::vector<Stroke>& strokes = report.strokes;
    if (strokes.empty()) {
        h << "<p>No strokes in this log.</p>";
        return;
    }
    std::size_t individual = std::min(strokes.size(), MAX_STROKES_DRAWN);
    double minX = strokes[0].min.x, minY = strokes[0].min.y, maxX = strokes[0].max.x, maxY = strokes[0].max.y;
    std::size_t drawnPoints = 0;
    for (std::size_t i = 0; i < strokes.size(); i++) {
        const Stroke& s = strokes[i];
        minX = std::min<double>(minX, s.min.x);
        minY = std::min<double>(minY, s.min.y);
        maxX = std::max<double>(maxX, s.max.x);
        maxY = std::max<double>(maxY, s.max.y);
        drawnPoints += s.drawn.size();
        if (i < individual && s.jitterPx && !s.drawn.empty()) {
            minX = std::min(minX, s.drawn[0].x - *s.jitterPx);
            minY = std::min(minY, s.drawn[0].y - *s.jitterPx);
            maxX = std::max(maxX, s.drawn[0].x + *s.jitterPx);
            maxY = std::max(maxY, s.drawn[0].y + *s.jitterPx);
        }
    }
    double margin = std::max(20.0, std::round(0.02 * std::max(maxX - minX, maxY - minY)));
    double x0 = std::floor(minX - margin), y0 = std::floor(minY - margin);
    double w = std::ceil(maxX + margin) - x0, hgt = std::ceil(maxY + margin) - y0;
    double scale = FitScale(w, hgt);
    std::size_t stride = (drawnPoints + MAX_POINTS_DRAWN - 1) / MAX_POINTS_DRAWN;
    stride = std::max<std::size_t>(stride, 1);

    OpenSvg(h, "fig", x0, y0, w, hgt, scale, "the strokes in client pixels");

    // Grid lines at a round step, about ten across the longer side, labelled in client pixels.
    double step = NiceStep(std::max(w, hgt) / 10);
    std::string grid;
    for (double gx = std::ceil(x0 / step) * step; gx <= x0 + w; gx += step) {
        grid += 'M' + Fixed(gx, 0) + ' ' + Fixed(y0, 0) + 'v' + Fixed(hgt, 0);
    }
    for (double gy = std::ceil(y0 / step) * step; gy <= y0 + hgt; gy += step) {
        grid += 'M' + Fixed(x0, 0) + ' ' + Fixed(gy, 0) + 'h' + Fixed(w, 0);
    }
    double fontSize = 11 / scale;
    h << "<path class=\"grid\" d=\"" << grid << "\"/><g class=\"gl\" font-size=\"" << Fixed(fontSize, 1)
      << "\">";
    for (double gx = std::ceil(x0 / step) * step; gx <= x0 + w - 3 * fontSize; gx += step)
        h << "<text x=\"" << Fixed(gx + 3 / scale, 1) << "\" y=\"" << Fixed(y0 + fontSize * 1.1, 1) << "\">"
          << Fixed(gx, 0) << "</text>";
    for (double gy = std::ceil(y0 / step) * step; gy <= y0 + hgt - fontSize; gy += step)
        if (gy > y0 + 2 * fontSize)
            h << "<text x=\"" << Fixed(x0 + 3 / scale, 1) << "\" y=\"" << Fixed(gy - 3 / scale, 1) << "\">"
              << Fixed(gy, 0) << "</text>";
    h << "</g>";

    // Strokes drawn in user units: 1 CSS pixel is 1 / scale of them, and the
    // dot markers follow the stroke width.
    h << "<g stroke-width=\"" << Fixed(1 / scale, 3) << "\">";
    std::string d;
    for (std::size_t i = 0; i < individual; i++) {
        const Stroke& s = strokes[i];
        if (s.drawn.empty())
            continue;
        d.clear();
        AppendStrokePath(d, s.drawn, stride);
        h << "<g><title>contact " << s.id << ", lines " << LineRange(s) << ", "
          << Count(s.points, "point", "points") << "</title>";
        WriteStrokePath(h, SlotClass(s.slot), d);
        h << "</g>";
    }
    // Strokes past the cap, merged into one path per colour.
    for (int cls = 0; cls <= NO_SLOT_CLASS && individual < strokes.size(); cls++) {
        d.clear();
        for (std::size_t i = individual; i < strokes.size(); i++)
            if (SlotClass(strokes[i].slot) == cls)
                AppendStrokePath(d, strokes[i].drawn, stride);
        if (!d.empty())
            WriteStrokePath(h, cls, d);
    }
    h << "</g>";

    std::string fits;
    for (std::size_t i = 0; i < individual; i++) {
        const Stroke& s = strokes[i];
        if (!s.lineMaxDevPx)
            continue;
        fits += 'M';
        AppendInteger(fits, s.lineFrom.x);
        fits += ' ';
        AppendInteger(fits, s.lineFrom.y);
        fits += 'L';
        AppendInteger(fits, s.lineTo.x);
        fits += ' ';
        AppendInteger(fits, s.lineTo.y);
    }
    if (!fits.empty())
        h << "<path class=\"fit\" d=\"" << fits << "\"/>";
    for (std::size_t i = 0; i < individual; i++) {
        const Stroke& s = strokes[i];
        if (!s.jitterPx || s.drawn.empty())
            continue;
        bool failed = verdict.Fails(i, Figure::Jitter);
        h << "<circle class=\"" << (failed ? "lim" : "jit") << "\" cx=\"" << s.drawn[0].x << "\" cy=\""
          << s.drawn[0].y << "\" r=\"" << Fixed(std::max(*s.jitterPx, 0.0), 2) << "\"/>";
    }
    if (strokes.size() <= MAX_LABELS) {
        h << "<g class=\"lbl\" font-size=\"" << Fixed(12 / scale, 1) << "\">";
        for (const Stroke& s : strokes) {
            if (s.drawn.empty())
                continue;
            // Labels near the right edge end at the DOWN instead of starting there.
            bool right = s.drawn[0].x + 40 / scale > x0 + w;
            h << "<text class=\"t k" << SlotClass(s.slot) << "\" x=\""
              << Fixed(s.drawn[0].x + (right ? -6 : 6) / scale, 1) << "\" y=\""
              << Fixed(s.drawn[0].y - 6 / scale, 1) << (right ? "\" text-anchor=\"end\">" : "\">") << s.id
              << "</text>";
        }
        h << "</g>";
    }
    h << "</svg>";

    h << "<p class=\"note\">Client pixels from (" << Fixed(minX, 0) << ", " << Fixed(minY, 0) << ") to ("
      << Fixed(maxX, 0) << ", " << Fixed(maxY, 0)
      << "), drawn as kovrin's Line mode draws them: a dot at every "
      << "point, 1-pixel segments between, in the contact's slot colour; grid every " << Fixed(step, 0)
      << "&nbsp;px";
    if (options.pxPerMm)
        h << " (" << Fixed(step / *options.pxPerMm, 1) << "&nbsp;mm)";
    h << ". Dashed: the line fitted to each line stroke; circles: the jitter of each stationary contact "
         "around its DOWN (red when over the limit). Hover a stroke for its contact and log lines.";
    if (strokes.size() <= MAX_LABELS)
        h << " Labels give the contact id at the DOWN.";
    if (stride > 1)
        h << " To keep the page small, one point in " << stride << " is drawn.";
    if (individual < strokes.size())
        h << " The first " << individual << " of " << strokes.size()
          << " strokes are drawn one by one with their fits and circles; the rest are merged by colour.";
    h << "</p>";
}

} // namespace report
