// Painting of the client area (Touch-mode discs, Gesture-mode rectangle, status
// rows), the once-a-second rate roll-over and the mouse line.
#pragma once

#include "app/Win32.h"

// Radius of the disc painted at every moving contact in Touch mode.
constexpr int DISC_RADIUS = 25;
// Distance between the tops of two status rows, whatever the font.
constexpr int STATUS_ROW_HEIGHT = 20;

// Colour of the slot that holds the contact, or slot 0's colour when none does.
COLORREF DiscColor(DWORD contactId);
// Characters before the NUL within the first `limit`; 0 when there is none.
int MeasureStatusText(const WCHAR* text, size_t limit);
// A record or line count cut to what the buffers hold.
int ClampToBuffer(int count);
// The mouse line's format for a mouse message (null for any other message).
const WCHAR* MouseTextFormat(UINT message);

LRESULT OnPaint(HWND hwnd);
void DrawStatusText(HDC hdc);
LRESULT OnRateTimer();
LRESULT OnMouseMessage(HWND hwnd, UINT message, LPARAM lParam);
