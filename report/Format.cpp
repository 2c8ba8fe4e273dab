#include "report/Format.h"

#include "touch/ContactSlots.h"

#include <charconv>

namespace report {

void AppendFixed(std::string& out, double value, int decimals) {
    char text[400]; // enough for any double in fixed notation
    std::to_chars_result r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    out.append(text, r.ptr);
}

void AppendInteger(std::string& out, std::int64_t value) {
    char text[24];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
    out.append(text, r.ptr);
}

void AppendInteger(std::string& out, std::uint64_t value) {
    char text[24];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
    out.append(text, r.ptr);
}

std::string Fixed(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

const char* SlotColourName(int slot) {
    static const char* const names[SLOT_COUNT] = {"navy",    "red",   "green", "blue",  "yellow",
                                                  "magenta", "cyan",  "grey",  "olive", "orange",
                                                  "black",   "black", "black", "black", "black"};
    return slot >= 0 && slot < SLOT_COUNT ? names[slot] : "none";
}

} // namespace report
