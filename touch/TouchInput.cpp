// Touch message processing.
#include "touch/TouchInput.h"

#include "app/AppState.h"

const COLORREF g_contactColors[15] = {0x00800000, 0x000000FF, 0x0000FF00, 0x00FF0000, 0x0000FFFF,
                                      0x00FF00FF, 0x00FFFF00, 0x00BEBEBE, 0x00238E6B, 0x0000A5FF,
                                      0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000};

int FindContactSlot(DWORD) {
    return -1;
}

LRESULT OnTouch(HWND, WPARAM, LPARAM) {
    return 0;
}
