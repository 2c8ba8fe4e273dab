// The guided run on the page, right after the verdict: the client area to
// scale with every target, where its answer landed on average and the offset
// as a magnified arrow coloured by its verdict, the bias from the centre, each
// line's guide dashed under its stroke; then a table of the items.
#include "report/write/page/HtmlParts.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int CROSS_ARM = 12; // px each side of a target's centre, as kovrin draws it

enum class ItemVerdict { None, Holds, Fails, Missed };

// Each item's verdict on the offset and contacts limits.
std::vector<ItemVerdict> ItemVerdicts(const Guided& g, const Verdict& verdict) {
    std::vector<ItemVerdict> v(g.items.size(), ItemVerdict::None);
    for (const FigureVerdict& f : verdict.figures)
        for (std::size_t i = 0; i < g.items.size(); i++)
            if (Describe(f.figure).ofItem(g.items[i]))
                v[i] = ItemVerdict::Holds;
    for (const Failure& f : verdict.failures)
        if (f.item)
            v[*f.item] = f.missed ? ItemVerdict::Missed : ItemVerdict::Fails;
    return v;
}

const char* VerdictClass(ItemVerdict v) {
    switch (v) {
    case ItemVerdict::Holds:
        return "gok";
    case ItemVerdict::Fails:
    case ItemVerdict::Missed:
        return "gbad";
    case ItemVerdict::None:
        break;
    }
    return "gnone";
}

// How many times the offsets are drawn longer: the longest reaches at most
// a twentieth of the area's width, by a round factor.
double Magnification(const Guided& g) {
    double longest = 0;
    for (const GuidedItem& item : g.items)
        if (item.offsetPx)
            longest = std::max(longest, *item.offsetPx);
    if (g.biasXPx)
        longest = std::max(longest, std::hypot(*g.biasXPx, *g.biasYPx));
    double want = longest > 0 ? g.clientSize.x / 20.0 / longest : 1;
    if (want <= 1)
        return 1;
    double power = std::pow(10.0, std::floor(std::log10(want)));
    for (double m : {5.0, 2.0})
        if (m * power <= want)
            return m * power;
    return power;
}

// The arrowheads, one per colour.
constexpr const char* ARROW_CLASSES[] = {"gok", "gbad", "gnone", "bias"};
constexpr const char* ARROW_COLOURS[] = {"#2e7d32", "#c62828", "#0969da", "#8250df"};

void Arrow(CHtml& h, const char* cls, double x, double y, double dx, double dy) {
    h << "<line class=\"arrow " << cls << "\" x1=\"" << Fixed(x, 1) << "\" y1=\"" << Fixed(y, 1) << "\" x2=\""
      << Fixed(x + dx, 1) << "\" y2=\"" << Fixed(y + dy, 1) << "\" marker-end=\"url(#a" << cls << ")\"/>";
}

void WriteMap(CHtml& h, const Report& report, const Guided& g, const std::vector<ItemVerdict>& verdicts,
              double magnify) {
    double w = std::max(g.clientSize.x, 1), hgt = std::max(g.clientSize.y, 1);
    // Room round the area for the arrows of the targets at its edges.
    double pad = std::round(std::max(20.0, 0.04 * std::max(w, hgt)));
    double scale = FitScale(w + 2 * pad, hgt + 2 * pad);
    OpenSvg(h, "fig", -pad, -pad, w + 2 * pad, hgt + 2 * pad, scale,
            "the guided run's items in client pixels");
    h << "<defs>";
    for (int k = 0; k < 4; k++)
        h << "<marker id=\"a" << ARROW_CLASSES[k] << "\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" "
          << "markerWidth=\"6\" markerHeight=\"6\" orient=\"auto\"><path d=\"M0 0L10 5L0 10z\" fill=\""
          << ARROW_COLOURS[k] << "\"/></marker>";
    h << "</defs>";
    h << "<rect class=\"area\" x=\"0\" y=\"0\" width=\"" << Fixed(w, 0) << "\" height=\"" << Fixed(hgt, 0)
      << "\"/><g stroke-width=\"" << Fixed(1 / scale, 3) << "\">";
    std::string d;
    for (std::size_t i = 0; i < g.items.size(); i++) {
        const GuidedItem& item = g.items[i];
        if (!GuideItemIsPlaced(item.kind))
            continue;
        const char* cls = VerdictClass(verdicts[i]);
        h << "<g><title>" << ItemName(item) << (item.missed ? ": missed" : "") << "</title>";
        if (item.kind == GuideKind::Line) {
            h << "<line class=\"guide " << cls << "\" x1=\"" << item.from.x << "\" y1=\"" << item.from.y
              << "\" x2=\"" << item.to.x << "\" y2=\"" << item.to.y << "\"/>";
            if (item.stroke) {
                const Stroke& s = report.strokes[*item.stroke];
                d.clear();
                AppendStrokePath(d, s.drawn, 1);
                WriteStrokePath(h, SlotClass(s.slot), d);
            }
        } else {
            h << "<path class=\"cross " << cls << "\" d=\"M" << item.from.x - CROSS_ARM << ' ' << item.from.y
              << "h" << 2 * CROSS_ARM << "M" << item.from.x << ' ' << item.from.y - CROSS_ARM << "v"
              << 2 * CROSS_ARM << "\"/>";
            if (item.offsetXPx) {
                double x = item.from.x + 0.5, y = item.from.y + 0.5; // the pixel's middle
                Arrow(h, cls, x, y, *item.offsetXPx * magnify, *item.offsetYPx * magnify);
            }
        }
        h << "</g>";
    }
    h << "</g>";
    if (g.biasXPx)
        Arrow(h, "bias", w / 2, hgt / 2, *g.biasXPx * magnify, *g.biasYPx * magnify);
    h << "</svg>";
}

std::string Figures(const GuidedItem& item, const Options& options) {
    auto length = [&](double px) {
        return "<span class=\"v\">" + Length(px, options, 2, "&nbsp;") + "</span>";
    };
    switch (item.kind) {
    case GuideKind::Target:
    case GuideKind::Hold: {
        std::string text = "offset " + Fixed(*item.offsetXPx, 2) + ",&nbsp;" + Fixed(*item.offsetYPx, 2) +
                           "&nbsp;px; farthest <span class=\"v\">" + OffsetLength(item, options, 2) +
                           "</span>";
        if (item.jitterPx)
            text += "; jitter " + length(*item.jitterPx);
        return text;
    }
    case GuideKind::Line: {
        std::string text = "from the guide <span class=\"v\">" + OffsetLength(item, options, 2) +
                           "</span>; reach " + Fixed(*item.reachPct, 1) + "%";
        if (item.deviationPx)
            text += "; deviation " + length(*item.deviationPx);
        return text;
    }
    case GuideKind::Contacts:
        return Count(*item.contacts, "contact", "contacts") + " down at once";
    case GuideKind::Pair:
        return item.separationPx ? "closest " + length(*item.separationPx) : "never two down at once";
    }
    return "";
}

void WriteItems(CHtml& h, const Report& report, const Guided& g, const Options& options,
                const std::vector<ItemVerdict>& verdicts) {
    OpenTable(h, {{"Item", true}, {"What"}, {"Where"}, {"Answer"}, {"Figures"}, {"Verdict"}});
    for (std::size_t i = 0; i < g.items.size(); i++) {
        const GuidedItem& item = g.items[i];
        h << "<tr><td class=\"n\">" << item.item << "</td><td>" << ItemName(item) << "</td><td>";
        if (GuideItemIsPlaced(item.kind))
            h << "(" << item.from.x << ",&nbsp;" << item.from.y << ")";
        if (item.kind == GuideKind::Line)
            h << "&ndash;(" << item.to.x << ",&nbsp;" << item.to.y << ")";
        h << "</td><td>";
        if (!item.done)
            h << "missed: never done";
        else if (item.missed)
            h << "missed: nothing answered";
        else if (item.stroke)
            h << Swatch(report.strokes[*item.stroke].slot) << "contact&nbsp;" << *item.contact
              << ", line&nbsp;" << item.firstLine;
        else if (item.contact)
            h << "contact&nbsp;" << *item.contact << ", line&nbsp;" << item.firstLine;
        else
            h << "from line&nbsp;" << item.firstLine;
        if (item.extraTouches)
            h << " (" << Count(item.extraTouches, "extra touch", "extra touches") << ")";
        h << "</td><td>" << (item.missed ? std::string("&ndash;") : Figures(item, options)) << "</td><td>";
        switch (verdicts[i]) {
        case ItemVerdict::Holds:
            h << "<span class=\"ok\">holds</span>";
            break;
        case ItemVerdict::Fails:
            h << "<span class=\"bad\">FAIL</span>";
            break;
        case ItemVerdict::Missed:
            h << "<span class=\"bad\">FAIL</span> missed";
            break;
        case ItemVerdict::None:
            h << "&ndash;";
            break;
        }
        h << "</td></tr>";
    }
    CloseTable(h);
}

} // namespace

void WriteGuided(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    if (!report.guided)
        return;
    const Guided& g = *report.guided;
    std::vector<ItemVerdict> verdicts = ItemVerdicts(g, verdict);
    std::size_t done = 0, missed = 0;
    for (const GuidedItem& item : g.items) {
        done += item.done;
        missed += item.missed;
    }
    double magnify = Magnification(g);
    h << "<h2 id=\"guided\">Guided run " << g.run << "</h2><p>" << done << " of " << g.items.size()
      << " items done, " << missed << " missed. ";
    if (g.biasXPx) {
        h << "Targets: bias <span class=\"v\">" << Fixed(*g.biasXPx, 2) << ",&nbsp;" << Fixed(*g.biasYPx, 2)
          << "&nbsp;px</span>";
        if (options.pxPerMmX)
            h << " <span class=\"v\">(" << Fixed(*g.biasXPx / *options.pxPerMmX, 2) << ",&nbsp;"
              << Fixed(*g.biasYPx / *options.pxPerMmY, 2) << "&nbsp;mm)</span>";
        h << ", 95th percentile of offsets <span class=\"v\">" << Fixed(*g.offsetP95Px, 2) << "&nbsp;px";
        if (g.offsetP95Mm)
            h << " (" << Fixed(*g.offsetP95Mm, 2) << "&nbsp;mm)";
        h << "</span>, " << g.targetsMissed << " missed. ";
    }
    switch (options.scaleFrom) {
    case ScaleFrom::Guide:
        h << "Millimetres from the guide's screen size, " << g.screenMm.x << " &times; " << g.screenMm.y
          << "&nbsp;mm: " << Fixed(*options.pxPerMmX, 3) << "&nbsp;px/mm across, "
          << Fixed(*options.pxPerMmY, 3) << "&nbsp;px/mm down.";
        break;
    case ScaleFrom::Option:
        h << "Millimetres from --px-per-mm.";
        break;
    case ScaleFrom::None:
        h << "No millimetres: the guide does not know the screen's size.";
        break;
    }
    h << "</p>";
    WriteMap(h, report, g, verdicts, magnify);
    h << "<p class=\"note\">The client area in client pixels: each target's cross, and an arrow from its "
         "centre "
         "to the mean of the touch that answered it, drawn "
      << Fixed(magnify, 0)
      << "&nbsp;times longer than it is; each line's guide, with its stroke. Green holds, red fails or was "
         "missed, blue where no limit judged it. The purple arrow from the middle is the bias, the mean of "
         "the targets' offsets, magnified alike.</p>";
    WriteItems(h, report, g, options, verdicts);
}

} // namespace report
