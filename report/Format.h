// Numbers and names as the summary and the JSON write them. Numbers go
// through std::to_chars, so every build writes the same digits.
#pragma once

#include "report/Report.h"

#include <cstdint>
#include <string>

namespace report {

// Fixed notation with `decimals` digits after the point ("12.500").
void AppendFixed(std::string& out, double value, int decimals = 3);
void AppendInteger(std::string& out, std::int64_t value);
void AppendInteger(std::string& out, std::uint64_t value);

// The same as text, never "-0.000"; "-" for what is not a finite number.
std::string Fixed(double value, int decimals = 3);

// An anomaly's name in the JSON ("stuck", "ghost", "redown", "single_point")
// and what it means, for the summary and the page.
const char* AnomalyName(AnomalyKind kind);
const char* AnomalyText(AnomalyKind kind);

// The colour kovrin draws a slot in ("navy" ... "black"); "none" for -1.
const char* SlotColourName(int slot);

} // namespace report
