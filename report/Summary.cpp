#include "report/Summary.h"

#include "report/Format.h"

#include <cstdarg>
#include <cstdio>

namespace report {

namespace {

class CText {
public:
    explicit CText(std::string& out) : m_out(out) {}

    void Line(const char* format, ...)
#if defined(__MINGW32__)
        __attribute__((format(gnu_printf, 2, 3)))
#elif defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
    {
        char line[512];
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        if (n > 0)
            m_out.append(line, (std::size_t)n < sizeof line ? (std::size_t)n : sizeof line - 1);
        m_out += '\n';
    }

    void Blank() {
        m_out += '\n';
    }

private:
    std::string& m_out;
};

unsigned long long U(std::uint64_t v) {
    return (unsigned long long)v;
}

// "12.500 px" or, with --px-per-mm, "12.500 px (1.603 mm)".
std::string Length(double px, const Options& options) {
    std::string text = Fixed(px) + " px";
    if (options.pxPerMm)
        text += " (" + Fixed(px / *options.pxPerMm) + " mm)";
    return text;
}

// A grid up to this size is drawn as a character map; a larger one lists
// its first empty cells.
constexpr std::int32_t MAP_COLUMNS = 120;
constexpr std::int32_t MAP_ROWS = 80;
constexpr std::size_t EMPTY_CELLS_LISTED = 20;

// "1 stroke", "2 strokes".
std::string Many(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void More(CText& t, std::uint64_t more) {
    if (more)
        t.Line("  ... and %llu more, not listed", U(more));
}

} // namespace

std::string FormatSummary(const Report& r, const Options& options, const std::vector<Failure>& failures,
                          const std::string& fileName) {
    std::string out;
    CText t(out);
    t.Line("kovrin-report: %s", fileName.c_str());
    std::string lines = std::to_string(r.lines) + " lines";
    if (r.badLines)
        lines += ", " + std::to_string(r.badLines) + " skipped as malformed";
    if (r.cutOff)
        lines += ", then a last line cut off mid-line (not analysed)";
    t.Line("  %s", lines.c_str());
    t.Line("  %s, %s, %s; at most %s down at once", Many(r.messages, "message", "messages").c_str(),
           Many(r.inputs, "input", "inputs").c_str(), Many(r.StrokeCount(), "stroke", "strokes").c_str(),
           Many(r.maxContacts, "contact", "contacts").c_str());
    if (r.droppedMessages)
        t.Line("  dropped inputs: %s announced %s more than were logged",
               Many(r.droppedMessages, "message", "messages").c_str(),
               Many(r.droppedInputs, "input", "inputs").c_str());
    else
        t.Line("  dropped inputs: none");

    t.Blank();
    t.Line("Anomalies: %llu stuck, %s, %llu repeated DOWN, %s", U(r.stuck),
           Many(r.ghosts, "ghost", "ghosts").c_str(), U(r.redowns),
           Many(r.singlePoints, "single-point stroke", "single-point strokes").c_str());
    std::size_t listed = r.anomalies.size() < SUMMARY_MAX_ROWS ? r.anomalies.size() : SUMMARY_MAX_ROWS;
    for (std::size_t i = 0; i < listed; i++) {
        const Anomaly& a = r.anomalies[i];
        t.Line("  line %-10llu contact %-10lu %s", U(a.line), (unsigned long)a.id, AnomalyText(a.kind));
    }
    More(t, r.anomalies.size() + r.omittedAnomalies - listed);

    t.Blank();
    t.Line("Strokes (lengths in px):");
    t.Line("  %6s %10s %4s %-7s %10s %10s %8s %11s %9s %9s  %s", "#", "id", "slot", "colour", "first line",
           "last line", "points", "length", "max step", "mean step", "box");
    for (std::size_t i = 0; i < r.strokes.size() && i < SUMMARY_MAX_ROWS; i++) {
        const Stroke& s = r.strokes[i];
        std::string box = "(" + std::to_string(s.min.x) + "," + std::to_string(s.min.y) + ")-(" +
                          std::to_string(s.max.x) + "," + std::to_string(s.max.y) + ")";
        t.Line("  %6zu %10lu %4d %-7s %10llu %10llu %8llu %11s %9s %9s  %s%s", i + 1, (unsigned long)s.id,
               s.slot, SlotColourName(s.slot), U(s.firstLine), U(s.lastLine), U(s.points),
               Fixed(s.lengthPx).c_str(), Fixed(s.maxStepPx).c_str(), Fixed(s.meanStepPx).c_str(),
               box.c_str(), s.lifted ? "" : " (not lifted)");
    }
    More(t, r.StrokeCount() - (r.strokes.size() < SUMMARY_MAX_ROWS ? r.strokes.size() : SUMMARY_MAX_ROWS));
    if (r.omittedStrokes)
        t.Line("  (%llu strokes past the first %zu, all within every threshold, are counted but not kept)",
               U(r.omittedStrokes), r.strokes.size());

    t.Blank();
    t.Line("Lines (strokes at least %s from end to end): distance of the points from the fitted line",
           Length(options.minLineLengthPx, options).c_str());
    std::size_t shown = 0, found = 0;
    for (std::size_t i = 0; i < r.strokes.size(); i++) {
        const Stroke& s = r.strokes[i];
        if (!s.lineMaxDevPx)
            continue;
        if (found++ < SUMMARY_MAX_ROWS) {
            shown++;
            t.Line("  stroke %-6zu contact %-10lu line %-10llu largest %s, rms %s", i + 1,
                   (unsigned long)s.id, U(s.firstLine), Length(*s.lineMaxDevPx, options).c_str(),
                   Length(*s.lineRmsDevPx, options).c_str());
        }
    }
    if (!found)
        t.Line("  none");
    More(t, found - shown);

    t.Blank();
    t.Line("Stationary (all points within %s of the DOWN): jitter, the largest distance from it",
           Length(options.stationaryExtentPx, options).c_str());
    shown = found = 0;
    for (std::size_t i = 0; i < r.strokes.size(); i++) {
        const Stroke& s = r.strokes[i];
        if (!s.jitterPx)
            continue;
        if (found++ < SUMMARY_MAX_ROWS) {
            shown++;
            t.Line("  stroke %-6zu contact %-10lu line %-10llu jitter %s over %s", i + 1, (unsigned long)s.id,
                   U(s.firstLine), Length(*s.jitterPx, options).c_str(),
                   Many(s.points, "point", "points").c_str());
        }
    }
    if (!found)
        t.Line("  none");
    More(t, found - shown);

    t.Blank();
    const Coverage& c = r.coverage;
    if (c.columns == 0) {
        t.Line("Coverage: no points");
    } else {
        t.Line("Coverage: %d x %d cells of %d px from (%d, %d), %zu empty (possible dead zones)", c.columns,
               c.rows, c.cellPx, c.origin.x, c.origin.y, c.emptyCells.size());
        if (c.cellPx != c.requestedCellPx)
            t.Line(
                "  the seen area is too large for %d px cells: enlarged to %d px to stay within %lld cells",
                c.requestedCellPx, c.cellPx, (long long)1000000);
        if (c.columns <= MAP_COLUMNS && c.rows <= MAP_ROWS) {
            t.Line("  map, top row first ('#' points, '.' none):");
            for (std::int32_t row = 0; row < c.rows; row++) {
                std::string line = "  ";
                for (std::int32_t column = 0; column < c.columns; column++)
                    line += c.counts[(std::size_t)row * c.columns + column] ? '#' : '.';
                t.Line("%s", line.c_str());
            }
        } else {
            std::size_t listed =
                c.emptyCells.size() < EMPTY_CELLS_LISTED ? c.emptyCells.size() : EMPTY_CELLS_LISTED;
            for (std::size_t i = 0; i < listed; i++) {
                int column = c.emptyCells[i] % c.columns, row = c.emptyCells[i] / c.columns;
                long long x = (long long)c.origin.x + (long long)column * c.cellPx;
                long long y = (long long)c.origin.y + (long long)row * c.cellPx;
                t.Line("  empty: column %d, row %d: x %lld..%lld, y %lld..%lld", column, row, x,
                       x + c.cellPx - 1, y, y + c.cellPx - 1);
            }
            More(t, c.emptyCells.size() - listed);
        }
    }

    t.Blank();
    bool anyLimit = options.maxJitterPx || options.maxDeviationPx || options.maxGapPx;
    if (!anyLimit) {
        t.Line("Verdict: no thresholds given");
    } else if (failures.empty()) {
        t.Line("Verdict: PASS, every threshold holds");
    } else {
        t.Line("Verdict: FAIL, %s",
               Many(failures.size(), "threshold exceeded", "thresholds exceeded").c_str());
        for (std::size_t i = 0; i < failures.size() && i < SUMMARY_MAX_ROWS; i++) {
            const Failure& f = failures[i];
            const Stroke& s = r.strokes[f.stroke];
            t.Line("  FAIL %s of contact %lu (stroke %zu, down at line %llu): %s over the limit %s by %s",
                   FigureName(f.figure), (unsigned long)s.id, f.stroke + 1, U(s.firstLine),
                   Length(f.valuePx, options).c_str(), Length(f.limitPx, options).c_str(),
                   Length(f.valuePx - f.limitPx, options).c_str());
        }
        More(t, failures.size() < SUMMARY_MAX_ROWS ? 0 : failures.size() - SUMMARY_MAX_ROWS);
    }
    return out;
}

} // namespace report
