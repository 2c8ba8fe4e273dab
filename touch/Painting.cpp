// Painting of the client area: discs at the moving contacts in Touch mode, the
// gesture rectangle in Gesture mode, and the status rows in both. Also the
// rate timer's roll-over and the line for the last mouse message.
#include "touch/Painting.h"

#include "app/AppState.h"
#include "app/Gdi.h"
#include "gesture/GestureRect.h"
#include "app/GuidedRun.h"
#include "touch/ContactSlots.h"

#include <algorithm>

#define STRSAFE_NO_DEPRECATE
#include <strsafe.h>

namespace {

void DrawDisc(HDC hdc, const TOUCHINPUT& input) {
    COLORREF color = DiscColor(input.dwID);
    CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, color));
    CSelection penSelection(hdc, pen.Get());
    CGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    CSelection brushSelection(hdc, brush.Get());
    Ellipse(hdc, input.x - DISC_RADIUS, input.y - DISC_RADIUS, input.x + DISC_RADIUS, input.y + DISC_RADIUS);
}

// Measures the text into g_textLength and draws it at the top of its row.
void DrawStatusRow(HDC hdc, int rowTop, const WCHAR* text, size_t limit) {
    g_textLength = MeasureStatusText(text, limit);
    TextOutW(hdc, 0, rowTop, text, g_textLength);
}

} // namespace

COLORREF DiscColor(DWORD contactId) {
    for (int k = 0; k < SLOT_COUNT; k++)
        if (g_slotContact[k] == (int)contactId)
            return g_contactColors[k];
    return g_contactColors[0];
}

int MeasureStatusText(const WCHAR* text, size_t limit) {
    size_t length = 0;
    if (FAILED(StringCchLengthW(text, limit, &length)))
        return 0;
    return (int)length;
}

int ClampToBuffer(int count) {
    return std::min(count, SLOT_COUNT);
}

const WCHAR* MouseTextFormat(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
        return L"WM_MOUSEMOVE ( %d, %d)";
    case WM_LBUTTONDOWN:
        return L"WM_LBUTTONDOWN ( %d, %d)";
    case WM_LBUTTONUP:
        return L"WM_LBUTTONUP   ( %d, %d)";
    default:
        return nullptr;
    }
}

LRESULT OnPaint(HWND hwnd) {
    if (g_guide.on)
        return OnGuidePaint(hwnd);
    // In Line mode the window stays invalid on purpose: the touch handler's
    // BeginPaint then covers the whole client area and performs pending erases.
    if (g_lineMode)
        return 0;
    CPaintDc paint(hwnd);
    HDC hdc = paint.Get();
    if (g_touchMode) {
        int count = ClampToBuffer(g_touchInputCount);
        for (int j = 0; j < count; j++)
            if (g_touchInputs[j].dwFlags & TOUCHEVENTF_MOVE) // DOWN and UP get no disc
                DrawDisc(hdc, g_touchInputs[j]);
    } else {
        g_shape.Draw(hdc);
    }
    DrawStatusText(hdc);
    return 0;
}

void DrawStatusText(HDC hdc) {
    // Colours and background mode stay the DC's defaults: opaque rows over the picture.
    CSelection font(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    DrawStatusRow(hdc, 0, g_mouseText, MOUSE_TEXT_CHARS);
    if (g_statusLines == -1) {
        DrawStatusRow(hdc, STATUS_ROW_HEIGHT, g_gestureText, GESTURE_TEXT_CHARS);
    } else if (g_statusLines > 0) {
        DrawStatusRow(hdc, STATUS_ROW_HEIGHT, g_touchCountText, TOUCH_COUNT_TEXT_CHARS);
        int lines = ClampToBuffer(g_statusLines);
        for (int l = 0; l < lines; l++)
            DrawStatusRow(hdc, 2 * STATUS_ROW_HEIGHT + STATUS_ROW_HEIGHT * l, g_contactText[l],
                          CONTACT_TEXT_CHARS);
    }
}

LRESULT OnRateTimer() {
    for (int i = 0; i < SLOT_COUNT; i++) {
        g_eventRate[i] = g_eventCount[i];
        g_eventCount[i] = 0;
    }
    return 0;
}

LRESULT OnMouseMessage(HWND hwnd, UINT message, LPARAM lParam) {
    if (g_lineMode)
        return 0;
    const WCHAR* format = MouseTextFormat(message);
    if (!format)
        return 0;
    // Both words unsigned: a position of 65535 reads as 65535, not -1.
    wsprintfW(g_mouseText, format, (int)LOWORD(lParam), (int)HIWORD(lParam));
    InvalidateRect(hwnd, message == WM_MOUSEMOVE ? nullptr : &g_buttonRect, TRUE);
    return 0;
}
