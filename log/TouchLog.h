// The two touch event logs: "touch.log", always on and flushed line by line,
// and "logdump.txt", the status lines written between DumpLog Start and Stop.
// OnTouch calls the writers; the window set-up opens "touch.log".
#pragma once

#include "app/Win32.h"

// Room for the longest "touch.log" line with its newline and NUL.
constexpr int TOUCH_LOG_LINE_BYTES = 64;

// Opens (truncating) "touch.log" in the current directory into g_touchLog.
void OpenTouchLog();

// Format the "touch.log" lines, newline included, into `out`
// (TOUCH_LOG_LINE_BYTES); return their length.
int FormatTouchCountLine(char* out, int count);
int FormatTouchInputLine(char* out, DWORD phase, DWORD contactId, int x, int y);

// The count line; the dump also gets g_touchCountText.
void LogTouchCount(int count);
// The DOWN, MOVE or UP line of one input (`phase` is one of the three bits).
void LogTouchInput(DWORD phase, DWORD contactId, int x, int y);
// Dumps an input's status line without its rate, while the dump is open.
void DumpTouchLine(const WCHAR* text);
