// Numbers and names as the summary and the JSON write them. Numbers go
// through std::to_chars, so every build writes the same digits.
#pragma once

#include <cstdint>
#include <string>

namespace report {

// Fixed notation with `decimals` digits after the point ("12.500").
void AppendFixed(std::string& out, double value, int decimals = 3);
void AppendInteger(std::string& out, std::int64_t value);
void AppendInteger(std::string& out, std::uint64_t value);

std::string Fixed(double value, int decimals = 3);

// The colour kovrin draws a slot in ("navy" ... "black"); "none" for -1.
const char* SlotColourName(int slot);

} // namespace report
