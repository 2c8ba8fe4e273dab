// Seventeen comma-separated fields, plain numbers and the event's name: kovrin
// writes nothing that needs quoting, so a quote is as wrong as a letter in a
// number.
#include "report/CsvReader.h"

#include <charconv>
#include <cstring>

namespace report {

namespace {

class CFields {
public:
    CFields(const char* begin, const char* end) : m_p(begin), m_end(end) {}

    // The next field; false past the last one.
    bool Next(const char*& begin, const char*& end) {
        if (m_done)
            return false;
        begin = m_p;
        const char* comma = static_cast<const char*>(std::memchr(m_p, ',', (std::size_t)(m_end - m_p)));
        end = comma ? comma : m_end;
        m_done = !comma;
        m_p = comma ? comma + 1 : m_end;
        return true;
    }

    bool AtEnd() const {
        return m_done;
    }

private:
    const char* m_p;
    const char* m_end;
    bool m_done = false;
};

template <class T> bool Number(const char* begin, const char* end, T& value) {
    std::from_chars_result r = std::from_chars(begin, end, value);
    return r.ec == std::errc() && r.ptr == end && begin != end;
}

bool Is(const char* begin, const char* end, const char* text) {
    std::size_t n = std::strlen(text);
    return (std::size_t)(end - begin) == n && std::memcmp(begin, text, n) == 0;
}

} // namespace

const char* ParseCsvRow(const char* begin, const char* end, CsvRow& out) {
    CFields fields(begin, end);
    const char *b = nullptr, *e = nullptr;
    auto next = [&]() { return fields.Next(b, e); };
    if (!next() || !Number(b, e, out.message) || out.message == 0)
        return "malformed message";
    if (!next() || !Number(b, e, out.input))
        return "malformed input";
    if (!next() || !Number(b, e, out.announced) || out.announced > 65535)
        return "malformed announced";
    if (!next())
        return "malformed event";
    out.hasPhase = !Is(b, e, "-");
    if (Is(b, e, "DOWN"))
        out.phase = Phase::Down;
    else if (Is(b, e, "MOVE"))
        out.phase = Phase::Move;
    else if (Is(b, e, "UP"))
        out.phase = Phase::Up;
    else if (out.hasPhase)
        return "malformed event";
    if (!next() || !Number(b, e, out.id))
        return "malformed id";
    if (!next() || !Number(b, e, out.x))
        return "malformed x";
    if (!next() || !Number(b, e, out.y))
        return "malformed y";
    if (!next() || !Number(b, e, out.screenX))
        return "malformed screen_x";
    if (!next() || !Number(b, e, out.screenY))
        return "malformed screen_y";
    if (!next() || !Number(b, e, out.slot) || out.slot < -1 || out.slot > 14)
        return "malformed slot";
    if (!next() || !Number(b, e, out.timeMs))
        return "malformed time_ms";
    if (!next() || !Number(b, e, out.receivedUs))
        return "malformed received_us";
    // The contact's size: both fields or neither.
    const char *wb = nullptr, *we = nullptr;
    if (!fields.Next(wb, we) || !next())
        return "malformed contact_w";
    out.sized = wb != we || b != e;
    if (out.sized && (!Number(wb, we, out.contactW) || !Number(b, e, out.contactH)))
        return "malformed contact size";
    if (!next() || !Number(b, e, out.flags))
        return "malformed flags";
    if (!next() || !Number(b, e, out.clientW) || out.clientW < 0)
        return "malformed client_w";
    if (!next() || !Number(b, e, out.clientH) || out.clientH < 0)
        return "malformed client_h";
    if (!fields.AtEnd())
        return "more than 17 fields";
    return nullptr;
}

} // namespace report
