// Painting and status text.
#include "touch/Painting.h"

#include "app/AppState.h"

LRESULT OnPaint(HWND hwnd) {
    // In Line mode the window stays invalid on purpose: the touch handler's
    // BeginPaint then covers the whole client area and performs pending erases.
    if (g_lineMode)
        return 0;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    DrawStatusText(hdc);
    EndPaint(hwnd, &ps);
    return 0;
}

void DrawStatusText(HDC) {}

LRESULT OnRateTimer() {
    return 0;
}

LRESULT OnMouseMessage(HWND, UINT, LPARAM) {
    return 0;
}
