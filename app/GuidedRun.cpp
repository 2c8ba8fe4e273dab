// The guided run: its state lives in g_guide; the plan and the item rules are
// GuidePlan's; this file lays them out on the window, draws them and writes
// the rows. A run stays in Line mode throughout, except that its paint handler
// carries out pending erases at once, so that a new item shows before the
// next touch.
#include "app/GuidedRun.h"

#include "app/AppState.h"
#include "app/Commands.h"
#include "app/Gdi.h"
#include "log/GuideCsv.h"
#include "log/TouchCsv.h"
#include "res/resource.h"
#include "touch/Painting.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr int CROSS_ARM = 12;          // pixels each side of a target's centre
constexpr int TARGET_RING = 4;         // radius of the small circle that marks the centre
constexpr int HOLD_RING = 24;          // radius of the hold's circle, about a fingertip's
constexpr int LINE_START_DOT = 5;      // radius of the dot at a line's start
constexpr LPARAM KEY_REPEAT = 1 << 30; // WM_KEYDOWN: the key was already down

// The middle of a client pixel in hundredths of a screen pixel, as touch.csv's screen_x, screen_y.
long long ScreenHundredths(int client, LONG origin) {
    return (client + (long long)origin) * 100 + 50;
}

void WriteRow(const char* outcome, long long endedUs) {
    const GuideItem& item = g_guide.plan.items[g_guide.item];
    const POINT& o = g_guide.origin;
    const MonitorSize& s = g_guide.monitor;
    WriteGuideCsvRow({g_guide.number, g_guide.item + 1, GuideKindName(item.kind),
                      GuideItemIsPlaced(item.kind), ScreenHundredths(item.from.x, o.x),
                      ScreenHundredths(item.from.y, o.y), ScreenHundredths(item.to.x, o.x),
                      ScreenHundredths(item.to.y, o.y), g_guide.shownUs, endedUs, outcome, o.x, o.y,
                      g_guide.width, g_guide.height, s.widthMm, s.heightMm, s.widthPx, s.heightPx});
}

void LayOut(HWND hwnd, const RECT& client, POINT origin) {
    g_guide.origin = origin;
    g_guide.width = client.right;
    g_guide.height = client.bottom;
    g_guide.monitor = ReadMonitorSize(hwnd);
    g_guide.plan = LayOutGuide(client.right, client.bottom,
                               GuideMargin(g_guide.monitor.widthPx, g_guide.monitor.widthMm));
}

// The item on a clean window, from the erase asked for here.
void ShowItem(HWND hwnd, int item, long long us) {
    g_guide.item = item;
    g_guide.shownUs = us;
    g_guide.progress = GuideProgress{};
    InvalidateRect(hwnd, nullptr, TRUE);
}

// What to do and where the tester is, for the item shown at `nowUs`.
void FormatGuideText(WCHAR* out, long long nowUs) {
    const GuideProgress& p = g_guide.progress;
    int item = g_guide.item;
    switch (g_guide.plan.items[item].kind) {
    case GuideKind::Target:
        wsprintfW(out, L"Target %d of %d: touch the centre of the cross, then lift. Backspace: back one.",
                  item + 1, GUIDE_TARGETS);
        break;
    case GuideKind::Hold: {
        long long left = GuideHoldLeftUs(p, nowUs);
        if (left < 0)
            wsprintfW(out, L"Hold a finger still on the circle for 5 seconds. Backspace: back one.");
        else if (left > 0)
            wsprintfW(out,
                      L"Hold a finger still on the circle for 5 seconds: %d s to go. Backspace: back one.",
                      (int)((left + 999999) / 1000000));
        else
            wsprintfW(out, L"Hold a finger still on the circle for 5 seconds: done, now lift it. "
                           L"Backspace: back one.");
        break;
    }
    case GuideKind::Line:
        wsprintfW(out,
                  L"Line %d of %d: draw along the line from its marked start to its end, then lift. "
                  L"Backspace: back one.",
                  item - GUIDE_FIRST_LINE + 1, GUIDE_LINES);
        break;
    case GuideKind::Contacts:
        if (p.shortTries == 0)
            wsprintfW(out, L"Put five fingers down together, then lift them. Backspace: back one.");
        else
            wsprintfW(out,
                      L"Put five fingers down together, then lift them (%d seen; try %d of %d). "
                      L"Backspace: back one.",
                      p.lastTrySeen, p.shortTries + 1, GUIDE_CONTACTS_TRIES);
        break;
    case GuideKind::Pair:
        wsprintfW(out, L"Two fingers side by side, as close as you can: swipe from left to right. "
                       L"Backspace: back one.");
        break;
    }
}

// The text row, opaque over whatever was there.
void DrawGuideText(HDC hdc, const WCHAR* text) {
    RECT row = {0, 0, g_guide.width, STATUS_ROW_HEIGHT};
    FillRect(hdc, &row, (HBRUSH)(COLOR_WINDOW + 1));
    CSelection font(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    TextOutW(hdc, 0, 0, text, (int)wcslen(text));
}

// A one-pixel cross whose centre pixel is `c`, with a circle round it.
void DrawCross(HDC hdc, GuidePoint c, int ring) {
    MoveToEx(hdc, c.x - CROSS_ARM, c.y, nullptr);
    LineTo(hdc, c.x + CROSS_ARM + 1, c.y);
    MoveToEx(hdc, c.x, c.y - CROSS_ARM, nullptr);
    LineTo(hdc, c.x, c.y + CROSS_ARM + 1);
    CSelection hollow(hdc, GetStockObject(HOLLOW_BRUSH));
    Ellipse(hdc, c.x - ring, c.y - ring, c.x + ring + 1, c.y + ring + 1);
}

void DrawItem(HDC hdc, const GuideItem& item) {
    if (!GuideItemIsPlaced(item.kind))
        return;
    CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, GUIDE_COLOR));
    CSelection penSelection(hdc, pen.Get());
    if (item.kind != GuideKind::Line) {
        DrawCross(hdc, item.from, item.kind == GuideKind::Hold ? HOLD_RING : TARGET_RING);
        return;
    }
    MoveToEx(hdc, item.from.x, item.from.y, nullptr);
    LineTo(hdc, item.to.x, item.to.y);
    SetPixel(hdc, item.to.x, item.to.y, GUIDE_COLOR); // LineTo leaves the last pixel out
    CGdiObject<HBRUSH> brush(CreateSolidBrush(GUIDE_COLOR));
    CSelection brushSelection(hdc, brush.Get());
    const GuidePoint& s = item.from;
    Ellipse(hdc, s.x - LINE_START_DOT, s.y - LINE_START_DOT, s.x + LINE_START_DOT + 1,
            s.y + LINE_START_DOT + 1);
}

// The last item is done: the run ends, back in Line mode, on a screen that says so.
void FinishRun(HWND hwnd) {
    g_guide.on = 0;
    HMENU menu = GetMenu(hwnd);
    CheckModeItem(menu ? menu : g_savedMenu, IDM_LINE); // in full screen the menu is put aside
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    CWindowDc dc(hwnd);
    DrawGuideText(dc.Get(), L"Guided test done: touch.csv and guide.csv are ready for kovrin-report.");
}

} // namespace

void StartGuidedRun(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    g_guide.on = 1;
    g_guide.number++;
    LayOut(hwnd, client, origin);
    ShowItem(hwnd, 0, TouchCsvClockUs());
}

bool CutGuidedRun() {
    if (!g_guide.on)
        return false;
    WriteRow("cut", TouchCsvClockUs());
    g_guide.on = 0;
    return true;
}

bool EndGuidedRun(HWND hwnd) {
    if (!CutGuidedRun())
        return false;
    // At once: in Line mode an erase would otherwise wait for the next touch.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    return true;
}

void OnGuideTouch(HWND hwnd, DWORD phase, DWORD contactId) {
    long long us = TouchCsvReceivedUs();
    GuideProgress& p = g_guide.progress;
    GuideStep step = phase == TOUCHEVENTF_DOWN ? GuideContactDown(p, contactId, us)
                     : phase == TOUCHEVENTF_UP
                         ? GuideContactUp(p, g_guide.plan.items[g_guide.item].kind, contactId, us)
                         : GuideStep::Going;
    if (step == GuideStep::Again)
        InvalidateRect(hwnd, nullptr, TRUE); // the item afresh, with its new text
    if (step != GuideStep::Done)
        return;
    WriteRow("done", us);
    if (g_guide.item + 1 < GUIDE_ITEMS)
        ShowItem(hwnd, g_guide.item + 1, us);
    else
        FinishRun(hwnd);
}

LRESULT OnGuideKey(HWND hwnd, WPARAM key, LPARAM flags) {
    if (key != VK_BACK || !g_guide.on)
        return DefWindowProcW(hwnd, WM_KEYDOWN, key, flags);
    if (!(flags & KEY_REPEAT)) { // a held key goes back once
        long long now = TouchCsvClockUs();
        WriteRow("back", now);
        ShowItem(hwnd, std::max(g_guide.item - 1, 0), now);
    }
    return 0;
}

void FollowGuideLayout(HWND hwnd) {
    if (!g_guide.on)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    bool same = client.right == g_guide.width && client.bottom == g_guide.height &&
                origin.x == g_guide.origin.x && origin.y == g_guide.origin.y;
    if (same || client.right <= 0 || client.bottom <= 0) // minimised: the plan waits
        return;
    LayOut(hwnd, client, origin);
    ShowItem(hwnd, g_guide.item, TouchCsvClockUs()); // shown again, where it now is
}

LRESULT OnGuidePaint(HWND hwnd) {
    {
        // Carries out a pending erase (Esc, a new item, a new size) at once;
        // the erase draws the guide afresh.
        CPaintDc paint(hwnd);
        WCHAR text[GUIDE_TEXT_CHARS];
        FormatGuideText(text, TouchCsvClockUs());
        if (wcscmp(text, g_guide.text) != 0) { // the hold's countdown
            wcscpy(g_guide.text, text);
            DrawGuideText(paint.Get(), text);
        }
    }
    // Invalid again, as Line mode keeps the window, so that the touch
    // handler's BeginPaint covers the whole client area. (WM_TIMER would
    // starve here: the countdown is drawn from this paint.)
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
}

LRESULT OnEraseBackground(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LRESULT erased = DefWindowProcW(hwnd, WM_ERASEBKGND, wParam, lParam);
    if (g_guide.on) {
        HDC hdc = (HDC)wParam;
        FormatGuideText(g_guide.text, TouchCsvClockUs());
        DrawGuideText(hdc, g_guide.text);
        DrawItem(hdc, g_guide.plan.items[g_guide.item]);
    }
    return erased;
}
