// Touch event logs.
#include "log/TouchLog.h"

#include "app/AppState.h"

void OpenTouchLog() {
    g_touchLog.open("touch.log", std::ios::out | std::ios::trunc);
}

void LogTouchCount(int) {}

void LogTouchInput(DWORD, DWORD, int, int) {}

void DumpTouchLine(const WCHAR*) {}
