// WM_TOUCH handling: fetches the touch inputs, converts them to client pixels,
// follows each contact in a slot, counts events for the rate and formats the
// status lines. Owns the contact colour table.
#pragma once

#include "app/Win32.h"

// The one-second window timer that rolls event counts into rates.
constexpr UINT_PTR RATE_TIMER_ID = 1;

// Colour of each contact slot (0x00BBGGRR).
extern const COLORREF g_contactColors[15];

// Slot that holds the contact id, else the lowest free slot, else -1.
int FindContactSlot(DWORD contactId);

LRESULT OnTouch(HWND hwnd, WPARAM wParam, LPARAM lParam);
