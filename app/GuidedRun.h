// The guided run in the window: the File menu's Guided Test shows the plan's
// items one at a time, with a line of text at the top, follows the contacts
// the touch handler reads to tell when an item is done, and writes a
// guide.csv row as each item ends. Touches are drawn as in Line mode, over
// the item; the item is drawn again after every erase, by the erase itself.
#pragma once

#include "app/Win32.h"
#include "app/GuidePlan.h"
#include "app/MonitorSize.h"

// Room for the longest line of text at the top.
constexpr int GUIDE_TEXT_CHARS = 128;
// The items' colour: deep pink, unlike every stroke colour.
constexpr COLORREF GUIDE_COLOR = RGB(255, 20, 147);

struct GuideRun {
    BYTE on;
    int number; // runs started since kovrin started
    int item;   // 0-based place in the plan of the item shown
    long long shownUs;
    GuidePlan plan;
    POINT origin;      // the client area's top-left corner on the screen
    int width, height; // the client area the plan was laid out on
    MonitorSize monitor;
    GuideProgress progress;
    WCHAR text[GUIDE_TEXT_CHARS]; // the line of text drawn last
};

// Starts a run in the current client area (the window is in Line mode).
void StartGuidedRun(HWND hwnd);
// Ends a run that is on: its item's row says "cut", and the window is
// cleared. Returns whether a run was on.
bool EndGuidedRun(HWND hwnd);
// The same without touching the window, which is going away.
bool CutGuidedRun();

// An input the touch handler read, on the clock of its touch.csv rows.
void OnGuideTouch(HWND hwnd, DWORD phase, DWORD contactId);
// WM_KEYDOWN: Backspace goes back one item during a run.
LRESULT OnGuideKey(HWND hwnd, WPARAM key, LPARAM flags);
// WM_SIZE and WM_MOVE: a run is laid out again for the new client area.
void FollowGuideLayout(HWND hwnd);
// WM_PAINT during a run.
LRESULT OnGuidePaint(HWND hwnd);
// WM_ERASEBKGND: the class brush fills the area, then a run draws its item.
LRESULT OnEraseBackground(HWND hwnd, WPARAM wParam, LPARAM lParam);
