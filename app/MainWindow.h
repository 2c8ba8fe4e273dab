// The main window: its class, its set-up and AppWindowProc, which hands every
// message to the handler that owns it.
#pragma once

#include "app/Win32.h"

void RegisterMainWindowClass(HINSTANCE instance);
BOOL CreateMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
