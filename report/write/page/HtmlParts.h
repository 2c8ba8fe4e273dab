// What the sections of the report page share: the buffered writer, escaping,
// slot colours, lengths, tables, SVG frames and stroke paths; and the sections
// themselves, one file each (HtmlVerdict, HtmlDrawing, HtmlCharts,
// HtmlCoverage, HtmlTables), put together by HtmlPage.cpp.
#pragma once

#include "report/analyse/Report.h"
#include "report/judge/Verdict.h"
#include "report/write/Format.h"
#include "touch/ContactSlots.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace report {

constexpr double FIGURE_WIDTH = 960; // CSS px of the drawing and the coverage map at most
constexpr double FIGURE_HEIGHT = 640;
constexpr int NO_SLOT_CLASS = SLOT_COUNT; // the class of strokes without a slot: black
constexpr std::size_t MAX_LISTED = 500;   // rows of anomalies and notes

// The page's style sheet (page.css, embedded by the build).
extern const char* const PAGE_STYLE;

// Buffers the page and hands it to the stream in large blocks.
class CHtml {
public:
    explicit CHtml(std::ostream& out);
    ~CHtml();
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
        AppendInteger(m_buffer, value);
        return Spill();
    }
    void Flush();

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

// Text as HTML: markup characters escaped; bytes that are not UTF-8, control
// characters and non-characters become U+FFFD, so that any log line stays valid.
std::string Escape(std::string_view text);

// "#RRGGBB" of the colour kovrin draws a slot in; black without a slot.
std::string SlotColor(int slot);
int SlotClass(int slot);
// A small square in the slot's colour.
std::string Swatch(int slot);

// A figure's value in its unit, kept on one line.
std::string Value(double value, Unit unit, int decimals, const Options& options);
// A limit's or failure's value; along a vector's direction where `mmPerPx`
// is given (a guided item's offset).
std::string FailureValue(double value, const FigureInfo& info, std::optional<double> mmPerPx,
                         const Options& options);
// The same in a table cell: millimetres on a second, quieter line.
std::string LengthCell(double px, int decimals, const Options& options);

// "12" or "12&ndash;15": the log lines of a stroke.
std::string LineRange(const Stroke& stroke);

// The smallest of 1, 2, 5, 10, 20, 50... that is at least `least`.
double NiceStep(double least);
// How a drawing of w by h user units fits the page, in CSS pixels per unit.
double FitScale(double w, double h);
// The <svg> start tag of a drawing of the box, sized by `scale`.
void OpenSvg(CHtml& h, const char* cls, double x, double y, double w, double height, double scale,
             std::string_view label);

// Appends a stroke's points to path data: a relative polyline whose every
// vertex gets the slot's dot marker. Every `stride`-th point is kept, and the
// last; repeats are dropped. A single point is a zero-length segment.
void AppendStrokePath(std::string& d, const std::vector<Point>& points, std::size_t stride);
// A stroke group's path, as kovrin draws it: 1-pixel segments, a dot at every point.
void WriteStrokePath(CHtml& h, int cls, const std::string& d);

// The start of a chart of one stroke, up to its caption's first line: a
// narrow one for a jitter chart, a red frame when the stroke failed.
void ChartHead(CHtml& h, const Stroke& s, bool failed, bool jitter);

struct Column {
    const char* name;
    bool numeric = false; // right-aligned
};

// A table in a box that scrolls sideways on a narrow screen.
void OpenTable(CHtml& h, std::initializer_list<Column> columns);
void CloseTable(CHtml& h);

// The sections, in the order of the page.
void WriteVerdict(CHtml& h, const Report& report, const Options& options, const Verdict& verdict);
void WriteGuided(CHtml& h, const Report& report, const Options& options, const Verdict& verdict);
void WriteSummary(CHtml& h, const Report& report, const Options& options);
void WriteDrawing(CHtml& h, const Report& report, const Options& options, const Verdict& verdict);
void WriteCharts(CHtml& h, const Report& report, const Options& options, const Verdict& verdict);
void WriteTiming(CHtml& h, const Report& report, const Options& options, const Verdict& verdict);
void WriteCoverage(CHtml& h, const Report& report, const Options& options);
void WriteAnomalies(CHtml& h, const Report& report);
void WriteStrokeTable(CHtml& h, const Report& report, const Options& options, const Verdict& verdict);
void WriteNotes(CHtml& h, const Report& report);

} // namespace report
