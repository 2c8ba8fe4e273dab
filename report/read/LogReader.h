// Lines out of large binary chunks, and the parse of one touch.log line in
// place. Nothing is allocated per line and a line is never held longer than
// MAX_LINE_BYTES, whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace report {

constexpr std::size_t CHUNK_BYTES = 1 << 20;

// kovrin's longest line has about 55 characters and its longest touch.csv
// row about 150; anything past this bound is junk and is skipped without
// being buffered.
constexpr std::size_t MAX_LINE_BYTES = 256;

enum class LineKind { Count, Down, Move, Up };

struct LogLine {
    LineKind kind = LineKind::Count;
    std::uint32_t count = 0; // count lines: 0..65535
    std::uint32_t id = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
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

} // namespace report
