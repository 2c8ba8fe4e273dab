// Seventeen comma-separated fields, plain numbers and the event's name: kovrin
// writes nothing that needs quoting, so a quote is as wrong as a letter in a
// number. One loop over the fields of a row: rows come by the million.
#include "report/read/CsvReader.h"

#include <cstring>

namespace report {

namespace {

constexpr std::int64_t I32_MIN = -2147483648LL, I32_MAX = 2147483647LL, U32_MAX = 4294967295LL;
constexpr std::int64_t ANY = 999999999999999999LL; // 18 digits

const bool LITTLE_ENDIAN_WORDS = [] {
    std::uint16_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}();

// Each field's parse is inlined where it is used, with its own range: 17
// small copies, no loop over the fields and no test of which field it is.
#if defined(_MSC_VER)
#define KOVRIN_INLINE __forceinline
#else
#define KOVRIN_INLINE inline __attribute__((always_inline))
#endif

// A whole number of 1 to 18 digits (a leading '-' where Min allows one), from
// Min to Max, then a comma; `empty` is set for a field with no digits where
// that is allowed. The byte at the row's end is read: its line break is no
// digit, no '-' and no ','.
template <std::int64_t Min, std::int64_t Max, bool CanBeEmpty = false, bool Long = false>
KOVRIN_INLINE bool Field(const char*& p, const char* end, std::int64_t& value, bool* empty = nullptr) {
    bool minus = Min < 0 && *p == '-';
    const char* digits = p + minus;
    const char* q = digits;
    std::uint64_t x = 0;
    if (Long && LITTLE_ENDIAN_WORDS && end - q >= 8) {
        // The time stamps have ten digits or more: the first eight at once.
        std::uint64_t chunk;
        std::memcpy(&chunk, q, 8);
        std::uint64_t d = chunk - 0x3030303030303030ULL;
        if (((d | (chunk + 0x4646464646464646ULL)) & 0x8080808080808080ULL) == 0) {
            // Eight digits, the first in the lowest byte: pairs, fours, eight.
            d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FFULL;
            d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFFULL;
            x = (d * 10000 + (d >> 32)) & 0xFFFFFFFFULL;
            q += 8;
        }
    }
    for (std::uint64_t d; (d = (unsigned char)*q - (std::uint64_t)'0') < 10; q++)
        x = x * 10 + d;
    if (CanBeEmpty && q == p && *q == ',') {
        *empty = true;
        value = 0;
        p = q + 1;
        return true;
    }
    value = minus ? -(std::int64_t)x : (std::int64_t)x;
    if (q == digits || q - digits > 18 || value < Min || value > Max || *q != ',')
        return false;
    p = q + 1;
    return true;
}

bool Is(const char* begin, const char* end, const char* text, std::size_t length) {
    return (std::size_t)(end - begin) == length && std::memcmp(begin, text, length) == 0;
}

} // namespace

const char* ParseCsvRow(const char* begin, const char* end, CsvRow& out) {
    std::int64_t v = 0;
    const char* p = begin;
    if (!Field<1, ANY>(p, end, v))
        return "malformed message";
    out.message = (std::uint64_t)v;
    if (!Field<0, U32_MAX>(p, end, v))
        return "malformed input";
    out.input = (std::uint32_t)v;
    if (!Field<0, 65535>(p, end, v))
        return "malformed announced";
    out.announced = (std::uint32_t)v;
    const char* event = p;
    while (*p != ',' && p < end)
        p++;
    out.hasPhase = true;
    if (Is(event, p, "MOVE", 4))
        out.phase = Phase::Move;
    else if (Is(event, p, "DOWN", 4))
        out.phase = Phase::Down;
    else if (Is(event, p, "UP", 2))
        out.phase = Phase::Up;
    else if (Is(event, p, "-", 1))
        out.hasPhase = false;
    else
        return "malformed event";
    if (*p++ != ',')
        return "malformed event";
    if (!Field<0, U32_MAX>(p, end, v))
        return "malformed id";
    out.id = (std::uint32_t)v;
    if (!Field<I32_MIN, I32_MAX>(p, end, v))
        return "malformed x";
    out.x = (std::int32_t)v;
    if (!Field<I32_MIN, I32_MAX>(p, end, v))
        return "malformed y";
    out.y = (std::int32_t)v;
    if (!Field<I32_MIN, I32_MAX>(p, end, v))
        return "malformed screen_x";
    out.screenX = (std::int32_t)v;
    if (!Field<I32_MIN, I32_MAX>(p, end, v))
        return "malformed screen_y";
    out.screenY = (std::int32_t)v;
    if (!Field<-1, 14>(p, end, v))
        return "malformed slot";
    out.slot = (std::int32_t)v;
    if (!Field<0, U32_MAX, false, true>(p, end, v))
        return "malformed time_ms";
    out.timeMs = (std::uint32_t)v;
    if (!Field<0, ANY, false, true>(p, end, v))
        return "malformed received_us";
    out.receivedUs = (std::uint64_t)v;
    // The contact's size: both fields or neither.
    bool noWidth = false, noHeight = false;
    if (!Field<0, U32_MAX, true>(p, end, v, &noWidth))
        return "malformed contact size";
    out.contactW = (std::uint32_t)v;
    if (!Field<0, U32_MAX, true>(p, end, v, &noHeight) || noWidth != noHeight)
        return "malformed contact size";
    out.contactH = (std::uint32_t)v;
    out.sized = !noWidth;
    if (!Field<0, U32_MAX>(p, end, v))
        return "malformed flags";
    out.flags = (std::uint32_t)v;
    if (!Field<0, I32_MAX>(p, end, v))
        return "malformed client_w";
    out.clientW = (std::int32_t)v;
    // The last field ends the row instead of a comma.
    const char* digits = p;
    std::uint64_t x = 0;
    for (std::uint64_t d; (d = (unsigned char)*p - (std::uint64_t)'0') < 10; p++)
        x = x * 10 + d;
    if (p != end)
        return *p == ',' ? "more than 17 fields" : "malformed client_h";
    if (p == digits || p - digits > 10 || x > (std::uint64_t)I32_MAX)
        return "malformed client_h";
    out.clientH = (std::int32_t)x;
    return nullptr;
}

} // namespace report
