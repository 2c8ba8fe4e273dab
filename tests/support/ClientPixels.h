// Pixel helpers for window tests: paint marks into a window from outside its
// paint handler, and read back its client area as it stands on the surface.
#pragma once

#include "app/Win32.h"

#include <vector>

// A copy of the client area, read in one BitBlt from the window's DC.
class ClientPixels {
public:
    explicit ClientPixels(HWND hwnd);
    COLORREF At(int x, int y) const;
    // Pixels in [left, right) x [top, bottom) darker than mid-grey.
    int CountDark(const RECT& area) const;
    // Pixels in the area equal to the colour.
    int CountColor(const RECT& area, COLORREF color) const;
    int Width() const {
        return m_width;
    }
    int Height() const {
        return m_height;
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_bits; // top-down, 0x00RRGGBB
};

// Fills a client rectangle with a colour through GetDC, as a stand-in for
// something drawn earlier (a stroke, old text).
void FillClientRect(HWND hwnd, const RECT& area, COLORREF color);

// Runs BeginPaint/EndPaint as the touch handler does: carries out any pending
// erase and validates the window.
void PaintOnce(HWND hwnd);

// Whether an erase is pending: fills a client point black, lets a BeginPaint
// run, and looks whether the background brush came back.
bool ErasePendingAt(HWND hwnd, int x, int y);
