// The lines kovrin writes, and nothing else: "Touch count = N", then per input
// "DOWN id =7, x = 301, y =145", "MOVE id =...", "UP   id =..." (the blanks
// are kovrin's own). Numbers are plain digits with an optional '-'.
#include "report/read/LogReader.h"

#include <charconv>

namespace report {

namespace {

bool Skip(const char*& p, const char* end, const char* text, std::size_t length) {
    if ((std::size_t)(end - p) < length || std::memcmp(p, text, length) != 0)
        return false;
    p += length;
    return true;
}

// Reads a number; `why` is set when digits were there but do not fit.
template <class T> bool Number(const char*& p, const char* end, T& value, bool& outOfRange) {
    std::from_chars_result r = std::from_chars(p, end, value);
    if (r.ec == std::errc::result_out_of_range)
        outOfRange = true;
    if (r.ec != std::errc())
        return false;
    p = r.ptr;
    return true;
}

const char* ParseCount(const char* p, const char* end, LogLine& out) {
    bool outOfRange = false;
    std::uint32_t count = 0;
    if (!Number(p, end, count, outOfRange))
        return outOfRange ? "count out of range" : "malformed count line";
    if (p != end)
        return "malformed count line";
    if (count > 65535)
        return "count out of range";
    out.kind = LineKind::Count;
    out.count = count;
    return nullptr;
}

const char* ParseInput(const char* p, const char* end, LineKind kind, LogLine& out) {
    bool outOfRange = false;
    if (!Number(p, end, out.id, outOfRange))
        return outOfRange ? "id out of range" : "malformed input line";
    if (!Skip(p, end, ", x = ", 6))
        return "malformed input line";
    if (!Number(p, end, out.x, outOfRange))
        return outOfRange ? "x out of range" : "malformed input line";
    if (!Skip(p, end, ", y =", 5))
        return "malformed input line";
    if (!Number(p, end, out.y, outOfRange))
        return outOfRange ? "y out of range" : "malformed input line";
    if (p != end)
        return "malformed input line";
    out.kind = kind;
    return nullptr;
}

} // namespace

const char* ParseLine(const char* begin, const char* end, LogLine& out) {
    const char* p = begin;
    if (p == end)
        return "empty line";
    if (Skip(p, end, "DOWN id =", 9))
        return ParseInput(p, end, LineKind::Down, out);
    if (Skip(p, end, "MOVE id =", 9))
        return ParseInput(p, end, LineKind::Move, out);
    if (Skip(p, end, "UP   id =", 9))
        return ParseInput(p, end, LineKind::Up, out);
    if (Skip(p, end, "Touch count = ", 14))
        return ParseCount(p, end, out);
    return "not a touch.log line";
}

} // namespace report
