// Painting of the client area (Touch-mode discs, Gesture-mode rectangle, status
// rows), the once-a-second rate roll-over and the mouse line.
#pragma once

#include "app/Win32.h"

LRESULT OnPaint(HWND hwnd);
void DrawStatusText(HDC hdc);
LRESULT OnRateTimer();
LRESULT OnMouseMessage(HWND hwnd, UINT message, LPARAM lParam);
