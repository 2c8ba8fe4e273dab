// Seventeen comma-separated fields, plain numbers and the event's name: kovrin
// writes nothing that needs quoting, so a quote is as wrong as a letter in a
// number. One loop over the fields of a row: rows come by the million.
#include "report/CsvReader.h"

#include <cstring>

namespace report {

namespace {

constexpr std::int64_t I32_MIN = -2147483648LL, I32_MAX = 2147483647LL, U32_MAX = 4294967295LL;
constexpr std::int64_t ANY = 999999999999999999LL; // 18 digits

constexpr int FIELDS = 17;
constexpr int EVENT = 3, CONTACT_W = 12, CONTACT_H = 13;

// Each field's range and what a row that breaks it is called.
struct Column {
    std::int64_t min, max;
    const char* why;
};
constexpr Column COLUMNS[FIELDS] = {
    {1, ANY, "malformed message"},
    {0, U32_MAX, "malformed input"},
    {0, 65535, "malformed announced"},
    {0, 0, "malformed event"},
    {0, U32_MAX, "malformed id"},
    {I32_MIN, I32_MAX, "malformed x"},
    {I32_MIN, I32_MAX, "malformed y"},
    {I32_MIN, I32_MAX, "malformed screen_x"},
    {I32_MIN, I32_MAX, "malformed screen_y"},
    {-1, 14, "malformed slot"},
    {0, U32_MAX, "malformed time_ms"},
    {0, ANY, "malformed received_us"},
    {0, U32_MAX, "malformed contact size"},
    {0, U32_MAX, "malformed contact size"},
    {0, U32_MAX, "malformed flags"},
    {0, I32_MAX, "malformed client_w"},
    {0, I32_MAX, "malformed client_h"},
};

bool Is(const char* begin, const char* end, const char* text, std::size_t length) {
    return (std::size_t)(end - begin) == length && std::memcmp(begin, text, length) == 0;
}

} // namespace

const char* ParseCsvRow(const char* begin, const char* end, CsvRow& out) {
    // The fields first, then their ranges all at once: rows are checked by
    // the million, and nearly all of them are good.
    std::int64_t v[FIELDS];
    int given = 2; // contact size fields that are not empty
    const char* p = begin;
    for (int i = 0; i < FIELDS; i++) {
        if (i == EVENT) {
            const char* field = p;
            while (*p != ',' && p < end)
                p++;
            if (Is(field, p, "MOVE", 4))
                v[i] = (int)Phase::Move;
            else if (Is(field, p, "DOWN", 4))
                v[i] = (int)Phase::Down;
            else if (Is(field, p, "UP", 2))
                v[i] = (int)Phase::Up;
            else if (Is(field, p, "-", 1))
                v[i] = -1;
            else
                return COLUMNS[i].why;
        } else {
            // The byte at `end` is read: the line break there is no digit,
            // no '-' and no ','.
            bool minus = *p == '-';
            p += minus;
            const char* digits = p;
            std::uint64_t x = 0;
            for (std::uint64_t d; (d = (unsigned char)*p - (std::uint64_t)'0') < 10; p++)
                x = x * 10 + d;
            v[i] = minus ? -(std::int64_t)x : (std::int64_t)x;
            if (p == digits && !minus && (i == CONTACT_W || i == CONTACT_H)) {
                v[i] = 0; // empty: no size given
                given--;
            } else if (p == digits || p - digits > 18) {
                return COLUMNS[i].why;
            }
        }
        // A comma after every field but the last, which ends the row.
        if (i + 1 == FIELDS) {
            if (p != end)
                return *p == ',' ? "more than 17 fields" : COLUMNS[i].why;
        } else if (*p++ != ',') {
            return COLUMNS[i].why;
        }
    }
    bool outside = false;
    for (int i = 0; i < FIELDS; i++)
        outside |= i != EVENT && (v[i] < COLUMNS[i].min || v[i] > COLUMNS[i].max);
    if (outside)
        for (int i = 0; i < FIELDS; i++)
            if (i != EVENT && (v[i] < COLUMNS[i].min || v[i] > COLUMNS[i].max))
                return COLUMNS[i].why;
    if (given == 1)
        return "malformed contact size";
    out.message = (std::uint64_t)v[0];
    out.input = (std::uint32_t)v[1];
    out.announced = (std::uint32_t)v[2];
    out.hasPhase = v[EVENT] >= 0;
    out.phase = out.hasPhase ? (Phase)v[EVENT] : Phase::Down;
    out.id = (std::uint32_t)v[4];
    out.x = (std::int32_t)v[5];
    out.y = (std::int32_t)v[6];
    out.screenX = (std::int32_t)v[7];
    out.screenY = (std::int32_t)v[8];
    out.slot = (std::int32_t)v[9];
    out.timeMs = (std::uint32_t)v[10];
    out.receivedUs = (std::uint64_t)v[11];
    out.sized = given == 2;
    out.contactW = (std::uint32_t)v[CONTACT_W];
    out.contactH = (std::uint32_t)v[CONTACT_H];
    out.flags = (std::uint32_t)v[14];
    out.clientW = (std::int32_t)v[15];
    out.clientH = (std::int32_t)v[16];
    return nullptr;
}

} // namespace report
