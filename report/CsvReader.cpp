// Seventeen comma-separated fields, plain numbers and the event's name: kovrin
// writes nothing that needs quoting, so a quote is as wrong as a letter in a
// number. One pass over the row without a call per field: rows come by the
// million.
#include "report/CsvReader.h"

#include <cstring>
#include <type_traits>

namespace report {

namespace {

constexpr std::int64_t I32_MIN = -2147483648LL, I32_MAX = 2147483647LL, U32_MAX = 4294967295LL;
constexpr std::int64_t ANY = 999999999999999999LL; // 18 digits

bool Is(const char* begin, const char* end, const char* text, std::size_t length) {
    return (std::size_t)(end - begin) == length && std::memcmp(begin, text, length) == 0;
}

} // namespace

const char* ParseCsvRow(const char* begin, const char* end, CsvRow& out) {
    const char* p = begin;
    // A whole number of at most 18 digits, with a leading '-' where `min`
    // allows one, from `min` to `max`, then a comma (or, for the last field,
    // the row's end).
    auto field = [&](std::int64_t min, std::int64_t max, std::int64_t& value, bool last = false) {
        bool minus = p < end && *p == '-' && min < 0;
        const char* digits = p + minus;
        const char* q = digits;
        std::uint64_t x = 0;
        // No test of `end` here: the line break there is no digit.
        for (unsigned d; (d = (unsigned char)*q - '0') < 10; q++)
            x = x * 10 + d;
        value = minus ? -(std::int64_t)x : (std::int64_t)x;
        if (q == digits || q - digits > 18 || value < min || value > max)
            return false;
        if (last ? q != end : q == end || *q != ',')
            return false;
        p = q + 1;
        return true;
    };
    // The field up to the next comma, as it is.
    auto text = [&](const char*& b, const char*& e) {
        b = p;
        while (p < end && *p != ',')
            p++;
        e = p;
        return p++ < end;
    };
    std::int64_t v = 0;
    auto get = [&](auto& out, std::int64_t min, std::int64_t max) {
        if (!field(min, max, v))
            return false;
        out = (std::remove_reference_t<decltype(out)>)v;
        return true;
    };
    const char *b = nullptr, *e = nullptr;
    if (!get(out.message, 1, ANY))
        return "malformed message";
    if (!get(out.input, 0, U32_MAX))
        return "malformed input";
    if (!get(out.announced, 0, 65535))
        return "malformed announced";
    if (!text(b, e))
        return "malformed event";
    out.hasPhase = true;
    if (Is(b, e, "MOVE", 4))
        out.phase = Phase::Move;
    else if (Is(b, e, "DOWN", 4))
        out.phase = Phase::Down;
    else if (Is(b, e, "UP", 2))
        out.phase = Phase::Up;
    else if (Is(b, e, "-", 1))
        out.hasPhase = false;
    else
        return "malformed event";
    if (!get(out.id, 0, U32_MAX))
        return "malformed id";
    if (!get(out.x, I32_MIN, I32_MAX))
        return "malformed x";
    if (!get(out.y, I32_MIN, I32_MAX))
        return "malformed y";
    if (!get(out.screenX, I32_MIN, I32_MAX))
        return "malformed screen_x";
    if (!get(out.screenY, I32_MIN, I32_MAX))
        return "malformed screen_y";
    if (!get(out.slot, -1, 14))
        return "malformed slot";
    if (!get(out.timeMs, 0, U32_MAX))
        return "malformed time_ms";
    if (!get(out.receivedUs, 0, ANY))
        return "malformed received_us";
    // The contact's size: both fields or neither.
    out.sized = *p != ',';
    if (out.sized) {
        if (!get(out.contactW, 0, U32_MAX))
            return "malformed contact size";
        if (!get(out.contactH, 0, U32_MAX))
            return "malformed contact size";
    } else if (p + 1 >= end || p[1] != ',') {
        return "malformed contact size";
    } else {
        p += 2;
    }
    if (!get(out.flags, 0, U32_MAX))
        return "malformed flags";
    if (!get(out.clientW, 0, I32_MAX))
        return "malformed client_w";
    if (!field(0, I32_MAX, v, true))
        return field(0, I32_MAX, v) ? "more than 17 fields" : "malformed client_h";
    out.clientH = (std::int32_t)v;
    return nullptr;
}

} // namespace report
