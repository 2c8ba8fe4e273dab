// The main window: its class, its set-up and AppWindowProc, which hands every
// message to the handler that owns it.
#pragma once

#include "app/Win32.h"

// Start-up before the window: loads the title and class name from the string
// table, then registers the class (RegisterMainWindowClass).
void InitMainWindowClass(HINSTANCE instance);
void RegisterMainWindowClass(HINSTANCE instance);
BOOL CreateMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
