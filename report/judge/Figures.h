// The judged figures, each defined once: its name, the option that sets its
// limit, its unit, which way it fails, what has it and how it is rounded. The
// command line, the verdict and every writer read this table, so a new figure
// is one more row.
#pragma once

#include "report/analyse/Report.h"

#include <optional>

namespace report {

// What a figure is counted in.
enum class Unit { Px, Hz, Ms, Count };

enum class Figure { Jitter, Deviation, Gap, Rate, Interval, Contacts, Offset };
constexpr int FIGURE_COUNT = 7;

// Which side of its limit a figure must stay on; a figure equal to its limit
// holds either way.
enum class Bound { AtMost, AtLeast };

// What a figure is a figure of: a stroke, the session, or an item of a
// guided run.
enum class Scope { Stroke, Session, Item };

struct FigureInfo {
    Figure figure;
    const char* name;      // in the summary, the JSON and the page
    const char* option;    // sets the limit
    const char* optionArg; // what the option takes, in --help
    const char* help;      // --help's text, lines broken with '\n'
    Unit unit;
    Bound bound;
    Scope scope;
    bool needsTime;        // only touch.csv has it
    int decimals;          // in the summary
    int pageDecimals;      // on the page
    const char* judgedOne; // what has the figure ("stationary stroke")
    const char* judgedMany;
    std::optional<double> Options::*limit;
    std::optional<double> (*of)(const Stroke&);        // a stroke's value; none: it does not have it
    std::optional<double> (*ofSession)(const Report&); // the session's, for Scope::Session
    // A guided item's value; none: it does not have it. A figure of the
    // session may judge an item too (the contacts item).
    std::optional<double> (*ofItem)(const GuidedItem&);
    // Whether a missed item fails the figure (it has no value).
    bool (*failsMissed)(const GuidedItem&);
    // A guided item's value in mm where it is a vector's length, converted
    // axis by axis (the guide's two scales may differ), and the limit as
    // given in mm, against which such a value is judged.
    std::optional<double> (*itemMm)(const GuidedItem&, const Options&);
    std::optional<double> Options::*limitMm;
};

namespace figures {
inline std::optional<double> None(const Stroke&) {
    return std::nullopt;
}
inline std::optional<double> NoSession(const Report&) {
    return std::nullopt;
}
inline std::optional<double> NoItem(const GuidedItem&) {
    return std::nullopt;
}
inline bool NeverMissed(const GuidedItem&) {
    return false;
}
inline std::optional<double> NoItemMm(const GuidedItem&, const Options&) {
    return std::nullopt;
}
// Where a guided target, hold or line strayed furthest from where it was asked.
inline std::optional<double> OffsetOf(const GuidedItem& item) {
    return item.kind == GuideKind::Line ? item.guideOffsetPx : item.maxOffsetPx;
}
inline bool TargetMissed(const GuidedItem& item) {
    return item.missed && (item.kind == GuideKind::Target || item.kind == GuideKind::Hold);
}
// The vector of that farthest point, in mm.
inline std::optional<double> OffsetMmOf(const GuidedItem& item, const Options& options) {
    if (item.kind == GuideKind::Line)
        return item.guideOffsetPx ? options.VectorMm(item.guideOffsetXPx, item.guideOffsetYPx) : std::nullopt;
    return item.maxOffsetPx ? options.VectorMm(item.maxOffsetXPx, item.maxOffsetYPx) : std::nullopt;
}
} // namespace figures

inline constexpr FigureInfo FIGURES[FIGURE_COUNT] = {
    {Figure::Jitter,
     "jitter",
     "--max-jitter",
     "L",
     "fail when a stationary contact wanders further than L\nfrom where it went down",
     Unit::Px,
     Bound::AtMost,
     Scope::Stroke,
     false,
     3,
     2,
     "stationary stroke",
     "stationary strokes",
     &Options::maxJitterPx,
     [](const Stroke& s) { return s.jitterPx; },
     figures::NoSession,
     figures::NoItem,
     figures::NeverMissed,
     figures::NoItemMm,
     nullptr},
    {Figure::Deviation,
     "deviation",
     "--max-deviation",
     "L",
     "fail when a line's point lies further than L from the\nstraight line fitted through it",
     Unit::Px,
     Bound::AtMost,
     Scope::Stroke,
     false,
     3,
     2,
     "line stroke",
     "line strokes",
     &Options::maxDeviationPx,
     [](const Stroke& s) { return s.lineMaxDevPx; },
     figures::NoSession,
     figures::NoItem,
     figures::NeverMissed,
     figures::NoItemMm,
     nullptr},
    {Figure::Gap, "gap", "--max-gap", "L",
     "fail when two consecutive points of a stroke are\nfurther apart than L", Unit::Px, Bound::AtMost,
     Scope::Stroke, false, 3, 1, "stroke of two points or more", "strokes of two points or more",
     &Options::maxGapPx,
     // A single point has no step.
     [](const Stroke& s) { return s.points > 1 ? std::optional<double>(s.maxStepPx) : std::nullopt; },
     figures::NoSession, figures::NoItem, figures::NeverMissed, figures::NoItemMm, nullptr},
    {Figure::Rate,
     "rate",
     "--min-rate",
     "HZ",
     "fail when a stroke of a second or more has a whole\nsecond with fewer than HZ points (touch.csv)",
     Unit::Hz,
     Bound::AtLeast,
     Scope::Stroke,
     true,
     1,
     1,
     "stroke of a second or more",
     "strokes of a second or more",
     &Options::minRateHz,
     [](const Stroke& s) { return s.minRateHz; },
     figures::NoSession,
     figures::NoItem,
     figures::NeverMissed,
     figures::NoItemMm,
     nullptr},
    {Figure::Interval,
     "interval",
     "--max-interval",
     "MS",
     "fail when two consecutive points of a stroke are more\nthan MS milliseconds apart (touch.csv)",
     Unit::Ms,
     Bound::AtMost,
     Scope::Stroke,
     true,
     0,
     0,
     "stroke of two points or more",
     "strokes of two points or more",
     &Options::maxIntervalMs,
     [](const Stroke& s) { return s.maxIntervalMs ? std::optional<double>(*s.maxIntervalMs) : std::nullopt; },
     figures::NoSession,
     figures::NoItem,
     figures::NeverMissed,
     figures::NoItemMm,
     nullptr},
    {Figure::Contacts, "contacts", "--min-contacts", "N",
     "fail when fewer than N contacts were ever down at\nonce", Unit::Count, Bound::AtLeast, Scope::Session,
     false, 0, 0, "session", "sessions", &Options::minContacts, figures::None,
     [](const Report& r) { return std::optional<double>((double)r.maxContacts); },
     // With a guide, the contacts item too: the most down at once while it showed.
     [](const GuidedItem& i) {
         return i.contacts ? std::optional<double>((double)*i.contacts) : std::nullopt;
     },
     figures::NeverMissed, figures::NoItemMm, nullptr},
    {Figure::Offset,
     "offset",
     "--max-offset",
     "L",
     "fail when a point of a guided target or hold lies\nfurther than L from its centre, or of a guided "
     "line\n"
     "from its guide, and for every target or hold missed\n(touch.csv with guide.csv)",
     Unit::Px,
     Bound::AtMost,
     Scope::Item,
     true,
     3,
     2,
     "guided target, hold or line",
     "guided targets, holds and lines",
     &Options::maxOffsetPx,
     figures::None,
     figures::NoSession,
     figures::OffsetOf,
     figures::TargetMissed,
     figures::OffsetMmOf,
     &Options::maxOffsetMm},
};

constexpr const FigureInfo& Describe(Figure figure) {
    return FIGURES[(int)figure];
}

constexpr bool InFigureOrder() {
    for (int i = 0; i < FIGURE_COUNT; i++)
        if ((int)FIGURES[i].figure != i)
            return false;
    return true;
}
static_assert(InFigureOrder(), "FIGURES is indexed by Figure");

// Whether `value` is outside `limit` for this figure.
constexpr bool Exceeds(const FigureInfo& info, double value, double limit) {
    return info.bound == Bound::AtMost ? value > limit : value < limit;
}

} // namespace report
