#include "support/ClientPixels.h"

ClientPixels::ClientPixels(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    m_width = client.right;
    m_height = client.bottom;
    m_bits.assign((size_t)m_width * m_height, 0);
    if (m_width <= 0 || m_height <= 0)
        return;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = m_width;
    bi.bmiHeader.biHeight = -m_height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(hwnd);
    HDC memDc = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(windowDc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memDc, dib);
    BitBlt(memDc, 0, 0, m_width, m_height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    m_bits.assign(p, p + (size_t)m_width * m_height);
    SelectObject(memDc, old);
    DeleteObject(dib);
    DeleteDC(memDc);
    ReleaseDC(hwnd, windowDc);
}

COLORREF ClientPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    DWORD v = m_bits[(size_t)y * m_width + x] & 0xFFFFFF;
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int ClientPixels::CountDark(const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++) {
            COLORREF c = At(x, y);
            if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128)
                n++;
        }
    return n;
}

int ClientPixels::CountColor(const RECT& area, COLORREF color) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (At(x, y) == color)
                n++;
    return n;
}

void FillClientRect(HWND hwnd, const RECT& area, COLORREF color) {
    HDC dc = GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
}

void PaintOnce(HWND hwnd) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
}

bool ErasePendingAt(HWND hwnd, int x, int y) {
    RECT mark = {x, y, x + 4, y + 4};
    FillClientRect(hwnd, mark, RGB(0, 0, 0));
    PaintOnce(hwnd);
    return ClientPixels(hwnd).At(x + 1, y + 1) == GetSysColor(COLOR_WINDOW);
}
