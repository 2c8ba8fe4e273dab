// Reading touch.log, the first stage of the report: whole lines out of large
// binary chunks, the parse of one line in place, and the events the lines
// stand for, handed to the next stage as they are read. Nothing is allocated
// per line and a line is never held longer than MAX_LINE_BYTES, whatever the
// input.
#pragma once

#include "report/Report.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace report {

constexpr std::size_t CHUNK_BYTES = 1 << 20;

// kovrin's longest line has about 55 characters; anything past this bound is
// junk and is skipped without being buffered.
constexpr std::size_t MAX_LINE_BYTES = 256;

enum class LineKind { Count, Down, Move, Up };

struct LogLine {
    LineKind kind = LineKind::Count;
    std::uint32_t count = 0; // count lines: 0..65535
    std::uint32_t id = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

enum class Phase { Down, Move, Up };

// One input of a message as the log gives it.
struct InputEvent {
    Phase phase = Phase::Down;
    std::uint32_t id = 0;
    std::int32_t x = 0; // client pixels
    std::int32_t y = 0;
    std::uint64_t line = 0; // 1-based
};

// What the reader hands on, in the order of the log's lines.
class CInputSink {
public:
    // A count line: a message that announced `announced` inputs.
    virtual void OnMessage(std::uint32_t announced, std::uint64_t line) = 0;
    virtual void OnInput(const InputEvent& input) = 0;
    // A line that is none of kovrin's, skipped.
    virtual void OnSkipped(std::uint64_t line, const char* why) = 0;

protected:
    ~CInputSink() = default;
};

// Parses one line without its line break. Returns nullptr when it is one of
// kovrin's lines, else why it is not.
const char* ParseLine(const char* begin, const char* end, LogLine& out);

struct ReadStatus {
    std::uint64_t lines = 0; // lines ended by '\n'
    bool cutOff = false;     // bytes after the last '\n'
    bool readError = false;
};

// Feeds every whole line of `input` to `onLine(begin, end, number)` (its "\n"
// or "\r\n" removed, number 1-based) and calls `onLongLine(number)` instead
// for a line longer than MAX_LINE_BYTES. A last line without '\n' is not fed.
class CLineReader {
public:
    CLineReader() : m_buffer(new char[MAX_LINE_BYTES + 1 + CHUNK_BYTES]) {}

    template <class OnLine, class OnLongLine>
    ReadStatus Read(std::FILE* input, OnLine&& onLine, OnLongLine&& onLongLine) {
        ReadStatus status;
        char* buffer = m_buffer.get();
        std::size_t carry = 0; // start of a line, kept from the previous chunk
        bool skipping = false; // inside a line already known to be too long
        for (;;) {
            std::size_t n = std::fread(buffer + carry, 1, CHUNK_BYTES, input);
            if (n == 0)
                break;
            const char* p = buffer;
            const char* end = buffer + carry + n;
            if (skipping) {
                const char* newline = static_cast<const char*>(std::memchr(p, '\n', n));
                if (!newline)
                    continue;
                onLongLine(++status.lines);
                skipping = false;
                p = newline + 1;
            }
            while (const char* newline = static_cast<const char*>(std::memchr(p, '\n', end - p))) {
                const char* lineEnd = newline;
                if (lineEnd > p && lineEnd[-1] == '\r')
                    lineEnd--;
                if ((std::size_t)(lineEnd - p) > MAX_LINE_BYTES)
                    onLongLine(++status.lines);
                else
                    onLine(p, lineEnd, ++status.lines);
                p = newline + 1;
            }
            std::size_t rest = end - p;
            if (rest > MAX_LINE_BYTES + 1) { // too long even without a '\r' at its end
                skipping = true;
                carry = 0;
            } else {
                std::memmove(buffer, p, rest);
                carry = rest;
            }
        }
        status.readError = std::ferror(input) != 0;
        status.cutOff = carry > 0 || skipping;
        return status;
    }

private:
    std::unique_ptr<char[]> m_buffer;
};

// Reads the whole log from `input` (opened in binary mode) into `sink`.
InputStatus ReadTouchLog(std::FILE* input, CInputSink& sink);

// Whether the input is too broken to judge: nothing recognised, more than 1%
// of its lines malformed, or a read error. `why` then says so and `line` is
// the line it applies to (0: none); the caller names the file.
bool IsUnusable(const InputStatus& input, std::string& why, std::uint64_t& line);

} // namespace report
