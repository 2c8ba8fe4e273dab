// Full screen: the main window as a borderless topmost popup at the display's
// own resolution, and back. Called by the FullScreen command and the Space hot
// key.
#pragma once

#include "app/Win32.h"

// Window styles of the two forms.
constexpr DWORD FULL_SCREEN_EX_STYLE = WS_EX_APPWINDOW | WS_EX_TOPMOST;
constexpr DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE;
constexpr DWORD WINDOWED_STYLE = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

// The fields of the display-mode record that the switch sets.
constexpr DWORD FULL_SCREEN_MODE_FIELDS = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;

// Fills `mode` for a full-screen change to the given resolution, depth and
// refresh rate, over whatever the enumeration stored in it.
void SetFullScreenMode(DEVMODEW* mode, int width, int height, int bitsPerPixel, int refreshRate);

void ToggleFullScreen(HWND hwnd);
bool EnterFullScreen(HWND hwnd, int width, int height, int bitsPerPixel, int refreshRate);
bool LeaveFullScreen(HWND hwnd, int left, int top, int width, int height);
