// Touch event logs. The "touch.log" lines are built in a stack buffer and
// written with one stream write and a flush: no allocation per event, and the
// file is complete on disk after every line.
#include "log/TouchLog.h"

#include "app/AppState.h"

#include <charconv>
#include <cstring>

namespace {

char* AppendText(char* p, const char* text) {
    while (*text)
        *p++ = *text++;
    return p;
}

// Decimal digits of a 32-bit number: std::to_chars needs no allocation and no
// locale, and 11 characters hold any such number with its sign.
template <typename Number> char* AppendNumber(char* p, Number value) {
    static_assert(sizeof(Number) <= 4, "room for 32-bit numbers only");
    return std::to_chars(p, p + 11, value).ptr;
}

int EndLine(char* start, char* p) {
    *p++ = '\n';
    *p = 0;
    return (int)(p - start);
}

void WriteLogLine(const char* line, int length) {
    g_touchLog.write(line, length);
    g_touchLog.flush();
}

// Converts a status text to the ANSI code page in g_ansiLine and writes it as
// one dump line, cut before its rate when asked.
void DumpText(const WCHAR* text, bool cutRate) {
    int converted = WideCharToMultiByte(CP_ACP, 0, text, (int)wcslen(text) + 1, g_ansiLine, ANSI_LINE_BYTES,
                                        nullptr, nullptr);
    if (!converted)
        return; // does not fit: no partial line
    if (cutRate) {
        // A row never formatted holds no rate and is written whole.
        char* rate = strstr(g_ansiLine, "(Rate");
        if (rate)
            *rate = 0;
    }
    // Keep room for the newline.
    if (strlen(g_ansiLine) > (size_t)ANSI_LINE_BYTES - 2)
        g_ansiLine[ANSI_LINE_BYTES - 2] = 0;
    strcat(g_ansiLine, "\n");
    fprintf(g_dumpFile, "%s", g_ansiLine);
}

} // namespace

// The runtime opens files without share restrictions, so the log can be read
// and written by other processes while it grows.
void OpenTouchLog() {
    g_touchLog.open("touch.log", std::ios::out | std::ios::trunc);
}

int FormatTouchCountLine(char* out, int count) {
    char* p = AppendText(out, "Touch count = ");
    p = AppendNumber(p, count);
    return EndLine(out, p);
}

int FormatTouchInputLine(char* out, DWORD phase, DWORD contactId, int x, int y) {
    const char* head = phase == TOUCHEVENTF_DOWN   ? "DOWN id ="
                       : phase == TOUCHEVENTF_MOVE ? "MOVE id ="
                                                   : "UP   id =";
    char* p = AppendText(out, head);
    p = AppendNumber(p, contactId);
    p = AppendText(p, ", x = ");
    p = AppendNumber(p, x);
    p = AppendText(p, ", y =");
    p = AppendNumber(p, y);
    return EndLine(out, p);
}

void LogTouchCount(int count) {
    char line[TOUCH_LOG_LINE_BYTES];
    WriteLogLine(line, FormatTouchCountLine(line, count));
    if (g_dumpFile)
        DumpText(g_touchCountText, false);
}

void LogTouchInput(DWORD phase, DWORD contactId, int x, int y) {
    char line[TOUCH_LOG_LINE_BYTES];
    WriteLogLine(line, FormatTouchInputLine(line, phase, contactId, x, y));
}

void DumpTouchLine(const WCHAR* text) {
    if (g_dumpFile)
        DumpText(text, true);
}
