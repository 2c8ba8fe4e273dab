#include "report/write/page/HtmlParts.h"

#include <algorithm>
#include <cmath>

namespace report {

CHtml::CHtml(std::ostream& out) : m_out(out) {
    m_buffer.reserve(BLOCK * 2);
}

CHtml::~CHtml() {
    Flush();
}

void CHtml::Flush() {
    m_out.write(m_buffer.data(), (std::streamsize)m_buffer.size());
    m_buffer.clear();
}

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
    AppendInteger(html, SlotClass(slot));
    html += "\"></span>";
    return html;
}

std::string Value(double value, Unit unit, int decimals, const Options& options) {
    return "<span class=\"v\">" + Quantity(value, unit, options, decimals, "&nbsp;") + "</span>";
}

std::string FailureValue(double value, const FigureInfo& info, std::optional<double> mmPerPx,
                         const Options& options) {
    if (!mmPerPx)
        return Value(value, info.unit, info.pageDecimals, options);
    return "<span class=\"v\">" + Fixed(value, info.pageDecimals) + "&nbsp;px (" +
           Fixed(value * *mmPerPx, info.pageDecimals) + "&nbsp;mm)</span>";
}

std::string LengthCell(double px, int decimals, const Options& options) {
    std::string text = Fixed(px, decimals);
    if (options.pxPerMm)
        text += "<span class=\"mm\">" + Fixed(px / *options.pxPerMm, decimals) + "&nbsp;mm</span>";
    return text;
}

std::string LineRange(const Stroke& stroke) {
    std::string text;
    AppendInteger(text, stroke.firstLine);
    if (stroke.lastLine != stroke.firstLine) {
        text += "&ndash;";
        AppendInteger(text, stroke.lastLine);
    }
    return text;
}

double NiceStep(double least) {
    double power = std::pow(10.0, std::floor(std::log10(std::max(least, 1.0))));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= least)
            return m * power;
    return 10 * power;
}

double FitScale(double w, double h) {
    return std::min(FIGURE_WIDTH / std::max(w, 1.0), FIGURE_HEIGHT / std::max(h, 1.0));
}

void OpenSvg(CHtml& h, const char* cls, double x, double y, double w, double height, double scale,
             std::string_view label) {
    h << "<svg class=\"" << cls << "\" width=\"" << (std::int64_t)std::lround(w * scale) << "\" height=\""
      << (std::int64_t)std::lround(height * scale) << "\" viewBox=\"" << Fixed(x, 2) << ' ' << Fixed(y, 2)
      << ' ' << Fixed(w, 2) << ' ' << Fixed(height, 2) << "\" role=\"img\" aria-label=\"" << label << "\">";
}

void AppendStrokePath(std::string& d, const std::vector<Point>& points, std::size_t stride) {
    if (points.empty())
        return;
    stride = std::max<std::size_t>(stride, 1);
    auto number = [&d](std::int64_t v, bool first) {
        if (!first && v >= 0)
            d += ' ';
        AppendInteger(d, v);
    };
    std::int64_t x = points[0].x, y = points[0].y;
    d += 'M';
    AppendInteger(d, x);
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

void WriteStrokePath(CHtml& h, int cls, const std::string& d) {
    h << "<path class=\"s k" << cls << " m" << cls << "\" d=\"" << d << "\"/>";
}

void ChartHead(CHtml& h, const Stroke& s, bool failed, bool jitter) {
    h << "<figure class=\"chart" << (jitter ? " jc" : "") << (failed ? " failed" : "") << "\"><figcaption>"
      << Swatch(s.slot) << "<b>contact " << s.id << "</b>" << (jitter ? "<br>" : " &middot; ") << "lines "
      << LineRange(s);
}

void OpenTable(CHtml& h, std::initializer_list<Column> columns) {
    h << "<div class=\"wide\"><table><tr>";
    for (const Column& c : columns)
        h << (c.numeric ? "<th class=\"n\">" : "<th>") << c.name << "</th>";
    h << "</tr>";
}

void CloseTable(CHtml& h) {
    h << "</table></div>";
}

} // namespace report
