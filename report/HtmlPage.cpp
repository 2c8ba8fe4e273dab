// Writes the report page. Everything is drawn from the Report alone: SVG user
// units are client pixels, strokes use kovrin's slot colours, and the caps below
// keep the page a few MB whatever the length of the log.
#include "report/HtmlPage.h"

#include "report/Format.h"
#include "report/Verdict.h"
#include "touch/ContactSlots.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace report {
namespace {

constexpr std::size_t MAX_STROKES_DRAWN = 2000;  // one by one, with a tooltip; the rest merged by colour
constexpr std::size_t MAX_POINTS_DRAWN = 200000; // over all strokes; beyond it every k-th point
constexpr std::size_t MAX_LABELS = 40;           // strokes labelled with their contact id in the drawing
constexpr std::size_t MAX_CHARTS = 50;           // line charts, and as many jitter charts
constexpr std::size_t MAX_CHART_POINTS = 2000;
constexpr std::size_t MAX_TABLE_ROWS = 1000;
constexpr std::size_t MAX_LISTED = 500; // failures, anomalies, notes
constexpr std::size_t MAX_EMPTY_LISTED = 50;
constexpr std::int64_t MAX_HEAT_CELLS = 40000;

constexpr double FIGURE_WIDTH = 960; // CSS px of the drawing and the coverage map at most
constexpr double FIGURE_HEIGHT = 640;
constexpr int NO_SLOT_CLASS = SLOT_COUNT; // the class of strokes without a slot: black

constexpr int HEAT_LEVELS = 8;
const char* const HEAT_COLORS[HEAT_LEVELS] = {"#deebf7", "#c6dbef", "#9ecae1", "#6baed6",
                                              "#4292c6", "#2171b5", "#08519c", "#08306b"};

// Buffers the page and hands it to the stream in large blocks.
class CHtml {
public:
    explicit CHtml(std::ostream& out) : m_out(out) {
        m_buffer.reserve(BLOCK * 2);
    }
    ~CHtml() {
        Flush();
    }
    CHtml(const CHtml&) = delete;
    CHtml& operator=(const CHtml&) = delete;

    // Markup, written as it is.
    CHtml& operator<<(std::string_view markup) {
        m_buffer.append(markup);
        return Spill();
    }
    CHtml& operator<<(char c) {
        m_buffer.push_back(c);
        return *this;
    }
    template <typename T,
              std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, bool>,
                               int> = 0>
    CHtml& operator<<(T value) {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_buffer.append(digits, end);
        return Spill();
    }
    void Flush() {
        m_out.write(m_buffer.data(), (std::streamsize)m_buffer.size());
        m_buffer.clear();
    }

private:
    static constexpr std::size_t BLOCK = 1 << 16;
    CHtml& Spill() {
        if (m_buffer.size() >= BLOCK)
            Flush();
        return *this;
    }
    std::ostream& m_out;
    std::string m_buffer;
};

void AppendInt(std::string& out, std::int64_t value) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Text as HTML: markup characters escaped; bytes that are not UTF-8, control
// characters and non-characters become U+FFFD, so that any log line stays valid.
std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const char* const replacement = "\xEF\xBF\xBD";
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = (unsigned char)text[i];
        if (c < 0x80) {
            switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F)
                    out += replacement;
                else
                    out += (char)c;
            }
            i++;
            continue;
        }
        int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        std::uint32_t code = length == 4 ? c & 0x07 : length == 3 ? c & 0x0F : c & 0x1F;
        bool valid = length > 0 && c <= 0xF4 && i + length <= text.size();
        for (int k = 1; valid && k < length; k++) {
            unsigned char next = (unsigned char)text[i + k];
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        const std::uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= smallest[length] && code <= 0x10FFFF &&
                !(code >= 0xD800 && code <= 0xDFFF) && !(code >= 0x80 && code <= 0x9F) &&
                !(code >= 0xFDD0 && code <= 0xFDEF) && (code & 0xFFFE) != 0xFFFE;
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += replacement;
            i++;
        }
    }
    return out;
}

// "#RRGGBB" of the colour kovrin draws a slot in; black without a slot.
std::string SlotColor(int slot) {
    std::uint32_t bgr = slot >= 0 && slot < SLOT_COUNT ? g_contactColors[slot] : 0;
    std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    const char* hex = "0123456789abcdef";
    std::string color = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        color += hex[(rgb >> shift) & 0xF];
    return color;
}

int SlotClass(int slot) {
    return slot >= 0 && slot < SLOT_COUNT ? slot : NO_SLOT_CLASS;
}

std::string Swatch(int slot) {
    std::string html = "<span class=\"sw k";
    AppendInt(html, SlotClass(slot));
    html += "\"></span>";
    return html;
}

// A length in pixels, and in millimetres too when the scale is known.
std::string Length(double px, int decimals, const Options& options) {
    std::string text = "<span class=\"v\">" + Fixed(px, decimals) + "&nbsp;px";
    if (options.pxPerMm && *options.pxPerMm > 0)
        text += " (" + Fixed(px / *options.pxPerMm, decimals) + "&nbsp;mm)";
    return text + "</span>";
}

// The same in a table cell: millimetres on a second, quieter line.
std::string LengthCell(double px, int decimals, const Options& options) {
    std::string text = Fixed(px, decimals);
    if (options.pxPerMm && *options.pxPerMm > 0)
        text += "<span class=\"mm\">" + Fixed(px / *options.pxPerMm, decimals) + "&nbsp;mm</span>";
    return text;
}

std::string LineRange(const Stroke& stroke) {
    std::string text;
    AppendInt(text, (std::int64_t)stroke.firstLine);
    if (stroke.lastLine != stroke.firstLine) {
        text += "&ndash;";
        AppendInt(text, (std::int64_t)stroke.lastLine);
    }
    return text;
}

std::string Count(std::uint64_t n, const char* one, const char* many) {
    std::string text;
    AppendInt(text, (std::int64_t)n);
    text += ' ';
    text += n == 1 ? one : many;
    return text;
}

// The smallest of 1, 2, 5, 10, 20, 50... pixels that is at least `least`.
double NiceStep(double least) {
    double power = std::pow(10.0, std::floor(std::log10(std::max(least, 1.0))));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= least)
            return m * power;
    return 10 * power;
}

// How a drawing of w by h user units fits the page, in CSS pixels per unit.
double FitScale(double w, double h) {
    return std::min(FIGURE_WIDTH / std::max(w, 1.0), FIGURE_HEIGHT / std::max(h, 1.0));
}

// The <svg> start tag of a drawing of the box, sized by `scale`.
void OpenSvg(CHtml& h, const char* cls, double x, double y, double w, double h_, double scale,
             std::string_view label) {
    h << "<svg class=\"" << cls << "\" width=\"" << (std::int64_t)std::lround(w * scale) << "\" height=\""
      << (std::int64_t)std::lround(h_ * scale) << "\" viewBox=\"" << Fixed(x, 2) << ' ' << Fixed(y, 2) << ' '
      << Fixed(w, 2) << ' ' << Fixed(h_, 2) << "\" role=\"img\" aria-label=\"" << label << "\">";
}

// Appends a stroke's points to path data: a relative polyline whose every
// vertex gets the slot's dot marker. Every `stride`-th point is kept, and the
// last; repeats are dropped. A single point is a zero-length segment.
void AppendStrokePath(std::string& d, const std::vector<Point>& points, std::size_t stride) {
    if (points.empty())
        return;
    stride = std::max<std::size_t>(stride, 1);
    auto number = [&d](std::int64_t v, bool first) {
        if (!first && v >= 0)
            d += ' ';
        AppendInt(d, v);
    };
    std::int64_t x = points[0].x, y = points[0].y;
    d += 'M';
    AppendInt(d, x);
    number(y, false);
    d += 'l';
    bool first = true;
    std::size_t last = points.size() - 1;
    for (std::size_t i = std::min(stride, last); i > 0;) {
        std::int64_t dx = points[i].x - x, dy = points[i].y - y;
        if (dx != 0 || dy != 0) {
            number(dx, first);
            number(dy, false);
            first = false;
            x = points[i].x;
            y = points[i].y;
        }
        if (i == last)
            break;
        i = std::min(i + stride, last);
    }
    if (first)
        d += "0 0";
}

// A stroke group's path, as kovrin draws it: 1-pixel segments, a dot at every point.
void WriteStrokePath(CHtml& h, int cls, const std::string& d) {
    h << "<path class=\"s k" << cls << " m" << cls << "\" d=\"" << d << "\"/>";
}

struct Column {
    const char* name;
    bool numeric = false; // right-aligned
};

// A table in a box that scrolls sideways on a narrow screen.
void OpenTable(CHtml& h, std::initializer_list<Column> columns) {
    h << "<div class=\"wide\"><table><tr>";
    for (const Column& c : columns)
        h << (c.numeric ? "<th class=\"n\">" : "<th>") << c.name << "</th>";
    h << "</tr>";
}

void CloseTable(CHtml& h) {
    h << "</table></div>";
}

struct Judged {
    std::size_t count = 0;   // strokes that have the figure
    std::size_t failing = 0; // of which over the limit
    std::size_t worst = 0;   // index of the stroke with the largest value
    double worstValue = -1;
};

struct Verdict {
    std::vector<Failure> failures;
    std::vector<unsigned char> failing; // per stroke: bit 1 << Figure
    bool thresholds = false;
};

Verdict Judge(const Report& report, const Options& options) {
    Verdict verdict;
    verdict.failures = FindFailures(report, options);
    verdict.failing.assign(report.strokes.size(), 0);
    for (const Failure& f : verdict.failures)
        verdict.failing[f.stroke] |= (unsigned char)(1 << (int)f.figure);
    verdict.thresholds = options.maxJitterPx || options.maxDeviationPx || options.maxGapPx;
    return verdict;
}

std::optional<double> FigureOf(const Stroke& stroke, Figure figure) {
    switch (figure) {
    case Figure::Jitter:
        return stroke.jitterPx;
    case Figure::Deviation:
        return stroke.lineMaxDevPx;
    case Figure::Gap:
        return stroke.points > 1 ? std::optional<double>(stroke.maxStepPx) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> LimitOf(const Options& options, Figure figure) {
    switch (figure) {
    case Figure::Jitter:
        return options.maxJitterPx;
    case Figure::Deviation:
        return options.maxDeviationPx;
    case Figure::Gap:
        return options.maxGapPx;
    }
    return std::nullopt;
}

const char* JudgedNoun(Figure figure, bool many) {
    switch (figure) {
    case Figure::Jitter:
        return many ? "stationary strokes" : "stationary stroke";
    case Figure::Deviation:
        return many ? "line strokes" : "line stroke";
    case Figure::Gap:
        return many ? "strokes of two points or more" : "stroke of two points or more";
    }
    return "";
}

int Decimals(Figure figure) {
    return figure == Figure::Gap ? 1 : 2;
}

const char* STYLE = R"(
:root{color-scheme:light}
*{box-sizing:border-box}
body{margin:0;background:#f3f4f6;color:#1f2328;font:14px/1.45 system-ui,-apple-system,"Segoe UI",Roboto,"DejaVu Sans",Arial,sans-serif;-webkit-print-color-adjust:exact;print-color-adjust:exact}
main{max-width:1000px;margin:0 auto;padding:16px 20px 40px}
h1{font-size:22px;margin:0 0 2px}
h2{font-size:17px;margin:28px 0 8px;padding-bottom:4px;border-bottom:1px solid #d0d7de}
h3{font-size:14px;margin:14px 0 6px}
p{margin:6px 0}
.sub,.note,.mm{color:#57606a}
.note{font-size:13px}
.mm{display:block;font-size:11px}
.verdict{display:flex;align-items:center;gap:24px;margin:12px 0;padding:12px 24px;border-radius:8px;color:#fff}
.verdict.pass{background:#2e7d32}
.verdict.fail{background:#c62828}
.word{font-size:60px;font-weight:800;letter-spacing:3px;line-height:1}
.why{font-size:16px}
.why b{font-size:18px}
table{border-collapse:collapse;margin:6px 0;font-variant-numeric:tabular-nums}
th,td{padding:3px 8px;border-bottom:1px solid #e1e4e8;text-align:left;vertical-align:top}
th{background:#eaeef2;font-weight:600}
td.n,th.n{text-align:right}
.bad{color:#c62828;font-weight:700}
.ok{color:#2e7d32;font-weight:700}
.tiles{display:grid;grid-template-columns:repeat(auto-fill,minmax(118px,1fr));gap:8px;margin:8px 0}
.tile{background:#fff;border:1px solid #d0d7de;border-radius:6px;padding:6px 10px}
.tile b{display:block;font-size:22px;line-height:1.2}
.tile span{font-size:12px;color:#57606a}
.tile.warn{border-color:#d29922;background:#fff8e1}
.cut{background:#fff8e1;border:1px solid #d29922;border-radius:6px;padding:6px 10px}
.sw{display:inline-block;width:12px;height:12px;margin-right:5px;vertical-align:-1px;border:1px solid rgba(0,0,0,.25)}
svg{display:block;max-width:100%;height:auto;background:#fff}
.fig{border:1px solid #d0d7de}
.s{fill:none;stroke-linejoin:round;shape-rendering:crispEdges}
.defs{position:absolute;width:0;height:0}
.grid{fill:none;stroke:#eceff2;stroke-width:1;vector-effect:non-scaling-stroke}
.gl{fill:#8c959f}
.fit{fill:none;stroke:#24292f;stroke-opacity:.7;stroke-width:1;stroke-dasharray:6 4;vector-effect:non-scaling-stroke}
.jit{fill:none;stroke:#24292f;stroke-width:1.5;vector-effect:non-scaling-stroke}
.lim{fill:none;stroke:#c62828;stroke-width:1;stroke-dasharray:4 3;vector-effect:non-scaling-stroke}
.axis{fill:none;stroke:#8c959f;stroke-width:1;vector-effect:non-scaling-stroke}
.dev{fill:none;stroke-width:1.5;stroke-linejoin:round;vector-effect:non-scaling-stroke}
.lbl{stroke:none;font-weight:700}
.charts{display:flex;flex-wrap:wrap;gap:10px}
.chart{width:310px;margin:0;background:#fff;border:1px solid #d0d7de;border-radius:6px;padding:6px 8px;break-inside:avoid}
.chart.jc{width:202px}
.chart.failed{border:2px solid #c62828}
.chart figcaption{font-size:12px;line-height:1.35}
.chart svg{background:#fafbfc}
.legend{display:flex;flex-wrap:wrap;gap:4px 14px;font-size:12px;margin:6px 0}
.legend .sw{width:14px;height:14px}
.hatch{background:repeating-linear-gradient(45deg,#fde2e2 0 3px,#d32f2f 3px 4px)!important;border:1px solid #d32f2f}
.empty{fill:url(#hatch);stroke:#d32f2f;stroke-width:1.5;vector-effect:non-scaling-stroke}
.cells{fill:none;stroke:#fff;stroke-width:1;vector-effect:non-scaling-stroke}
.t{stroke:none}
.wide{overflow-x:auto}
.v{white-space:nowrap}
@media print{body{background:#fff}main{max-width:none;padding:0}.wide{overflow:visible}table{font-size:11px}.tile,.chart{break-inside:avoid}h2{break-after:avoid}}
</style>)";

// The slot colours come first: the classes of paths and text below override their fill or stroke.
void WriteStyle(CHtml& h) {
    h << "<style>\n";
    for (int slot = 0; slot <= SLOT_COUNT; slot++) {
        std::string color = SlotColor(slot < SLOT_COUNT ? slot : -1);
        h << ".k" << slot << "{stroke:" << color << ";fill:" << color << ";background:" << color << "}.m"
          << slot << "{marker:url(#d" << slot << ")}";
    }
    h << STYLE;
}

// The dot at every point of a stroke, 4 stroke widths across, one per colour.
void WriteMarkers(CHtml& h) {
    h << "<svg class=\"defs\" aria-hidden=\"true\"><defs>";
    for (int slot = 0; slot <= SLOT_COUNT; slot++)
        h << "<marker id=\"d" << slot << "\" viewBox=\"-2 -2 4 4\" markerWidth=\"4\" markerHeight=\"4\" "
          << "overflow=\"visible\"><circle r=\"2\" fill=\"" << SlotColor(slot < SLOT_COUNT ? slot : -1)
          << "\" shape-rendering=\"crispEdges\"/></marker>";
    h << "</defs></svg>";
}

void WriteHeader(CHtml& h, const Report& report, const Options& options) {
    h << "<h1>Touch log report</h1><p class=\"sub\">kovrin-report &middot; "
      << Count(report.lines, "line read", "lines read") << " &middot; coverage cells of " << options.cellPx
      << "&nbsp;px &middot; lines: strokes at least " << Fixed(options.minLineLengthPx, 0)
      << "&nbsp;px from end to end &middot; stationary: every point within "
      << Fixed(options.stationaryExtentPx, 0) << "&nbsp;px of the DOWN";
    if (options.pxPerMm)
        h << " &middot; " << Fixed(*options.pxPerMm, 3) << "&nbsp;px per mm";
    h << "</p>";
}

void WriteVerdict(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    bool pass = verdict.failures.empty();
    h << "<section class=\"verdict " << (pass ? "pass" : "fail") << "\"><div class=\"word\">"
      << (pass ? "PASS" : "FAIL") << "</div><div class=\"why\">";
    if (!verdict.thresholds)
        h << "<b>No thresholds given</b><br>nothing was judged; give --max-jitter, --max-deviation or "
             "--max-gap to judge the strokes";
    else if (pass)
        h << "<b>Every threshold holds</b>";
    else
        h << "<b>" << Count(verdict.failures.size(), "failure", "failures") << "</b> over the thresholds";
    h << "</div></section>";
    if (!verdict.thresholds)
        return;

    OpenTable(h, {{"Figure"}, {"Limit"}, {"Judged"}, {"Largest"}, {"Result"}});
    for (Figure figure : {Figure::Jitter, Figure::Deviation, Figure::Gap}) {
        std::optional<double> limit = LimitOf(options, figure);
        if (!limit)
            continue;
        Judged judged;
        for (std::size_t i = 0; i < report.strokes.size(); i++) {
            std::optional<double> value = FigureOf(report.strokes[i], figure);
            if (!value)
                continue;
            judged.count++;
            if (*value > *limit)
                judged.failing++;
            if (*value > judged.worstValue) {
                judged.worstValue = *value;
                judged.worst = i;
            }
        }
        h << "<tr><td>" << FigureName(figure) << "</td><td>&le;&nbsp;"
          << Length(*limit, Decimals(figure), options) << "</td><td>"
          << Count(judged.count, JudgedNoun(figure, false), JudgedNoun(figure, true)) << "</td><td>";
        if (judged.count > 0) {
            const Stroke& worst = report.strokes[judged.worst];
            h << Length(judged.worstValue, Decimals(figure), options) << ", " << Swatch(worst.slot)
              << "contact&nbsp;" << worst.id << ", line&nbsp;" << worst.firstLine;
        } else {
            h << "&ndash;";
        }
        h << "</td><td>";
        if (judged.failing > 0)
            h << "<span class=\"bad\">FAIL</span> " << Count(judged.failing, "stroke", "strokes") << " over";
        else
            h << "<span class=\"ok\">holds</span>";
        h << "</td></tr>";
    }
    CloseTable(h);
    if (pass)
        return;

    h << "<h3>Failures</h3>";
    OpenTable(h,
              {{"Figure"}, {"Contact"}, {"Log lines"}, {"Value", true}, {"Limit", true}, {"Over by", true}});
    std::size_t shown = std::min(verdict.failures.size(), MAX_LISTED);
    for (std::size_t k = 0; k < shown; k++) {
        const Failure& f = verdict.failures[k];
        const Stroke& s = report.strokes[f.stroke];
        int decimals = Decimals(f.figure);
        h << "<tr><td>" << FigureName(f.figure) << "</td><td>" << Swatch(s.slot) << "contact " << s.id
          << "</td><td>" << LineRange(s) << "</td><td class=\"n bad\">"
          << Length(f.valuePx, decimals, options) << "</td><td class=\"n\">"
          << Length(f.limitPx, decimals, options) << "</td><td class=\"n\">"
          << Length(f.valuePx - f.limitPx, decimals, options) << "</td></tr>";
    }
    CloseTable(h);
    if (shown < verdict.failures.size())
        h << "<p class=\"note\">The first " << shown << " of " << verdict.failures.size()
          << " failures; the summary and the JSON list them all.</p>";
}

void Tile(CHtml& h, std::uint64_t value, const char* label, bool warn) {
    h << "<div class=\"tile" << (warn && value > 0 ? " warn" : "") << "\"><b>" << value << "</b><span>"
      << label << "</span></div>";
}

void WriteSummary(CHtml& h, const Report& report) {
    h << "<h2>Summary</h2><div class=\"tiles\">";
    Tile(h, report.messages, "messages", false);
    Tile(h, report.inputs, "inputs", false);
    Tile(h, report.StrokeCount(), "strokes", false);
    Tile(h, report.maxContacts, "most contacts down at once", false);
    Tile(h, report.droppedMessages, "messages that dropped inputs", true);
    Tile(h, report.droppedInputs, "dropped inputs", true);
    Tile(h, report.stuck, "stuck contacts", true);
    Tile(h, report.ghosts, "ghost inputs", true);
    Tile(h, report.redowns, "repeated DOWNs", true);
    Tile(h, report.singlePoints, "single-point strokes", true);
    Tile(h, report.lines, "lines read", false);
    Tile(h, report.badLines, "bad lines skipped", true);
    h << "</div>";
    if (report.cutOff)
        h << "<p class=\"cut\"><b>Cut off:</b> the log ends inside a line (kovrin was still writing it, or "
             "stopped); it was read up to its last whole line.</p>";
}

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
        AppendInt(fits, s.lineFrom.x);
        fits += ' ';
        AppendInt(fits, s.lineFrom.y);
        fits += 'L';
        AppendInt(fits, s.lineTo.x);
        fits += ' ';
        AppendInt(fits, s.lineTo.y);
    }
    if (!fits.empty())
        h << "<path class=\"fit\" d=\"" << fits << "\"/>";
    for (std::size_t i = 0; i < individual; i++) {
        const Stroke& s = strokes[i];
        if (!s.jitterPx || s.drawn.empty())
            continue;
        bool failed = verdict.failing[i] & (1 << (int)Figure::Jitter);
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
    if (options.pxPerMm && *options.pxPerMm > 0)
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

void ChartHead(CHtml& h, const Stroke& s, bool failed, bool jitter) {
    h << "<figure class=\"chart" << (jitter ? " jc" : "") << (failed ? " failed" : "") << "\"><figcaption>"
      << Swatch(s.slot) << "<b>contact " << s.id << "</b>" << (jitter ? "<br>" : " &middot; ") << "lines "
      << LineRange(s);
}

// The signed distance of a line stroke's points from its fitted line, along the stroke.
void WriteDeviationChart(CHtml& h, const Stroke& s, const Options& options, bool failed) {
    constexpr int W = 640, H = 200, MID = H / 2, AMPLITUDE = 80;
    ChartHead(h, s, failed, false);
    h << "<br>length " << Length(s.lengthPx, 1, options) << "<br><span class=\"" << (failed ? "bad" : "")
      << "\">max " << Length(*s.lineMaxDevPx, 2, options) << "</span>";
    if (s.lineRmsDevPx)
        h << "<br>RMS " << Length(*s.lineRmsDevPx, 2, options);
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
        AppendInt(path, x);
        path += ' ';
        AppendInt(path, y);
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
      << "\">jitter " << Length(*s.jitterPx, 2, options) << "</span></figcaption>";
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
            bool failed = verdict.failing[i] & (1 << (int)figure);
            if (has && failed == (pass == 0))
                order.push_back(i);
        }
    return order;
}

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
            h << "; dashed red: the limit of &plusmn;" << Length(*options.maxDeviationPx, 2, options);
        h << ".</p><div class=\"charts\">";
        std::vector<std::size_t> order = ChartOrder(report, verdict, Figure::Deviation);
        for (std::size_t i : order)
            WriteDeviationChart(h, report.strokes[i], options,
                                verdict.failing[i] & (1 << (int)Figure::Deviation));
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
            h << "; dashed red: the limit of " << Length(*options.maxJitterPx, 2, options);
        h << ".</p><div class=\"charts\">";
        std::vector<std::size_t> order = ChartOrder(report, verdict, Figure::Jitter);
        for (std::size_t i : order)
            WriteJitterChart(h, report.strokes[i], options, verdict.failing[i] & (1 << (int)Figure::Jitter));
        h << "</div>";
        if (order.size() < stationary)
            h << "<p class=\"note\">" << order.size() << " of " << stationary
              << " stationary contacts are shown, failing ones first; the table below has them all.</p>";
    }
}

int HeatLevel(std::uint64_t count, double logMax) {
    if (logMax <= 0)
        return HEAT_LEVELS - 1;
    int level = (int)std::ceil(HEAT_LEVELS * std::log1p((double)count) / logMax) - 1;
    return std::clamp(level, 0, HEAT_LEVELS - 1);
}

void WriteCoverage(CHtml& h, const Report& report, const Options& options) {
    const Coverage& c = report.coverage;
    h << "<h2>Coverage</h2>";
    std::int64_t cells = (std::int64_t)c.columns * c.rows;
    if (c.columns <= 0 || c.rows <= 0 || c.cellPx <= 0) {
        h << "<p>No points, no coverage.</p>";
        return;
    }
    // Blocks of b by b cells when the grid is too fine to draw cell by cell.
    std::int64_t b = std::max<std::int64_t>(1, (std::int64_t)std::sqrt((double)cells / MAX_HEAT_CELLS));
    while (((c.columns + b - 1) / b) * ((c.rows + b - 1) / b) > MAX_HEAT_CELLS)
        b++;
    std::int64_t bc = (c.columns + b - 1) / b, br = (c.rows + b - 1) / b;
    std::vector<std::uint64_t> sums((std::size_t)(bc * br), 0);
    std::vector<unsigned char> empty((std::size_t)(bc * br), 0);
    std::int64_t known = std::min<std::int64_t>(cells, (std::int64_t)c.counts.size());
    for (std::int64_t i = 0; i < known; i++)
        sums[(std::size_t)((i / c.columns / b) * bc + (i % c.columns) / b)] += c.counts[(std::size_t)i];
    for (std::int32_t e : c.emptyCells)
        if (e >= 0 && e < cells)
            empty[(std::size_t)((e / c.columns / b) * bc + (e % c.columns) / b)] = 1;
    std::uint64_t maxCount = 0;
    for (std::uint64_t v : sums)
        maxCount = std::max(maxCount, v);
    double logMax = std::log1p((double)maxCount);

    double scale = FitScale((double)c.columns * c.cellPx, (double)c.rows * c.cellPx) * c.cellPx * (double)b;
    OpenSvg(h, "fig", 0, 0, (double)bc, (double)br, scale, "points per coverage cell");
    double hatch = std::max(7 / scale, 0.02);
    h << "<defs><pattern id=\"hatch\" patternUnits=\"userSpaceOnUse\" width=\"" << Fixed(hatch, 3)
      << "\" height=\"" << Fixed(hatch, 3) << "\" patternTransform=\"rotate(45)\"><rect width=\""
      << Fixed(hatch, 3) << "\" height=\"" << Fixed(hatch, 3) << "\" fill=\"#fde2e2\"/><rect width=\""
      << Fixed(hatch * 0.3, 3) << "\" height=\"" << Fixed(hatch, 3)
      << "\" fill=\"#d32f2f\"/></pattern></defs><rect width=\"" << bc << "\" height=\"" << br
      << "\" fill=\"#f6f8fa\"/>";
    // One path per shade; runs of equal shade along a row are one rectangle.
    std::vector<std::string> levels(HEAT_LEVELS);
    for (std::int64_t row = 0; row < br; row++)
        for (std::int64_t col = 0; col < bc;) {
            std::uint64_t v = sums[(std::size_t)(row * bc + col)];
            if (v == 0) {
                col++;
                continue;
            }
            int level = HeatLevel(v, logMax);
            std::int64_t end = col + 1;
            while (end < bc && sums[(std::size_t)(row * bc + end)] != 0 &&
                   HeatLevel(sums[(std::size_t)(row * bc + end)], logMax) == level)
                end++;
            std::string& d = levels[(std::size_t)level];
            d += 'M';
            AppendInt(d, col);
            d += ' ';
            AppendInt(d, row);
            d += 'h';
            AppendInt(d, end - col);
            d += "v1h";
            AppendInt(d, col - end);
            d += 'z';
            col = end;
        }
    for (int level = 0; level < HEAT_LEVELS; level++)
        if (!levels[(std::size_t)level].empty())
            h << "<path fill=\"" << HEAT_COLORS[level] << "\" d=\"" << levels[(std::size_t)level] << "\"/>";
    if (bc <= 160 && br <= 160) {
        std::string grid;
        for (std::int64_t col = 1; col < bc; col++) {
            grid += 'M';
            AppendInt(grid, col);
            grid += " 0v";
            AppendInt(grid, br);
        }
        for (std::int64_t row = 1; row < br; row++) {
            grid += "M0 ";
            AppendInt(grid, row);
            grid += 'h';
            AppendInt(grid, bc);
        }
        h << "<path class=\"cells\" d=\"" << grid << "\"/>";
    }
    std::string holes;
    for (std::int64_t i = 0; i < bc * br; i++)
        if (empty[(std::size_t)i]) {
            holes += 'M';
            AppendInt(holes, i % bc);
            holes += ' ';
            AppendInt(holes, i / bc);
            holes += "h1v1h-1z";
        }
    if (!holes.empty())
        h << "<path class=\"empty\" d=\"" << holes << "\"/>";
    h << "</svg>";

    h << "<div class=\"legend\"><span>points per cell" << (b > 1 ? " block" : "") << ":</span>";
    for (int level = 0; level < HEAT_LEVELS; level++) {
        // The counts that land on this shade.
        double lo = std::floor(std::expm1(logMax * level / HEAT_LEVELS)) + 1;
        double hi = std::floor(std::expm1(logMax * (level + 1) / HEAT_LEVELS) + 1e-9);
        if (level == HEAT_LEVELS - 1)
            hi = (double)maxCount;
        if (maxCount == 0 || hi < lo)
            continue;
        h << "<span><span class=\"sw\" style=\"background:" << HEAT_COLORS[level] << "\"></span>"
          << Fixed(lo, 0);
        if (hi > lo)
            h << "&ndash;" << Fixed(hi, 0);
        h << "</span>";
    }
    h << "<span><span class=\"sw\" style=\"background:#f6f8fa\"></span>none</span><span><span class=\"sw "
         "hatch\"></span>empty cell inside the covered area (possible dead zone)</span></div>";

    std::string cell = Length(c.cellPx, 0, options);
    h << "<p class=\"note\">Cells of " << cell << ", " << c.columns << " &times; " << c.rows << " from ("
      << c.origin.x << ", " << c.origin.y << ") to ("
      << (std::int64_t)c.origin.x + (std::int64_t)c.columns * c.cellPx << ", "
      << (std::int64_t)c.origin.y + (std::int64_t)c.rows * c.cellPx << "), the bounding box of every point. ";
    if (b > 1)
        h << "Drawn in blocks of " << b << " &times; " << b
          << " cells; a block is hatched when it holds an empty "
          << "cell. ";
    if (c.emptyCells.empty()) {
        h << "<span class=\"ok\">No empty cell.</span></p>";
        return;
    }
    h << "<span class=\"bad\">" << Count(c.emptyCells.size(), "empty cell", "empty cells") << "</span>.</p>";
    h << "<p class=\"note\">Empty cells (client pixels):";
    std::size_t shown = std::min(c.emptyCells.size(), MAX_EMPTY_LISTED);
    for (std::size_t k = 0; k < shown; k++) {
        std::int64_t e = c.emptyCells[k];
        std::int64_t x = c.origin.x + (e % std::max(c.columns, 1)) * (std::int64_t)c.cellPx;
        std::int64_t y = c.origin.y + (e / std::max(c.columns, 1)) * (std::int64_t)c.cellPx;
        h << (k ? "; " : " ") << "x&nbsp;" << x << "&ndash;" << x + c.cellPx - 1 << " y&nbsp;" << y
          << "&ndash;" << y + c.cellPx - 1;
    }
    if (shown < c.emptyCells.size())
        h << "; and " << c.emptyCells.size() - shown << " more";
    h << ".</p>";
}

void WriteAnomalies(CHtml& h, const Report& report) {
    h << "<h2>Anomalies</h2>";
    if (report.anomalies.empty()) {
        h << "<p class=\"ok\">None: no stuck, ghost or repeated contact, no single-point stroke.</p>";
        return;
    }
    OpenTable(h, {{"Log line", true}, {"Contact", true}, {"What"}});
    std::size_t shown = std::min(report.anomalies.size(), MAX_LISTED);
    for (std::size_t k = 0; k < shown; k++) {
        const Anomaly& a = report.anomalies[k];
        h << "<tr><td class=\"n\">" << a.line << "</td><td class=\"n\">" << a.id << "</td><td"
          << (a.kind == AnomalyKind::SinglePoint ? "" : " class=\"bad\"") << '>' << AnomalyText(a.kind)
          << "</td></tr>";
    }
    CloseTable(h);
    std::uint64_t all = report.anomalies.size() + report.omittedAnomalies;
    if (shown < all)
        h << "<p class=\"note\">The first " << shown << " of " << all
          << " anomalies; the summary on the command line counts them all.</p>";
}

void WriteStrokeTable(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    if (report.strokes.empty())
        return;
    h << "<h2>Every stroke</h2>";
    OpenTable(h, {{"#", true},
                  {"Contact"},
                  {"Points", true},
                  {"Length px", true},
                  {"Max step px", true},
                  {"Mean step px", true},
                  {"Line dev max / RMS px", true},
                  {"Jitter px", true},
                  {"Log lines"},
                  {"End"}});
    std::size_t shown = std::min(report.strokes.size(), MAX_TABLE_ROWS);
    for (std::size_t i = 0; i < shown; i++) {
        const Stroke& s = report.strokes[i];
        unsigned char failing = verdict.failing[i];
        auto cell = [&](Figure figure) {
            return failing & (1 << (int)figure) ? "<td class=\"n bad\">" : "<td class=\"n\">";
        };
        h << "<tr><td class=\"n\">" << i + 1 << "</td><td>" << Swatch(s.slot) << s.id
          << "</td><td class=\"n\">" << s.points << "</td><td class=\"n\">"
          << LengthCell(s.lengthPx, 1, options) << "</td>" << cell(Figure::Gap);
        if (s.points > 1) // a single point has no step
            h << LengthCell(s.maxStepPx, 1, options) << "</td><td class=\"n\">"
              << LengthCell(s.meanStepPx, 1, options);
        else
            h << "</td><td class=\"n\">";
        h << "</td>" << cell(Figure::Deviation);
        if (s.lineMaxDevPx)
            h << Fixed(*s.lineMaxDevPx, 2) << " / " << (s.lineRmsDevPx ? Fixed(*s.lineRmsDevPx, 2) : "-")
              << (options.pxPerMm && *options.pxPerMm > 0
                      ? "<span class=\"mm\">" + Fixed(*s.lineMaxDevPx / *options.pxPerMm, 2) + " / " +
                            (s.lineRmsDevPx ? Fixed(*s.lineRmsDevPx / *options.pxPerMm, 2) : "-") +
                            "&nbsp;mm</span>"
                      : "");
        h << "</td>" << cell(Figure::Jitter);
        if (s.jitterPx)
            h << LengthCell(*s.jitterPx, 2, options);
        h << "</td><td>" << LineRange(s) << "</td><td>"
          << (s.lifted ? "UP" : "<span class=\"bad\">open</span>") << "</td></tr>";
    }
    CloseTable(h);
    if (shown < report.StrokeCount())
        h << "<p class=\"note\">The first " << shown << " of " << report.StrokeCount()
          << " strokes; the JSON (--json) lists " << report.strokes.size() << ".</p>";
}

void WriteNotes(CHtml& h, const Report& report) {
    if (report.diagnostics.empty())
        return;
    h << "<h2>Notes on the log</h2>";
    OpenTable(h, {{"Log line", true}, {"Note"}});
    std::size_t shown = std::min(report.diagnostics.size(), MAX_LISTED);
    for (std::size_t k = 0; k < shown; k++)
        h << "<tr><td class=\"n\">" << report.diagnostics[k].line << "</td><td>"
          << Escape(report.diagnostics[k].text) << "</td></tr>";
    CloseTable(h);
    if (shown < report.diagnostics.size())
        h << "<p class=\"note\">The first " << shown << " of " << report.diagnostics.size() << " notes.</p>";
}

} // namespace

void WriteHtmlPage(std::ostream& out, const Report& report, const Options& options) {
    Verdict verdict = Judge(report, options);
    CHtml h(out);
    h << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
         "content=\"width=device-width, initial-scale=1\"><title>"
      << (verdict.failures.empty() ? "PASS" : "FAIL") << " - kovrin-report</title>";
    WriteStyle(h);
    h << "</head><body>";
    WriteMarkers(h);
    h << "<main>";
    WriteHeader(h, report, options);
    WriteVerdict(h, report, options, verdict);
    WriteSummary(h, report);
    WriteDrawing(h, report, options, verdict);
    WriteCharts(h, report, options, verdict);
    WriteCoverage(h, report, options);
    WriteAnomalies(h, report);
    WriteStrokeTable(h, report, options, verdict);
    WriteNotes(h, report);
    h << "</main></body></html>\n";
}

} // namespace report
