// WM_TOUCH handling: fetches the touch inputs, converts them to client pixels,
// follows each contact in a slot, counts events for the rate and formats the
// status lines. Called by AppWindowProc.
#pragma once

#include "app/Win32.h"
#include "touch/ContactSlots.h"

// The one-second window timer that rolls event counts into rates.
constexpr UINT_PTR RATE_TIMER_ID = 1;

// Slot that holds the contact id, else the lowest free slot, else -1.
int FindContactSlot(DWORD contactId);

// The phase an input's flags stand for: TOUCHEVENTF_DOWN, _MOVE or _UP, tested
// in that order, or 0 when none of the three bits is set.
DWORD TouchPhase(DWORD flags);

// Touch position (hundredths of a screen pixel) to whole screen pixels,
// truncating toward zero.
POINT TouchScreenPixel(const TOUCHINPUT& input);

// Formats the status line of input `index`; `phase` is one of the three bits.
void FormatContactLine(WCHAR* out, int index, DWORD phase, DWORD contactId, int x, int y, int rate);

LRESULT OnTouch(HWND hwnd, WPARAM wParam, LPARAM lParam);
