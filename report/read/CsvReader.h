// The rows of touch.csv, the file kovrin writes beside touch.log: its header,
// then one row per input it read, with the time stamp, the position as the
// platform delivered it and the contact size. Each row is parsed in place.
#pragma once

#include "report/read/Reader.h"
#include "log/TouchCsvColumns.h"

#include <cstdint>

namespace report {

struct CsvRow {
    std::uint64_t message = 0; // 1-based
    std::uint32_t input = 0;
    std::uint32_t announced = 0; // 0..65535
    bool hasPhase = false;       // false: the event was "-"
    Phase phase = Phase::Down;
    std::uint32_t id = 0;
    std::int32_t x = 0; // client pixels
    std::int32_t y = 0;
    std::int32_t screenX = 0; // hundredths of a screen pixel
    std::int32_t screenY = 0;
    std::int32_t slot = -1;
    std::uint32_t timeMs = 0;
    std::uint64_t receivedUs = 0;
    bool sized = false; // the contact's size was given
    std::uint32_t contactW = 0;
    std::uint32_t contactH = 0;
    std::uint32_t flags = 0;
    std::int32_t clientW = 0;
    std::int32_t clientH = 0;
};

// Parses one row without its line break. Returns nullptr when it is one of
// kovrin's rows, else why it is not. The byte at `end` is read and must not be
// a digit: the row's line break (or a string's terminating NUL).
const char* ParseCsvRow(const char* begin, const char* end, CsvRow& out);

} // namespace report
