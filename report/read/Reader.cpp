#include "report/read/Reader.h"

#include "report/read/CsvReader.h"
#include "report/read/LogReader.h"

namespace report {

namespace {

Phase PhaseOf(LineKind kind) {
    return kind == LineKind::Down ? Phase::Down : kind == LineKind::Move ? Phase::Move : Phase::Up;
}

class CReader {
public:
    explicit CReader(CInputSink& sink) : m_sink(sink) {}

    void Line(const char* begin, const char* end, std::uint64_t line) {
        if (line == 1 && end - begin >= 8 && std::memcmp(begin, "message,", 8) == 0) {
            m_status.format = InputFormat::TouchCsv;
            if ((std::size_t)(end - begin) != sizeof TOUCH_CSV_COLUMNS - 1 ||
                std::memcmp(begin, TOUCH_CSV_COLUMNS, sizeof TOUCH_CSV_COLUMNS - 1) != 0)
                Skip(line, "not kovrin's touch.csv header");
            return;
        }
        if (m_status.format == InputFormat::TouchCsv)
            Row(begin, end, line);
        else
            LogLine(begin, end, line);
    }

    void Skip(std::uint64_t line, const char* why) {
        if (m_status.badLines++ == 0) {
            m_status.firstBadLine = line;
            m_status.firstBadWhy = why;
        }
        m_sink.OnSkipped(line, why);
    }

    InputStatus Finish(const ReadStatus& read) {
        m_status.lines = read.lines;
        m_status.cutOff = read.cutOff;
        m_status.readError = read.readError;
        return m_status;
    }

private:
    void LogLine(const char* begin, const char* end, std::uint64_t line) {
        report::LogLine l;
        if (const char* why = ParseLine(begin, end, l)) {
            Skip(line, why);
            return;
        }
        if (l.kind == LineKind::Count) {
            m_sink.OnMessage(++m_message, l.count, line);
            return;
        }
        InputEvent& in = m_event; // touch.log sets no time, size or client area
        in.phase = PhaseOf(l.kind);
        in.id = l.id;
        in.x = l.x;
        in.y = l.y;
        in.fineX = 100 * (std::int64_t)l.x;
        in.fineY = 100 * (std::int64_t)l.y;
        in.line = line;
        m_sink.OnInput(in);
    }

    void Row(const char* begin, const char* end, std::uint64_t line) {
        CsvRow& r = m_row;
        if (const char* why = ParseCsvRow(begin, end, r)) {
            Skip(line, why);
            return;
        }
        if (r.message < m_message) {
            Skip(line, "message number goes back");
            return;
        }
        // The rows of a message follow each other; a new number starts a message.
        if (r.message != m_message) {
            m_message = r.message;
            m_sink.OnMessage(r.message, r.announced, line);
        }
        // touch.log has no line for an input without a phase.
        if (!r.hasPhase)
            return;
        InputEvent& in = m_event;
        in.phase = r.phase;
        in.id = r.id;
        in.x = r.x;
        in.y = r.y;
        in.fineX = r.screenX;
        in.fineY = r.screenY;
        in.line = line;
        in.timed = true;
        in.timeMs = r.timeMs;
        in.receivedUs = r.receivedUs;
        in.clientW = r.clientW;
        in.clientH = r.clientH;
        in.sized = r.sized;
        in.contactW = r.contactW;
        in.contactH = r.contactH;
        m_sink.OnInput(in);
    }

    CInputSink& m_sink;
    InputStatus m_status;
    // Filled again for every row, not made anew: rows come by the million.
    CsvRow m_row;
    InputEvent m_event;
    std::uint64_t m_message = 0;
};

} // namespace

bool StartsAsTouchCsv(std::FILE* input) {
    char start[8];
    bool csv =
        std::fread(start, 1, sizeof start, input) == sizeof start && std::memcmp(start, "message,", 8) == 0;
    std::rewind(input);
    return csv;
}

InputStatus ReadInput(std::FILE* input, CInputSink& sink) {
    CReader reader(sink);
    CLineReader lines;
    ReadStatus read = lines.Read(
        input, [&](const char* begin, const char* end, std::uint64_t line) { reader.Line(begin, end, line); },
        [&](std::uint64_t line) { reader.Skip(line, "line longer than 256 bytes"); });
    return reader.Finish(read);
}

bool IsUnusable(const InputStatus& input, std::string& why, std::uint64_t& line) {
    const char* what = input.format == InputFormat::TouchCsv ? "touch.csv row" : "touch.log line";
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
            why = std::string("no ") + what + " recognised (" + input.firstBadWhy + ")";
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
