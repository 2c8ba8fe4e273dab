// Touch message processing: the WM_TOUCH handler and the small pure pieces it
// is made of (slot search, phase, position, status line).
#include "touch/TouchInput.h"

#include "app/AppState.h"
#include "app/Gdi.h"
#include "app/GuidedRun.h"
#include "log/TouchCsv.h"
#include "log/TouchLog.h"
#include "touch/StrokeDrawing.h"

#include <algorithm>

int FindContactSlot(DWORD contactId) {
    return FindSlotIn(g_slotContact, contactId);
}

DWORD TouchPhase(DWORD flags) {
    if (flags & TOUCHEVENTF_DOWN)
        return TOUCHEVENTF_DOWN;
    if (flags & TOUCHEVENTF_MOVE)
        return TOUCHEVENTF_MOVE;
    if (flags & TOUCHEVENTF_UP)
        return TOUCHEVENTF_UP;
    return 0;
}

POINT TouchScreenPixel(const TOUCHINPUT& input) {
    return POINT{input.x / 100, input.y / 100};
}

void FormatContactLine(WCHAR* out, int index, DWORD phase, DWORD contactId, int x, int y, int rate) {
    const WCHAR* format = phase == TOUCHEVENTF_DOWN   ? L"WM_TOUCH%d (DOWN id=%d %d, %d)(Rate=%d)"
                          : phase == TOUCHEVENTF_MOVE ? L"WM_TOUCH%d (MOVE id=%d %d, %d)(Rate=%d)"
                                                      : L"WM_TOUCH%d (UP id=%d %d, %d)(Rate=%d)";
    wsprintfW(out, format, index, (int)contactId, x, y, rate);
}

namespace {

// A contact without a slot (all 15 held by others) has no rate of its own.
int SlotRate(int slot) {
    return slot >= 0 ? g_eventRate[slot] : 0;
}

void OnInputDown(HWND hwnd, HDC hdc, int i, int slot) {
    const TOUCHINPUT& r = g_touchInputs[i];
    if (slot >= 0) {
        g_slotContact[slot] = (int)r.dwID;
        if (g_lineMode)
            StrokeDown(hdc, slot, r.x, r.y);
    }
    if (!g_rateTimerOn) {
        SetTimer(hwnd, RATE_TIMER_ID, 1000, nullptr);
        g_rateTimerOn = 1;
    }
    if (slot >= 0)
        g_eventCount[slot] = 1;
    LogTouchInput(TOUCHEVENTF_DOWN, r.dwID, r.x, r.y);
    FormatContactLine(g_contactText[i], i, TOUCHEVENTF_DOWN, r.dwID, r.x, r.y, SlotRate(slot));
}

// A MOVE never claims: an unknown contact works on the lowest free slot.
void OnInputMove(HDC hdc, int i, int slot) {
    const TOUCHINPUT& r = g_touchInputs[i];
    if (slot >= 0) {
        if (g_lineMode)
            StrokeMove(hdc, slot, r.x, r.y);
        g_eventCount[slot] += 1;
    }
    LogTouchInput(TOUCHEVENTF_MOVE, r.dwID, r.x, r.y);
    FormatContactLine(g_contactText[i], i, TOUCHEVENTF_MOVE, r.dwID, r.x, r.y, SlotRate(slot));
}

void OnInputUp(HWND hwnd, HDC hdc, int i, int slot) {
    const TOUCHINPUT& r = g_touchInputs[i];
    // Decided by the inputs of this message, not by the contacts still down.
    if (g_touchInputCount == 1) {
        g_rateTimerOn = 0;
        KillTimer(hwnd, RATE_TIMER_ID);
    }
    if (slot >= 0) {
        g_slotContact[slot] = -1;
        if (g_lineMode)
            StrokeUp(hdc, slot, r.x, r.y);
    }
    LogTouchInput(TOUCHEVENTF_UP, r.dwID, r.x, r.y);
    FormatContactLine(g_contactText[i], i, TOUCHEVENTF_UP, r.dwID, r.x, r.y, SlotRate(slot));
}

void ProcessInput(HWND hwnd, HDC hdc, int i) {
    TOUCHINPUT& r = g_touchInputs[i];
    POINT delivered = {r.x, r.y};
    POINT p = TouchScreenPixel(r);
    ScreenToClient(hwnd, &p);
    r.x = p.x;
    r.y = p.y;
    int slot = FindContactSlot(r.dwID);
    DWORD phase = TouchPhase(r.dwFlags);
    switch (phase) {
    case TOUCHEVENTF_DOWN:
        OnInputDown(hwnd, hdc, i, slot);
        break;
    case TOUCHEVENTF_MOVE:
        OnInputMove(hdc, i, slot);
        break;
    case TOUCHEVENTF_UP:
        OnInputUp(hwnd, hdc, i, slot);
        break;
    default: // no phase: the line keeps what an earlier message left in it
        break;
    }
    DumpTouchLine(g_contactText[i]);
    AddTouchCsvRow(i, phase, phase ? slot : -1, r, delivered); // no phase uses no slot
    if (g_guide.on)
        OnGuideTouch(hwnd, phase, r.dwID);
}

} // namespace

LRESULT OnTouch(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // The buffers hold 15 inputs: only the first 15 of a larger message are
    // fetched, while the count line still reports what the message announced.
    int announced = LOWORD(wParam);
    g_touchInputCount = std::min(announced, SLOT_COUNT);
    HTOUCHINPUT handle = (HTOUCHINPUT)lParam;
    BOOL fetched = GetTouchInputInfo(handle, (UINT)g_touchInputCount, g_touchInputs, sizeof(TOUCHINPUT));
    CloseTouchInputHandle(handle);
    if (fetched) {
        BeginTouchCsvMessage(hwnd, announced);
        g_statusLines = g_touchInputCount;
        wsprintfW(g_touchCountText, L"WM_TOUCH Count = %d", announced);
        LogTouchCount(announced);
        // In Line mode the update region is the whole client area, so this
        // also carries out an erase that Esc asked for.
        CPaintDc paint(hwnd);
        for (int i = 0; i < g_touchInputCount; i++)
            ProcessInput(hwnd, paint.Get(), i);
    }
    InvalidateRect(hwnd, nullptr, g_lineMode ? FALSE : TRUE);
    // The rows of the message in one write, once it is handled.
    WriteTouchCsvMessage();
    return 0;
}
