// "touch.csv", beside "touch.log": one row per input the touch handler read,
// with what "touch.log" leaves out (the position as delivered, the slot used,
// the record's time stamp, contact size and flags, when the message was read
// and the client size then). OnTouch starts a message, adds a row per input
// and writes the rows at once; the window set-up opens the file and
// WM_DESTROY closes it.
#pragma once

#include "app/Win32.h"
#include "log/TouchCsvColumns.h"

// Room for the longest row with its CR LF.
constexpr int TOUCH_CSV_ROW_BYTES = 192;

// What the rows of one message share.
struct TouchCsvMessage {
    unsigned long long number; // 1-based, counting the messages whose inputs were read
    int announced;
    long long receivedUs; // since the file was opened
    int clientWidth, clientHeight;
};

// Formats one row, CR LF included, into `out` (TOUCH_CSV_ROW_BYTES) and
// returns its length. `record` is the input with x, y already in client
// pixels, `delivered` its position as the platform gave it (hundredths of a
// screen pixel); `phase` is TOUCHEVENTF_DOWN, _MOVE, _UP or 0; `slot` -1 for none.
int FormatTouchCsvRow(char* out, const TouchCsvMessage& message, int input, DWORD phase, int slot,
                      const TOUCHINPUT& record, POINT delivered);

// Microseconds in `ticks` of a counter running at `frequency` ticks a second,
// without overflow for any tick count.
long long CounterMicroseconds(long long ticks, long long frequency);

// Opens (truncating) "touch.csv" in the current directory into g_touchCsv,
// writes the header and takes the counter's origin. A file that cannot be
// opened leaves every other call here doing nothing.
void OpenTouchCsv();

// For a message whose inputs were read: counts it and notes the time and the
// client size. Then one row per input, and one write of them all.
void BeginTouchCsvMessage(HWND hwnd, int announced);
// The received_us of the message begun last, written or not.
long long TouchCsvReceivedUs();
// Microseconds since the file was opened (or could not be): received_us's clock.
long long TouchCsvClockUs();
void AddTouchCsvRow(int input, DWORD phase, int slot, const TOUCHINPUT& record, POINT delivered);
void WriteTouchCsvMessage();
