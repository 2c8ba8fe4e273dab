// Menu commands and hot keys.
#include "app/Commands.h"

#include "app/AppState.h"
#include "res/resource.h"

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_EXIT:
        DestroyWindow(hwnd);
        break;
    default:
        return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
    }
    return 0;
}

LRESULT OnHotKey(HWND, LPARAM) {
    return 0;
}

INT_PTR CALLBACK AboutDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
