// The lines kovrin writes, and nothing else: "Touch count = N", then per input
// "DOWN id =7, x = 301, y =145", "MOVE id =...", "UP   id =..." (the blanks
// are kovrin's own). Numbers are plain digits with an optional '-'.
#include "report/LogReader.h"

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

InputStatus ReadTouchLog(std::FILE* input, CInputSink& sink) {
    InputStatus status;
    auto skip = [&](std::uint64_t line, const char* why) {
        if (status.badLines++ == 0) {
            status.firstBadLine = line;
            status.firstBadWhy = why;
        }
        sink.OnSkipped(line, why);
    };
    CLineReader reader;
    ReadStatus read = reader.Read(
        input,
        [&](const char* begin, const char* end, std::uint64_t line) {
            LogLine l;
            if (const char* why = ParseLine(begin, end, l)) {
                skip(line, why);
                return;
            }
            if (l.kind == LineKind::Count)
                sink.OnMessage(l.count, line);
            else
                sink.OnInput({l.kind == LineKind::Down   ? Phase::Down
                              : l.kind == LineKind::Move ? Phase::Move
                                                         : Phase::Up,
                              l.id, l.x, l.y, line});
        },
        [&](std::uint64_t line) { skip(line, "line longer than 256 bytes"); });
    status.lines = read.lines;
    status.cutOff = read.cutOff;
    status.readError = read.readError;
    return status;
}

bool IsUnusable(const InputStatus& input, std::string& why, std::uint64_t& line) {
    line = 0;
    if (input.readError) {
        why = "read error after line " + std::to_string(input.lines);
        return true;
    }
    if (input.lines == input.badLines) {
        if (input.lines == 0) {
            why = input.cutOff ? "no whole line (the only line has no line break)" : "empty input";
            line = input.cutOff ? 1 : 0;
        } else {
            why = std::string("no touch.log line recognised (") + input.firstBadWhy + ")";
            line = input.firstBadLine;
        }
        return true;
    }
    if (input.badLines * 100 > input.lines) {
        why = std::to_string(input.badLines) + " of " + std::to_string(input.lines) +
              " lines malformed, more than 1% (the first here: " + input.firstBadWhy + ")";
        line = input.firstBadLine;
        return true;
    }
    return false;
}

} // namespace report
