// Menu commands, system-wide hot keys and the About box.
#pragma once

#include "app/Win32.h"

// Hot-key ids: one per key, since a second registration under an id in use
// replaces the first.
constexpr int HOTKEY_ID_ESCAPE = 1;
constexpr int HOTKEY_ID_SPACE = 2;
constexpr int HOTKEY_ID_SAVE = 3;

// The mode items (Touch, Gesture, Line, Guided Test) carry one check mark
// between them, set in this order.
void CheckModeItem(HMENU menu, UINT checkedId);

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
LRESULT OnHotKey(HWND hwnd, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
