#include "report/write/Summary.h"

#include "report/analyse/CoverageGrid.h"
#include "report/write/Format.h"

#include <algorithm>

namespace report {

namespace {

// A grid up to this size is drawn as a character map; a larger one lists
// its first empty cells.
constexpr std::int32_t MAP_COLUMNS = 120;
constexpr std::int32_t MAP_ROWS = 80;
constexpr std::size_t EMPTY_CELLS_LISTED = 20;

class CText {
public:
    explicit CText(std::string& out) : m_out(out) {}

    // One line of the pieces given.
    template <class... Pieces> void Line(const Pieces&... pieces) {
        static_assert(sizeof...(pieces) > 0, "Blank() for an empty line");
        (m_out += ... += pieces);
        m_out += '\n';
    }

    void Blank() {
        m_out += '\n';
    }

    void More(std::uint64_t more) {
        if (more)
            Line("  ... and ", Integer(more), " more, not listed");
    }

private:
    std::string& m_out;
};

std::string Point2(std::int64_t x, std::int64_t y) {
    return "(" + Integer(x) + ", " + Integer(y) + ")";
}

void WriteSession(CText& t, const Report& r) {
    std::string lines = Integer(r.input.lines) + " lines";
    if (r.input.badLines)
        lines += ", " + Integer(r.input.badLines) + " skipped as malformed";
    if (r.input.cutOff)
        lines += ", then a last line cut off mid-line (not analysed)";
    t.Line("  ", lines);
    t.Line("  ", Count(r.messages, "message", "messages"), ", ", Count(r.inputs, "input", "inputs"), ", ",
           Count(r.StrokeCount(), "stroke", "strokes"), "; at most ",
           Count(r.maxContacts, "contact", "contacts"), " down at once");
    if (r.droppedMessages)
        t.Line("  dropped inputs: ", Count(r.droppedMessages, "message", "messages"), " announced ",
               Count(r.droppedInputs, "input", "inputs"), " more than were logged");
    else
        t.Line("  dropped inputs: none");
}

// What the positions say beyond each stroke.
void WritePositions(CText& t, const Report& r, const Options& options) {
    if (r.minStepPx)
        t.Line("  effective resolution: the smallest step seen is ", Length(*r.minStepPx, options));
    if (r.separation)
        t.Line("  closest contacts: ", Integer(r.separation->movedId), " came within ",
               Length(r.separation->px, options), " of ", Integer(r.separation->otherId), " at line ",
               Integer(r.separation->line));
}

// "+2.500, -1.000 px (+0.661, -0.265 mm)": a vector, its mm axis by axis.
std::string Vector(double dx, double dy, const Options& options) {
    auto signedFixed = [](double v) {
        std::string text = Fixed(v);
        return text[0] == '-' || text.find_first_not_of("0.") == std::string::npos ? text : "+" + text;
    };
    std::string text = signedFixed(dx) + ", " + signedFixed(dy) + " px";
    if (options.pxPerMmX)
        text +=
            " (" + signedFixed(dx / *options.pxPerMmX) + ", " + signedFixed(dy / *options.pxPerMmY) + " mm)";
    return text;
}

std::string ItemFigures(const GuidedItem& item, const Options& options) {
    switch (item.kind) {
    case GuideKind::Target:
    case GuideKind::Hold: {
        std::string text = "offset " + Vector(*item.offsetXPx, *item.offsetYPx, options) + ", farthest " +
                           VectorLength(*item.maxOffsetPx, item.maxOffsetXPx, item.maxOffsetYPx, options);
        if (item.jitterPx)
            text += ", jitter " + Length(*item.jitterPx, options);
        return text;
    }
    case GuideKind::Line: {
        std::string text =
            "from the guide " +
            VectorLength(*item.guideOffsetPx, item.guideOffsetXPx, item.guideOffsetYPx, options) +
            ", reach " + Fixed(*item.reachPct, 1) + "%";
        if (item.deviationPx)
            text += ", deviation " + Length(*item.deviationPx, options);
        return text;
    }
    case GuideKind::Contacts:
        return Count(*item.contacts, "contact", "contacts") + " down at once";
    case GuideKind::Pair:
        return item.separationPx ? "closest " + VectorLength(*item.separationPx, item.separationXPx,
                                                             item.separationYPx, options)
                                 : "never two down at once";
    }
    return "";
}

// A guided run: each item, what answered it, and how far the panel put the
// touches from where the tester was asked to touch.
void WriteGuided(CText& t, const Guided& g, const Options& options) {
    std::size_t done = 0;
    std::size_t missedCount = 0;
    std::string missed;
    for (const GuidedItem& item : g.items) {
        done += item.done;
        if (item.missed) {
            missedCount++;
            missed += (missed.empty() ? ": " : ", ") + ItemName(item);
        }
    }
    t.Line("Guided run ", Integer(g.run), ": ", Integer(done), " of ", Integer(g.items.size()),
           " items done, ", Integer(missedCount), " missed", missed);
    switch (options.scaleFrom) {
    case ScaleFrom::Guide:
        t.Line("  scale: ", Fixed(*options.pxPerMmX), " px/mm across, ", Fixed(*options.pxPerMmY),
               " px/mm down, from the guide's screen size (", Integer(g.screenMm.x), " x ",
               Integer(g.screenMm.y), " mm)");
        break;
    case ScaleFrom::Option:
        t.Line("  scale: ", Fixed(*options.pxPerMm), " px/mm, from --px-per-mm");
        break;
    case ScaleFrom::None:
        t.Line("  scale: none (the guide does not know the screen's size): figures in pixels only");
        break;
    }
    if (g.biasXPx) {
        std::string p95 = Fixed(*g.offsetP95Px) + " px";
        if (g.offsetP95Mm)
            p95 += " (" + Fixed(*g.offsetP95Mm) + " mm)";
        t.Line("  targets: bias ", Vector(*g.biasXPx, *g.biasYPx, options), ", offsets' 95th percentile ",
               p95, ", ", Integer(g.targetsMissed), " missed");
    } else {
        t.Line("  targets: none answered");
    }
    const GuidedItem* worst = nullptr;
    for (const GuidedItem& item : g.items)
        if (figures::OffsetOf(item) && (!worst || *figures::OffsetOf(item) > *figures::OffsetOf(*worst)))
            worst = &item;
    if (worst)
        t.Line("  worst item: ", ItemName(*worst), ", its farthest point ", OffsetLength(*worst, options),
               worst->kind == GuideKind::Line ? " from its guide" : " from its centre");
    t.Line("  ", PadLeft("item", 4), " ", PadRight("what", 10), " ", PadRight("where (client px)", 22), " ",
           PadRight("answer", 26), " figures");
    for (const GuidedItem& item : g.items) {
        std::string where = GuideItemIsPlaced(item.kind) ? Point2(item.from.x, item.from.y) : "";
        if (item.kind == GuideKind::Line)
            where += "-" + Point2(item.to.x, item.to.y);
        std::string answer = !item.done    ? "missed: never done"
                             : item.missed ? "missed: nothing answered"
                             : item.contact
                                 ? "contact " + Integer(*item.contact) + ", line " + Integer(item.firstLine)
                                 : "from line " + Integer(item.firstLine);
        if (item.extraTouches)
            answer += " (+" + Integer(item.extraTouches) + ")";
        t.Line("  ", PadLeft(Integer(item.item), 4), " ", PadRight(ItemName(item), 10), " ",
               PadRight(where, 22), " ", PadRight(answer, 26),
               item.missed ? "" : " " + ItemFigures(item, options));
    }
}

void WriteAnomalies(CText& t, const Report& r) {
    t.Line("Anomalies: ", Integer(r.stuck), " stuck, ", Count(r.ghosts, "ghost", "ghosts"), ", ",
           Integer(r.redowns), " repeated DOWN, ",
           Count(r.singlePoints, "single-point stroke", "single-point strokes"),
           r.input.format == InputFormat::TouchCsv
               ? ", " + Count(r.backwards, "time stamp that went back", "time stamps that went back")
               : "");
    std::size_t listed = std::min(r.anomalies.size(), SUMMARY_MAX_ROWS);
    for (std::size_t i = 0; i < listed; i++) {
        const Anomaly& a = r.anomalies[i];
        t.Line("  line ", PadRight(Integer(a.line), 10), " contact ", PadRight(Integer(a.id), 10), " ",
               AnomalyText(a.kind));
    }
    t.More(r.anomalies.size() + r.omittedAnomalies - listed);
}

void WriteStrokes(CText& t, const Report& r) {
    t.Line("Strokes (lengths in px):");
    t.Line("  ", PadLeft("#", 6), " ", PadLeft("id", 10), " ", PadLeft("slot", 4), " ", PadRight("colour", 7),
           " ", PadLeft("first line", 10), " ", PadLeft("last line", 10), " ", PadLeft("points", 8), " ",
           PadLeft("length", 11), " ", PadLeft("max step", 9), " ", PadLeft("mean step", 9), "  box");
    std::size_t listed = std::min(r.strokes.size(), SUMMARY_MAX_ROWS);
    for (std::size_t i = 0; i < listed; i++) {
        const Stroke& s = r.strokes[i];
        t.Line("  ", PadLeft(Integer(i + 1), 6), " ", PadLeft(Integer(s.id), 10), " ",
               PadLeft(Integer(s.slot), 4), " ", PadRight(SlotColourName(s.slot), 7), " ",
               PadLeft(Integer(s.firstLine), 10), " ", PadLeft(Integer(s.lastLine), 10), " ",
               PadLeft(Integer(s.points), 8), " ", PadLeft(Fixed(s.lengthPx), 11), " ",
               PadLeft(Fixed(s.maxStepPx), 9), " ", PadLeft(Fixed(s.meanStepPx), 9), "  (", Integer(s.min.x),
               ",", Integer(s.min.y), ")-(", Integer(s.max.x), ",", Integer(s.max.y), ")",
               s.lifted ? "" : " (not lifted)");
    }
    t.More(r.StrokeCount() - listed);
    if (r.omittedStrokes)
        t.Line("  (", Integer(r.omittedStrokes), " strokes past the first ", Integer(r.strokes.size()),
               ", all within every threshold, are counted but not kept)");
}

// The strokes that have an optional figure, one line each.
template <class Has, class Row> void WriteList(CText& t, const Report& r, Has&& has, Row&& row) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < r.strokes.size(); i++)
        if (has(r.strokes[i]) && found++ < SUMMARY_MAX_ROWS)
            t.Line("  stroke ", PadRight(Integer(i + 1), 6), " contact ",
                   PadRight(Integer(r.strokes[i].id), 10), " line ",
                   PadRight(Integer(r.strokes[i].firstLine), 10), " ", row(r.strokes[i]));
    if (!found)
        t.Line("  none");
    t.More(found - std::min(found, SUMMARY_MAX_ROWS));
}

// touch.csv: the time between reports, and each stroke's rate.
void WriteTiming(CText& t, const Report& r, const Options& options) {
    t.Blank();
    if (!r.intervals) {
        t.Line("Timing: no two timed points of one stroke");
        return;
    }
    const Intervals& i = *r.intervals;
    t.Line("Timing: ", Count(i.count, "interval", "intervals"),
           " between consecutive points of a stroke: median ", Integer(i.medianMs), " ms, 95% ",
           Integer(i.p95Ms), " ms, 99% ", Integer(i.p99Ms), " ms, largest ", Integer(i.maxMs),
           " ms; time went back ", Count(r.backwards, "time", "times"));
    WriteList(
        t, r, [](const Stroke& s) { return s.durationMs.has_value(); },
        [&](const Stroke& s) {
            std::string row = Integer(*s.durationMs) + " ms";
            if (s.rateHz)
                row += ", " + Fixed(*s.rateHz, 1) + " Hz";
            if (s.minRateHz)
                row += ", fewest in a second " + Fixed(*s.minRateHz, 0);
            if (s.maxIntervalMs)
                row += ", largest interval " + Integer(*s.maxIntervalMs) + " ms at line " +
                       Integer(s.maxIntervalLine);
            if (s.contactWPx)
                row += ", contact " + Fixed(*s.contactWPx, 2) + " x " + Length(*s.contactHPx, options, 2);
            return row;
        });
}

void WriteCoverage(CText& t, const Coverage& c) {
    if (c.columns == 0) {
        t.Line("Coverage: no points");
        return;
    }
    t.Line("Coverage: ", Integer(c.columns), " x ", Integer(c.rows), " cells of ", Integer(c.cellPx),
           " px from ", Point2(c.origin.x, c.origin.y), ", ", Integer(c.emptyCells.size()),
           " empty (possible dead zones)");
    if (c.cellPx != c.requestedCellPx)
        t.Line("  the seen area is too large for ", Integer(c.requestedCellPx), " px cells: enlarged to ",
               Integer(c.cellPx), " px to stay within ", Integer(MAX_COVERAGE_CELLS), " cells");
    if (c.columns <= MAP_COLUMNS && c.rows <= MAP_ROWS) {
        t.Line("  map, top row first ('#' points, '.' none):");
        for (std::int32_t row = 0; row < c.rows; row++) {
            std::string line = "  ";
            for (std::int32_t column = 0; column < c.columns; column++)
                line += c.counts[(std::size_t)row * c.columns + column] ? '#' : '.';
            t.Line(line);
        }
        return;
    }
    std::size_t listed = std::min(c.emptyCells.size(), EMPTY_CELLS_LISTED);
    for (std::size_t i = 0; i < listed; i++) {
        std::int32_t column = c.emptyCells[i] % c.columns, row = c.emptyCells[i] / c.columns;
        std::int64_t x = (std::int64_t)c.origin.x + (std::int64_t)column * c.cellPx;
        std::int64_t y = (std::int64_t)c.origin.y + (std::int64_t)row * c.cellPx;
        t.Line("  empty: column ", Integer(column), ", row ", Integer(row), ": x ", Integer(x), "..",
               Integer(x + c.cellPx - 1), ", y ", Integer(y), "..", Integer(y + c.cellPx - 1));
    }
    t.More(c.emptyCells.size() - listed);
}

// The limits given that had nothing to judge, and what each needed.
void WriteUnjudged(CText& t, const Options& options, const Verdict& verdict) {
    for (const FigureVerdict& f : verdict.figures) {
        if (f.outcome != Outcome::NotJudged)
            continue;
        const FigureInfo& info = Describe(f.figure);
        t.Line("  NOT JUDGED ", info.name, ": the limit ",
               Quantity(f.limit, info.unit, options, info.decimals), " needs a ", info.judgedOne,
               "; there is none");
    }
}

void WriteVerdict(CText& t, const Report& r, const Options& options, const Verdict& verdict) {
    switch (verdict.outcome) {
    case Outcome::NotJudged:
        if (verdict.figures.empty()) {
            t.Line("Verdict: no thresholds given");
        } else {
            t.Line("Verdict: NOT JUDGED, ", Count(verdict.Unjudged(), "limit", "limits"),
                   " given had nothing to judge");
            WriteUnjudged(t, options, verdict);
        }
        return;
    case Outcome::Pass:
        t.Line("Verdict: PASS, every threshold holds");
        return;
    case Outcome::Fail:
        break;
    }
    t.Line("Verdict: FAIL, ", Count(verdict.failures.size(), "threshold exceeded", "thresholds exceeded"));
    std::size_t listed = std::min(verdict.failures.size(), SUMMARY_MAX_ROWS);
    for (std::size_t i = 0; i < listed; i++) {
        const Failure& f = verdict.failures[i];
        const FigureInfo& info = Describe(f.figure);
        std::string what = " of the session";
        if (f.item) {
            const GuidedItem& item = r.guided->items[*f.item];
            what = " of " + ItemName(item) + " (item " + Integer(item.item) + ")";
            if (f.missed) {
                t.Line("  FAIL ", info.name, what, ": missed, never answered");
                continue;
            }
            if (item.contact)
                what += ", contact " + Integer(*item.contact) + " down at line " + Integer(item.firstLine);
        } else if (f.stroke != SESSION) {
            const Stroke& s = r.strokes[f.stroke];
            what = " of contact " + Integer(s.id) + " (stroke " + Integer(f.stroke + 1) + ", down at line " +
                   Integer(s.firstLine) + ")";
        }
        auto quantity = [&](double v) { return FailureQuantity(v, f, options, info.decimals); };
        t.Line("  FAIL ", info.name, what, ": ", quantity(f.value),
               info.bound == Bound::AtMost ? " over the limit " : " under the limit ", quantity(f.limit),
               " by ", quantity(f.Excess()));
    }
    t.More(verdict.failures.size() - listed);
    WriteUnjudged(t, options, verdict);
}

} // namespace

std::string FormatSummary(const Report& r, const Options& options, const Verdict& verdict,
                          const std::string& fileName) {
    std::string out;
    CText t(out);
    t.Line("kovrin-report: ", fileName);
    WriteSession(t, r);
    WritePositions(t, r, options);
    t.Blank();
    if (r.guided) {
        WriteGuided(t, *r.guided, options);
        t.Blank();
    }
    WriteAnomalies(t, r);
    t.Blank();
    WriteStrokes(t, r);
    t.Blank();
    t.Line("Lines (strokes at least ", Length(options.minLineLengthPx, options),
           " from end to end): distance of the points from the fitted line");
    WriteList(
        t, r, [](const Stroke& s) { return s.lineMaxDevPx.has_value(); },
        [&](const Stroke& s) {
            return "largest " + Length(*s.lineMaxDevPx, options) + ", rms " +
                   Length(*s.lineRmsDevPx, options);
        });
    t.Blank();
    t.Line("Stationary (all points within ", Length(options.stationaryExtentPx, options),
           " of the DOWN): jitter, the largest distance from it");
    WriteList(
        t, r, [](const Stroke& s) { return s.jitterPx.has_value(); },
        [&](const Stroke& s) {
            return "jitter " + Length(*s.jitterPx, options) + " over " + Count(s.points, "point", "points");
        });
    if (r.input.format == InputFormat::TouchCsv)
        WriteTiming(t, r, options);
    t.Blank();
    WriteCoverage(t, r.coverage);
    t.Blank();
    WriteVerdict(t, r, options, verdict);
    return out;
}

} // namespace report
