// The first stage of the report: reads touch.log or touch.csv (known by its
// header) and hands the next stage one event per message and per input, in
// the order of the file, as they are read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace report {

enum class InputFormat { TouchLog, TouchCsv };

// What the reader saw of the input as a whole.
struct InputStatus {
    InputFormat format = InputFormat::TouchLog;
    std::uint64_t lines = 0;        // whole lines read
    std::uint64_t badLines = 0;     // malformed lines skipped
    std::uint64_t firstBadLine = 0; // line number of the first malformed line, 0: none
    const char* firstBadWhy = "";   // why it was skipped
    bool cutOff = false;            // the input ended inside a line
    bool readError = false;         // the input could not be read to its end
};

enum class Phase { Down, Move, Up };

// One input of a message as the file gives it.
struct InputEvent {
    Phase phase = Phase::Down;
    std::uint32_t id = 0;
    std::int32_t x = 0; // client pixels
    std::int32_t y = 0;
    // The position in hundredths of a pixel: as the platform delivered it,
    // in screen pixels (touch.csv), else the client position.
    std::int64_t fineX = 0;
    std::int64_t fineY = 0;
    std::uint64_t line = 0; // 1-based line of the file
    bool timed = false;     // touch.csv: the record's time stamp and the client size are known
    std::uint32_t timeMs = 0;
    std::uint64_t receivedUs = 0; // touch.csv: when kovrin read the message, on guide.csv's clock
    std::int32_t clientW = 0;
    std::int32_t clientH = 0;
    bool sized = false;         // the contact's size is known
    std::uint32_t contactW = 0; // hundredths of a screen pixel
    std::uint32_t contactH = 0;
};

// What the reader hands on.
class CInputSink {
public:
    // A message, numbered from 1, that announced `announced` inputs.
    virtual void OnMessage(std::uint64_t number, std::uint32_t announced, std::uint64_t line) = 0;
    virtual void OnInput(const InputEvent& input) = 0;
    // A line that is none of kovrin's, skipped.
    virtual void OnSkipped(std::uint64_t line, const char* why) = 0;

protected:
    ~CInputSink() = default;
};

// Whether a file (not a pipe) starts with touch.csv's header; it is read
// again from its start afterwards.
bool StartsAsTouchCsv(std::FILE* input);

// Reads the whole of `input` (opened in binary mode) into `sink`.
InputStatus ReadInput(std::FILE* input, CInputSink& sink);

// Whether the input is too broken to judge: nothing recognised, more than 1%
// of its lines malformed, or a read error. `why` then says so and `line` is
// the line it applies to (0: none); the caller names the file.
bool IsUnusable(const InputStatus& input, std::string& why, std::uint64_t& line);

} // namespace report
