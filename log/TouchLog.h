// The two touch event logs: "touch.log", always on and flushed line by line,
// and "logdump.txt", the status lines written between DumpLog Start and Stop.
#pragma once

#include "app/Win32.h"

// Opens (truncating) "touch.log" in the current directory into g_touchLog.
void OpenTouchLog();

void LogTouchCount(int count);
void LogTouchInput(DWORD phase, DWORD contactId, int x, int y);
void DumpTouchLine(const WCHAR* text);
