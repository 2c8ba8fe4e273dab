#include "report/write/Format.h"

#include "touch/ContactSlots.h"

#include <charconv>
#include <cmath>

namespace report {

void AppendFixed(std::string& out, double value, int decimals) {
    char text[400]; // enough for any double in fixed notation
    std::to_chars_result r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    out.append(text, r.ptr);
}

std::string Count(std::uint64_t n, const char* one, const char* many) {
    std::string text = Integer(n);
    text += ' ';
    text += n == 1 ? one : many;
    return text;
}

std::string Length(double px, const Options& options, int decimals, const char* space) {
    std::string text = Fixed(px, decimals) + space + "px";
    if (options.pxPerMm)
        text += " (" + Fixed(px / *options.pxPerMm, decimals) + space + "mm)";
    return text;
}

std::string VectorLength(double px, double dx, double dy, const Options& options, int decimals,
                         const char* space) {
    std::string text = Fixed(px, decimals) + space + "px";
    if (std::optional<double> mm = options.VectorMm(dx, dy))
        text += " (" + Fixed(*mm, decimals) + space + "mm)";
    return text;
}

std::string OffsetLength(const GuidedItem& item, const Options& options, int decimals) {
    std::string text = Fixed(figures::OffsetOf(item).value_or(0), decimals) + " px";
    if (std::optional<double> mm = figures::OffsetMmOf(item, options))
        text += " (" + Fixed(*mm, decimals) + " mm)";
    return text;
}

std::string ItemName(const GuidedItem& item) {
    switch (item.kind) {
    case GuideKind::Target:
        return "target " + Integer(item.item);
    case GuideKind::Line:
        return "line " + Integer(item.item - GUIDE_FIRST_LINE);
    default:
        return GuideKindName(item.kind);
    }
}

std::string FailureQuantity(double v, const Failure& f, const Options& options, int decimals,
                            const char* space) {
    if (!f.mmPerPx)
        return Quantity(v, Describe(f.figure).unit, options, decimals, space);
    return Fixed(v, decimals) + space + "px (" + Fixed(v * *f.mmPerPx, decimals) + space + "mm)";
}

std::string Quantity(double value, Unit unit, const Options& options, int decimals, const char* space) {
    switch (unit) {
    case Unit::Px:
        return Length(value, options, decimals, space);
    case Unit::Hz:
        return Fixed(value, decimals) + space + "Hz";
    case Unit::Ms:
        return Fixed(value, decimals) + space + "ms";
    case Unit::Count:
        break;
    }
    return Fixed(value, decimals);
}

std::string PadLeft(std::string_view text, std::size_t width) {
    std::string out(width > text.size() ? width - text.size() : 0, ' ');
    out += text;
    return out;
}

std::string PadRight(std::string_view text, std::size_t width) {
    std::string out(text);
    if (width > out.size())
        out.append(width - out.size(), ' ');
    return out;
}

std::string Fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return "-";
    std::string text;
    AppendFixed(text, value, decimals);
    // A value that rounds to zero reads 0, whatever its sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

const char* SlotColourName(int slot) {
    static const char* const names[SLOT_COUNT] = {"navy",    "red",   "green", "blue",  "yellow",
                                                  "magenta", "cyan",  "grey",  "olive", "orange",
                                                  "black",   "black", "black", "black", "black"};
    return slot >= 0 && slot < SLOT_COUNT ? names[slot] : "none";
}

const char* AnomalyName(AnomalyKind kind) {
    switch (kind) {
    case AnomalyKind::Stuck:
        return "stuck";
    case AnomalyKind::Ghost:
        return "ghost";
    case AnomalyKind::Redown:
        return "redown";
    case AnomalyKind::SinglePoint:
        return "single_point";
    case AnomalyKind::Backwards:
        return "backwards";
    }
    return "";
}

const char* AnomalyText(AnomalyKind kind) {
    switch (kind) {
    case AnomalyKind::Stuck:
        return "stuck: went down and never up";
    case AnomalyKind::Ghost:
        return "ghost: moved or went up without being down";
    case AnomalyKind::Redown:
        return "repeated DOWN: went down again while down";
    case AnomalyKind::SinglePoint:
        return "single point: its stroke has one point";
    case AnomalyKind::Backwards:
        return "time went back: its time stamp is earlier than the point before";
    }
    return "";
}

} // namespace report
