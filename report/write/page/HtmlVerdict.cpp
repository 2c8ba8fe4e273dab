// The top of the page: the verdict it is given, each limit with what it found,
// and the worst failures.
#include "report/write/page/HtmlParts.h"

namespace report {

namespace {

// The options that set limits, for a sentence: "--a, --b or --c".
std::string LimitOptions() {
    std::string text;
    for (int i = 0; i < FIGURE_COUNT; i++) {
        if (i > 0)
            text += i + 1 < FIGURE_COUNT ? ", " : " or ";
        text += FIGURES[i].option;
    }
    return text;
}

const char* Comparison(const FigureInfo& info) {
    return info.bound == Bound::AtMost ? "&le;&nbsp;" : "&ge;&nbsp;";
}

const char* Beyond(const FigureInfo& info) {
    return info.bound == Bound::AtMost ? "over" : "under";
}

void WriteBanner(CHtml& h, const Verdict& verdict) {
    static const char* const CLASSES[] = {"none", "pass", "fail"};
    static const char* const WORDS[] = {"NOT JUDGED", "PASS", "FAIL"};
    h << "<section class=\"verdict " << CLASSES[(int)verdict.outcome] << "\"><div class=\"word\">"
      << WORDS[(int)verdict.outcome] << "</div><div class=\"why\">";
    switch (verdict.outcome) {
    case Outcome::NotJudged:
        if (verdict.figures.empty())
            h << "<b>No thresholds given</b><br>nothing was judged; give " << LimitOptions()
              << " to judge the strokes";
        else
            h << "<b>" << Count(verdict.Unjudged(), "limit", "limits")
              << " given had nothing to judge</b><br>a limit passes only what it judged; the table says what "
                 "each needed";
        break;
    case Outcome::Pass:
        h << "<b>Every threshold holds</b>";
        break;
    case Outcome::Fail:
        h << "<b>" << Count(verdict.failures.size(), "failure", "failures") << "</b> beyond the thresholds";
        break;
    }
    h << "</div></section>";
}

void WriteLimits(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    OpenTable(h, {{"Figure"}, {"Limit"}, {"Judged"}, {"Worst"}, {"Result"}});
    for (const FigureVerdict& f : verdict.figures) {
        const FigureInfo& info = Describe(f.figure);
        h << "<tr><td>" << info.name << "</td><td>" << Comparison(info)
          << Value(f.limit, info.unit, info.pageDecimals, options) << "</td><td>"
          << Count(f.judged, info.judgedOne, info.judgedMany) << "</td><td>";
        if (f.worstValue)
            h << FailureValue(*f.worstValue, info, f.worstMmPerPx, options);
        else
            h << "&ndash;";
        if (f.worstItem)
            h << ", " << ItemName(report.guided->items[*f.worstItem]);
        if (f.worst) {
            const Stroke& worst = report.strokes[*f.worst];
            h << ", " << Swatch(worst.slot) << "contact&nbsp;" << worst.id << ", line&nbsp;"
              << worst.firstLine;
        }
        h << "</td><td>";
        switch (f.outcome) {
        case Outcome::Fail:
            h << "<span class=\"bad\">FAIL</span> "
              << (info.scope == Scope::Stroke ? Count(f.failing, "stroke", "strokes")
                  : info.scope == Scope::Item ? Count(f.failing, "item", "items")
                  : f.failing > 1             ? std::string("the session and its contacts item")
                  : f.worstItem               ? std::string("the contacts item")
                                              : std::string("the session"))
              << " " << Beyond(info);
            break;
        case Outcome::Pass:
            h << "<span class=\"ok\">holds</span>";
            break;
        case Outcome::NotJudged:
            h << "<span class=\"nj\">NOT JUDGED</span> needs a " << info.judgedOne;
            break;
        }
        h << "</td></tr>";
    }
    CloseTable(h);
}

void WriteWorstFailures(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    h << "<h3>Worst failures</h3>";
    OpenTable(
        h, {{"Figure"}, {"Contact"}, {"Log lines"}, {"Value", true}, {"Limit", true}, {"Beyond by", true}});
    for (std::size_t k : verdict.worstFirst) {
        const Failure& f = verdict.failures[k];
        const FigureInfo& info = Describe(f.figure);
        h << "<tr><td>" << info.name << "</td><td>";
        if (f.item) {
            const GuidedItem& item = report.guided->items[*f.item];
            h << ItemName(item);
            if (item.contact)
                h << ", contact " << *item.contact;
            h << "</td><td>";
            if (item.firstLine)
                h << item.firstLine;
            else
                h << "&ndash;";
        } else if (f.stroke == SESSION) {
            h << "the session</td><td>&ndash;";
        } else {
            const Stroke& s = report.strokes[f.stroke];
            h << Swatch(s.slot) << "contact " << s.id << "</td><td>" << LineRange(s);
        }
        if (f.missed) {
            h << "</td><td class=\"n bad\">missed</td><td class=\"n\">"
              << FailureValue(f.limit, info, f.mmPerPx, options) << "</td><td class=\"n\">&ndash;</td></tr>";
            continue;
        }
        h << "</td><td class=\"n bad\">" << FailureValue(f.value, info, f.mmPerPx, options)
          << "</td><td class=\"n\">" << FailureValue(f.limit, info, f.mmPerPx, options)
          << "</td><td class=\"n\">" << FailureValue(f.Excess(), info, f.mmPerPx, options) << "</td></tr>";
    }
    CloseTable(h);
    if (verdict.worstFirst.size() < verdict.failures.size())
        h << "<p class=\"note\">The worst " << verdict.worstFirst.size() << " of " << verdict.failures.size()
          << " failures, by how far they are beyond their limit, with the worst of each figure; the JSON "
             "(--json) lists them all.</p>";
}

} // namespace

void WriteVerdict(CHtml& h, const Report& report, const Options& options, const Verdict& verdict) {
    WriteBanner(h, verdict);
    if (verdict.figures.empty())
        return;
    WriteLimits(h, report, options, verdict);
    if (verdict.outcome == Outcome::Fail)
        WriteWorstFailures(h, report, options, verdict);
}

} // namespace report
