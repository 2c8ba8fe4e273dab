// "touch.csv" rows are formatted with std::to_chars into a buffer that holds
// the rows of a whole message (at most 15 inputs are read), then go out in
// one stream write and a flush: no allocation per message, and a reader
// never sees half a message.
#include "log/TouchCsv.h"

#include "app/AppState.h"
#include "log/CsvFields.h"

namespace {

LONGLONG g_counterOrigin = 0;
LONGLONG g_counterFrequency = 0;
unsigned long long g_messagesRead = 0;
TouchCsvMessage g_message = {};
char g_rows[SLOT_COUNT * TOUCH_CSV_ROW_BYTES];
int g_rowsLength = 0;

const char* EventName(DWORD phase) {
    switch (phase) {
    case TOUCHEVENTF_DOWN:
        return "DOWN,";
    case TOUCHEVENTF_MOVE:
        return "MOVE,";
    case TOUCHEVENTF_UP:
        return "UP,";
    default:
        return "-,";
    }
}

} // namespace

int FormatTouchCsvRow(char* out, const TouchCsvMessage& message, int input, DWORD phase, int slot,
                      const TOUCHINPUT& record, POINT delivered) {
    char* p = AppendField(out, message.number);
    p = AppendField(p, input);
    p = AppendField(p, message.announced);
    p = AppendText(p, EventName(phase));
    p = AppendField(p, record.dwID);
    p = AppendField(p, record.x);
    p = AppendField(p, record.y);
    p = AppendField(p, delivered.x);
    p = AppendField(p, delivered.y);
    p = AppendField(p, slot);
    p = AppendField(p, record.dwTime);
    p = AppendField(p, message.receivedUs);
    if (record.dwMask & TOUCHINPUTMASKF_CONTACTAREA) {
        p = AppendField(p, record.cxContact);
        p = AppendField(p, record.cyContact);
    } else {
        p = AppendText(p, ",,");
    }
    p = AppendField(p, record.dwFlags);
    p = AppendField(p, message.clientWidth);
    p = AppendField(p, message.clientHeight);
    return EndCsvRow(out, p);
}

long long CounterMicroseconds(long long ticks, long long frequency) {
    if (frequency <= 0)
        return 0;
    return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

void OpenTouchCsv() {
    OpenCsvFile(g_touchCsv, "touch.csv", TOUCH_CSV_COLUMNS);
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    g_counterFrequency = frequency.QuadPart;
    g_counterOrigin = now.QuadPart;
    g_messagesRead = 0;
    g_rowsLength = 0;
}

long long TouchCsvClockUs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return CounterMicroseconds(now.QuadPart - g_counterOrigin, g_counterFrequency);
}

void BeginTouchCsvMessage(HWND hwnd, int announced) {
    g_rowsLength = 0;
    // Taken even without the file: the guided run's times are on this clock.
    g_message.receivedUs = TouchCsvClockUs();
    if (!g_touchCsv.is_open())
        return;
    RECT client = {};
    GetClientRect(hwnd, &client);
    g_message = {++g_messagesRead, announced, g_message.receivedUs, client.right, client.bottom};
}

long long TouchCsvReceivedUs() {
    return g_message.receivedUs;
}

void AddTouchCsvRow(int input, DWORD phase, int slot, const TOUCHINPUT& record, POINT delivered) {
    if (!g_touchCsv.is_open() || g_rowsLength > (int)sizeof(g_rows) - TOUCH_CSV_ROW_BYTES)
        return;
    g_rowsLength +=
        FormatTouchCsvRow(g_rows + g_rowsLength, g_message, input, phase, slot, record, delivered);
}

void WriteTouchCsvMessage() {
    if (g_rowsLength == 0)
        return;
    g_touchCsv.write(g_rows, g_rowsLength);
    g_touchCsv.flush();
    g_rowsLength = 0;
}
