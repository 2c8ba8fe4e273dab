// Full-screen switching. Entering applies the display's current mode again as
// a temporary full-screen mode; leaving resets the display to the registry's
// settings. g_fullScreen follows the display call, not the window's form.
#include "app/FullScreen.h"

#include "app/AppState.h"
#include "app/Gdi.h"
#include "res/resource.h"

void SetFullScreenMode(DEVMODEW* mode, int width, int height, int bitsPerPixel, int refreshRate) {
    mode->dmPelsWidth = (DWORD)width;
    mode->dmPelsHeight = (DWORD)height;
    mode->dmBitsPerPel = (DWORD)bitsPerPixel;
    mode->dmDisplayFrequency = (DWORD)refreshRate;
    mode->dmFields = FULL_SCREEN_MODE_FIELDS;
}

namespace {

struct DisplayCaps {
    int width, height, bitsPerPixel, refreshRate;
};

// The display's current mode, read through the window's DC (given back at once).
DisplayCaps ReadDisplayCaps(HWND hwnd) {
    CWindowDc dc(hwnd);
    return {GetDeviceCaps(dc.Get(), HORZRES), GetDeviceCaps(dc.Get(), VERTRES),
            GetDeviceCaps(dc.Get(), BITSPIXEL), GetDeviceCaps(dc.Get(), VREFRESH)};
}

} // namespace

void ToggleFullScreen(HWND hwnd) {
    if (!g_fullScreen) {
        GetWindowRect(hwnd, &g_savedWindowRect);
        DisplayCaps caps = ReadDisplayCaps(hwnd);
        if (EnterFullScreen(hwnd, caps.width, caps.height, caps.bitsPerPixel, caps.refreshRate)) {
            g_savedMenu = GetMenu(hwnd);
            CheckMenuItem(g_savedMenu, IDM_FULLSCREEN, MF_BYCOMMAND | MF_CHECKED);
            SetMenu(hwnd, nullptr);
            g_fullScreen = 1;
        }
        return;
    }
    const RECT& r = g_savedWindowRect;
    if (LeaveFullScreen(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top))
        g_fullScreen = 0;
    // The menu comes back even when the reset failed: the window is windowed
    // again, and the next toggle repeats the leave.
    CheckMenuItem(g_savedMenu, IDM_FULLSCREEN, MF_BYCOMMAND | MF_UNCHECKED);
    SetMenu(hwnd, g_savedMenu);
}

bool EnterFullScreen(HWND hwnd, int width, int height, int bitsPerPixel, int refreshRate) {
    // Zeroed, so a failed enumeration leaves nothing random in the record.
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmDriverExtra = 0;
    // Mode 0 only gives the record its other fields; the five that matter are
    // set next.
    EnumDisplaySettingsW(nullptr, 0, &mode);
    SetFullScreenMode(&mode, width, height, bitsPerPixel, refreshRate);
    SetWindowLongW(hwnd, GWL_EXSTYLE, (LONG)FULL_SCREEN_EX_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, (LONG)FULL_SCREEN_STYLE);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, width, height, SWP_SHOWWINDOW);
    bool changed = ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    return changed;
}

bool LeaveFullScreen(HWND hwnd, int left, int top, int width, int height) {
    SetWindowLongW(hwnd, GWL_EXSTYLE, 0);
    SetWindowLongW(hwnd, GWL_STYLE, (LONG)WINDOWED_STYLE);
    bool reset = ChangeDisplaySettingsW(nullptr, CDS_RESET) == DISP_CHANGE_SUCCESSFUL;
    SetWindowPos(hwnd, HWND_NOTOPMOST, left, top, width, height, SWP_SHOWWINDOW);
    ShowWindow(hwnd, SW_RESTORE);
    return reset;
}
