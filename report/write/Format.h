// Where numbers, lengths and counts become text, for the summary, the JSON
// and the page alike. Numbers go through std::to_chars, so every build writes
// the same digits.
#pragma once

#include "report/analyse/Report.h"
#include "report/judge/Figures.h"
#include "report/judge/Verdict.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace report {

// Fixed notation with `decimals` digits after the point ("12.500").
void AppendFixed(std::string& out, double value, int decimals = 3);
template <class T> void AppendInteger(std::string& out, T value) {
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "a whole number");
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// The same as text, never "-0.000"; "-" for what is not a finite number.
std::string Fixed(double value, int decimals = 3);
template <class T> std::string Integer(T value) {
    std::string text;
    AppendInteger(text, value);
    return text;
}

// "1 stroke", "2 strokes".
std::string Count(std::uint64_t n, const char* one, const char* many);

// "12.500 px" or, with --px-per-mm, "12.500 px (1.603 mm)"; `space` goes
// between a number and its unit.
std::string Length(double px, const Options& options, int decimals = 3, const char* space = " ");

// The same for a length whose vector (dx, dy) px is known: its mm are taken
// axis by axis, as the guide's two scales ask.
std::string VectorLength(double px, double dx, double dy, const Options& options, int decimals = 3,
                         const char* space = " ");

// That figure as text: "3.100 px (0.820 mm)".
std::string OffsetLength(const GuidedItem& item, const Options& options, int decimals = 3);

// "target 3", "line 2", "hold", "contacts", "pair".
std::string ItemName(const GuidedItem& item);

// A failure's value, limit or excess `v` in its figure's unit; along a
// vector's direction, with the failure's own mm per px.
std::string FailureQuantity(double v, const Failure& f, const Options& options, int decimals = 3,
                            const char* space = " ");

// The value of a figure in its unit.
std::string Quantity(double value, Unit unit, const Options& options, int decimals = 3,
                     const char* space = " ");

// `text` padded with blanks to `width` characters, on the left (numbers) or
// on the right; never cut.
std::string PadLeft(std::string_view text, std::size_t width);
std::string PadRight(std::string_view text, std::size_t width);

// An anomaly's name in the JSON ("stuck", "ghost", "redown", "single_point")
// and what it means, for the summary and the page.
const char* AnomalyName(AnomalyKind kind);
const char* AnomalyText(AnomalyKind kind);

// The colour kovrin draws a slot in ("navy" ... "black"); "none" for -1.
const char* SlotColourName(int slot);

} // namespace report
