// Full screen: the main window as a borderless topmost popup at the display's
// own resolution, and back.
#pragma once

#include "app/Win32.h"

void ToggleFullScreen(HWND hwnd);
bool EnterFullScreen(HWND hwnd, int width, int height, int bitsPerPixel, int refreshRate);
bool LeaveFullScreen(HWND hwnd, int left, int top, int width, int height);
