// Menu commands (modes, dump log, About, Exit, full screen), the three
// system-wide hot keys and the About box.
#include "app/Commands.h"

#include "app/AppState.h"
#include "app/FullScreen.h"
#include "app/Snapshot.h"
#include "app/GuidedRun.h"
#include "res/resource.h"

#include <cstdio>

void CheckModeItem(HMENU menu, UINT checkedId) {
    const UINT modeItems[] = {IDM_TOUCH, IDM_GESTURE, IDM_LINE, IDM_GUIDED_TEST};
    for (UINT id : modeItems)
        CheckMenuItem(menu, id, MF_BYCOMMAND | (id == checkedId ? MF_CHECKED : MF_UNCHECKED));
}

namespace {

// Line mode, with `checkedId` (Line or Guided Test) checked, and the same
// erase as Esc: the next stroke's BeginPaint clears the window.
void EnterLineMode(HWND hwnd, HMENU menu, UINT checkedId) {
    g_touchMode = 0;
    g_lineMode = 1;
    RegisterTouchWindow(hwnd, 0);
    CheckModeItem(menu, checkedId);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void StartDump(HMENU menu) {
    g_dumpFile = fopen("logdump.txt", "w+");
    if (!g_dumpFile)
        return; // left as it was: Start can simply be chosen again
    EnableMenuItem(menu, IDM_DUMP_START, MF_BYCOMMAND | MF_DISABLED);
    EnableMenuItem(menu, IDM_DUMP_STOP, MF_BYCOMMAND | MF_ENABLED);
}

void StopDump(HMENU menu) {
    if (g_dumpFile) {
        fclose(g_dumpFile);
        g_dumpFile = nullptr;
    }
    EnableMenuItem(menu, IDM_DUMP_STOP, MF_BYCOMMAND | MF_DISABLED);
    EnableMenuItem(menu, IDM_DUMP_START, MF_BYCOMMAND | MF_ENABLED);
}

} // namespace

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // Menu and accelerator alike: the notification code is not looked at. In
    // full screen there is no menu and the menu calls below do nothing.
    HMENU menu = GetMenu(hwnd);
    UINT id = LOWORD(wParam);
    // Any mode, or Guided Test again, ends a run that is on.
    bool runEnded = (id == IDM_TOUCH || id == IDM_GESTURE || id == IDM_LINE || id == IDM_GUIDED_TEST) &&
                    EndGuidedRun(hwnd);
    switch (id) {
    case IDM_ABOUT:
        DialogBoxParamW(g_hInst, MAKEINTRESOURCEW(IDD_ABOUT), hwnd, AboutDialogProc, 0);
        break;
    case IDM_EXIT:
        DestroyWindow(hwnd);
        break;
    case IDM_TOUCH:
        g_touchMode = 1;
        g_lineMode = 0;
        RegisterTouchWindow(hwnd, 0);
        CheckModeItem(menu, IDM_TOUCH);
        break;
    case IDM_GESTURE:
        g_touchMode = 0;
        g_lineMode = 0;
        UnregisterTouchWindow(hwnd); // the platform then sends WM_GESTURE
        CheckModeItem(menu, IDM_GESTURE);
        break;
    case IDM_LINE:
        EnterLineMode(hwnd, menu, IDM_LINE);
        break;
    case IDM_GUIDED_TEST:
        // Ended by choosing it again: back in Line mode.
        EnterLineMode(hwnd, menu, runEnded ? IDM_LINE : IDM_GUIDED_TEST);
        if (!runEnded)
            StartGuidedRun(hwnd);
        break;
    case IDM_DUMP_START:
        StartDump(menu);
        break;
    case IDM_DUMP_STOP:
        StopDump(menu);
        break;
    case IDM_FULLSCREEN:
        ToggleFullScreen(hwnd);
        break;
    default:
        return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
    }
    return 0;
}

LRESULT OnHotKey(HWND hwnd, LPARAM lParam) {
    // Told apart by modifiers and key, never by the hot-key id.
    UINT modifiers = LOWORD(lParam);
    UINT key = HIWORD(lParam);
    if (modifiers == 0 && key == VK_ESCAPE) {
        EndMenu();
        InvalidateRect(hwnd, nullptr, TRUE);
    } else if (modifiers == 0 && key == VK_SPACE) {
        ToggleFullScreen(hwnd);
    } else if (modifiers == MOD_CONTROL && key == 'S') {
        SaveWindowSnapshot(hwnd, "picture");
    }
    return 0;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The dialog manager would show the box once the queue goes idle, which
        // never happens in Line mode (the main window always waits for paint).
        ShowWindow(dialog, SW_SHOW);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
