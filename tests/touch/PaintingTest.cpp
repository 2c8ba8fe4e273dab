// Painting on the real window: status rows, Touch-mode discs, the mouse line
// and its repaint areas, Line mode's hands-off painting, and the rate timer.
#include "touch/Painting.h"

#include "app/AppState.h"
#include "res/resource.h"
#include "support/ClientPixels.h"
#include "support/GdiRecorder.h"
#include "support/WindowFixture.h"
#include "touch/TouchInput.h"

#include <cstring>
#include <cwchar>

namespace {

class PaintingTest : public WindowTest {
protected:
    void CreateInMode(UINT modeCommand) {
        CreateWindowUnderTest();
        Send(WM_COMMAND, modeCommand);
        m_client = ClientRect();
        ASSERT_GT(m_client.right, 400);
        ASSERT_GT(m_client.bottom, 300);
    }

    // Repaints everything through the window's own WM_PAINT.
    void Repaint() {
        InvalidateRect(m_hwnd, nullptr, TRUE);
        UpdateWindow(m_hwnd);
    }

    // Dark pixels on the status row whose top is `top` (20 rows tall, left 300 pixels).
    int InkOnRow(const ClientPixels& pixels, int top) {
        return pixels.CountDark(RECT{0, top, 300, top + STATUS_ROW_HEIGHT});
    }

    RECT m_client = {};
};

void SetText(WCHAR* buffer, size_t capacity, const wchar_t* text) {
    wcsncpy(buffer, text, capacity);
}

// The main window's client area as its WM_CREATE arrives, seen by a hook.
RECT g_clientAtCreate;
HHOOK g_createHook;

LRESULT CALLBACK WatchCreate(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    WCHAR className[TITLE_CHARS] = L"";
    if (code == HC_ACTION && m->message == WM_CREATE && GetClassNameW(m->hwnd, className, TITLE_CHARS) &&
        lstrcmpW(className, g_windowClass) == 0)
        GetClientRect(m->hwnd, &g_clientAtCreate);
    return CallNextHookEx(g_createHook, code, wParam, lParam);
}

TOUCHINPUT Input(DWORD id, DWORD flags, int x, int y) {
    TOUCHINPUT t = {};
    t.dwID = id;
    t.dwFlags = flags;
    t.x = x;
    t.y = y;
    return t;
}

} // namespace

TEST(PaintingRules, DiscColorIsTheFirstSlotHoldingTheIdElseNavy) {
    for (int i = 0; i < SLOT_COUNT; i++)
        g_slotContact[i] = -1;
    g_slotContact[4] = 17;
    g_slotContact[9] = 17; // never twice in practice; the first one wins
    EXPECT_EQ(DiscColor(17), g_contactColors[4]);
    EXPECT_EQ(DiscColor(18), g_contactColors[0]);
    EXPECT_EQ(DiscColor(18), (COLORREF)0x00800000);
    g_slotContact[14] = 2;
    EXPECT_EQ(DiscColor(2), g_contactColors[14]);
    for (int i = 0; i < SLOT_COUNT; i++)
        g_slotContact[i] = -1;
}

TEST(PaintingRules, MeasurementNeedsATerminatorWithinTheLimit) {
    WCHAR text[8] = L"abc";
    EXPECT_EQ(MeasureStatusText(text, 8), 3);
    EXPECT_EQ(MeasureStatusText(text, 4), 3);
    EXPECT_EQ(MeasureStatusText(text, 3), 0); // NUL is the 4th character
    EXPECT_EQ(MeasureStatusText(L"", 8), 0);
}

TEST(PaintingRules, CountsAreCutToTheBuffers) {
    EXPECT_EQ(ClampToBuffer(0), 0);
    EXPECT_EQ(ClampToBuffer(15), 15);
    EXPECT_EQ(ClampToBuffer(16), 15);
    EXPECT_EQ(ClampToBuffer(65535), 15);
    EXPECT_LE(ClampToBuffer(-1), 0);
}

TEST(PaintingRules, MouseFormats) {
    EXPECT_STREQ(MouseTextFormat(WM_MOUSEMOVE), L"WM_MOUSEMOVE ( %d, %d)");
    EXPECT_STREQ(MouseTextFormat(WM_LBUTTONDOWN), L"WM_LBUTTONDOWN ( %d, %d)");
    EXPECT_STREQ(MouseTextFormat(WM_LBUTTONUP), L"WM_LBUTTONUP   ( %d, %d)");
    EXPECT_EQ(MouseTextFormat(WM_RBUTTONDOWN), nullptr);
}

TEST_F(PaintingTest, TouchLinesFillRowsTwentyPixelsApart) {
    CreateInMode(IDM_TOUCH);
    SetText(g_mouseText, MOUSE_TEXT_CHARS, L"WM_MOUSEMOVE ( 1, 2)");
    SetText(g_gestureText, GESTURE_TEXT_CHARS, L"GID_ZOOM not shown");
    SetText(g_touchCountText, TOUCH_COUNT_TEXT_CHARS, L"WM_TOUCH Count = 3");
    for (int l = 0; l < 4; l++)
        wsprintfW(g_contactText[l], L"WM_TOUCH%d (MOVE id=%d 10, 10)(Rate=0)", l, l);
    g_statusLines = 3;
    Repaint();
    ClientPixels pixels(m_hwnd);
    for (int top : {0, 20, 40, 60, 80})
        EXPECT_GT(InkOnRow(pixels, top), 20) << "row at " << top;
    EXPECT_EQ(InkOnRow(pixels, 100), 0);                    // the fourth contact line is not shown
    EXPECT_EQ(g_textLength, (int)wcslen(g_contactText[2])); // measured last
}

TEST_F(PaintingTest, GestureLineReplacesTheTouchRows) {
    CreateInMode(IDM_GESTURE);
    SetText(g_mouseText, MOUSE_TEXT_CHARS, L"WM_LBUTTONUP   ( 5, 6)");
    SetText(g_gestureText, GESTURE_TEXT_CHARS, L"GID_PAN ( 10, 20)");
    SetText(g_touchCountText, TOUCH_COUNT_TEXT_CHARS, L"WM_TOUCH Count = 3");
    for (int l = 0; l < 3; l++)
        SetText(g_contactText[l], CONTACT_TEXT_CHARS, L"WM_TOUCH0 (DOWN id=1 10, 10)(Rate=0)");
    g_statusLines = -1;
    gdirec::Start();
    Repaint();
    gdirec::Stop();
    EXPECT_EQ(gdirec::Count(gdirec::CREATE_PEN), 1); // the rectangle's outline
    EXPECT_TRUE(gdirec::Balanced());
    ClientPixels pixels(m_hwnd);
    EXPECT_GT(InkOnRow(pixels, 0), 20);
    EXPECT_GT(InkOnRow(pixels, 20), 20);
    EXPECT_EQ(InkOnRow(pixels, 40), 0);
    EXPECT_EQ(InkOnRow(pixels, 60), 0);
    EXPECT_EQ(g_textLength, (int)wcslen(g_gestureText));

    g_statusLines = 0;
    Repaint();
    ClientPixels onlyMouse(m_hwnd);
    EXPECT_GT(InkOnRow(onlyMouse, 0), 20);
    EXPECT_EQ(InkOnRow(onlyMouse, 20), 0);
    EXPECT_EQ(InkOnRow(onlyMouse, 40), 0);
}

TEST_F(PaintingTest, TextWithoutTerminatorInsideItsLimitDrawsNothing) {
    CreateInMode(IDM_TOUCH);
    for (int i = 0; i < MOUSE_TEXT_CHARS; i++)
        g_mouseText[i] = L'W';
    for (int i = 0; i < TOUCH_COUNT_TEXT_CHARS; i++)
        g_touchCountText[i] = L'W';
    for (int i = 0; i < CONTACT_TEXT_CHARS; i++)
        g_contactText[0][i] = L'W';
    SetText(g_contactText[1], CONTACT_TEXT_CHARS, L"WM_TOUCH1 (MOVE id=2 10, 10)(Rate=0)");
    g_statusLines = 2;
    Repaint();
    ClientPixels pixels(m_hwnd);
    EXPECT_EQ(InkOnRow(pixels, 0), 0);
    EXPECT_EQ(InkOnRow(pixels, 20), 0);
    EXPECT_EQ(InkOnRow(pixels, 40), 0);
    EXPECT_GT(InkOnRow(pixels, 60), 20); // a terminated line still shows
}

TEST_F(PaintingTest, StatusLineCountBeyondTheBufferDrawsFifteenRows) {
    CreateInMode(IDM_TOUCH);
    ASSERT_GT(m_client.bottom, 40 + 20 * 16);
    SetText(g_touchCountText, TOUCH_COUNT_TEXT_CHARS, L"WM_TOUCH Count = 40");
    for (int l = 0; l < SLOT_COUNT; l++)
        wsprintfW(g_contactText[l], L"WM_TOUCH%d (MOVE id=%d 10, 10)(Rate=0)", l, l);
    g_statusLines = 40;
    Repaint();
    ClientPixels pixels(m_hwnd);
    EXPECT_GT(InkOnRow(pixels, 40 + 20 * 14), 20);
    EXPECT_EQ(InkOnRow(pixels, 40 + 20 * 15), 0);
}

TEST_F(PaintingTest, StatusTextRestoresTheFontOfTheDc) {
    CreateInMode(IDM_TOUCH);
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    ASSERT_NE(before, GetStockObject(SYSTEM_FIXED_FONT));
    DrawStatusText(dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    ReleaseDC(m_hwnd, dc);
}

TEST_F(PaintingTest, DiscsOnlyForMovingInputsInTheirSlotColour) {
    CreateInMode(IDM_TOUCH);
    g_slotContact[3] = 77;
    g_touchInputs[0] = Input(77, TOUCHEVENTF_MOVE | TOUCHEVENTF_INRANGE, 200, 200);
    g_touchInputs[1] = Input(5, TOUCHEVENTF_MOVE, 300, 200); // no slot: navy
    g_touchInputs[2] = Input(77, TOUCHEVENTF_DOWN, 200, 280);
    g_touchInputs[3] = Input(77, TOUCHEVENTF_UP, 300, 280);
    g_touchInputCount = 4;
    g_statusLines = 0;
    gdirec::Start();
    Repaint();
    gdirec::Stop();
    // A pen and a brush for each disc, and the status font, all given back.
    EXPECT_EQ(gdirec::Count(gdirec::CREATE_BRUSH), 2);
    EXPECT_TRUE(gdirec::Balanced());
    ClientPixels pixels(m_hwnd);
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(pixels.At(200, 200), g_contactColors[3]);
    EXPECT_EQ(pixels.At(300, 200), g_contactColors[0]);
    // Radius 25: inside at 23 pixels from the centre, outside at 27.
    EXPECT_EQ(pixels.At(223, 200), g_contactColors[3]);
    EXPECT_EQ(pixels.At(200, 177), g_contactColors[3]);
    EXPECT_EQ(pixels.At(227, 200), white);
    EXPECT_EQ(pixels.At(200, 173), white);
    // A 50-pixel disc, about pi * 25 * 25 pixels.
    int area = pixels.CountColor(RECT{150, 150, 250, 250}, g_contactColors[3]);
    EXPECT_GT(area, 1800);
    EXPECT_LT(area, 2200);
    // DOWN and UP inputs get no disc.
    EXPECT_EQ(pixels.At(200, 280), white);
    EXPECT_EQ(pixels.At(300, 280), white);
}

TEST_F(PaintingTest, InputCountBeyondTheBufferPaintsTheFifteenRecords) {
    CreateInMode(IDM_TOUCH);
    for (int j = 0; j < SLOT_COUNT; j++)
        g_touchInputs[j] = Input(1000 + j, TOUCHEVENTF_MOVE, 60 + 60 * (j % 5), 150 + 60 * (j / 5));
    g_touchInputCount = 65535;
    g_statusLines = 0;
    Repaint();
    ClientPixels pixels(m_hwnd);
    for (int j = 0; j < SLOT_COUNT; j++)
        EXPECT_EQ(pixels.At(60 + 60 * (j % 5), 150 + 60 * (j / 5)), g_contactColors[0]) << j;
}

TEST_F(PaintingTest, GestureModePaintsNoDiscs) {
    CreateInMode(IDM_GESTURE);
    g_touchInputs[0] = Input(1, TOUCHEVENTF_MOVE, 100, 300);
    g_touchInputCount = 1;
    Send(WM_SIZE, 0, 0); // an empty rectangle, out of the way
    Repaint();
    EXPECT_EQ(ClientPixels(m_hwnd).At(100, 300), GetSysColor(COLOR_WINDOW));
}

TEST_F(PaintingTest, LineModePaintsNothingAndLeavesTheWindowInvalid) {
    CreateInMode(IDM_LINE);
    SetText(g_mouseText, MOUSE_TEXT_CHARS, L"WM_MOUSEMOVE ( 1, 2)");
    g_touchInputs[0] = Input(1, TOUCHEVENTF_MOVE, 200, 200);
    g_touchInputCount = 1;
    FillClientRect(m_hwnd, m_client, RGB(0, 0, 0));
    InvalidateRect(m_hwnd, nullptr, TRUE);
    EXPECT_EQ(Send(WM_PAINT), 0);
    ClientPixels pixels(m_hwnd);
    EXPECT_EQ(pixels.At(5, 5), RGB(0, 0, 0)); // no erase, no text
    EXPECT_EQ(pixels.At(200, 200), RGB(0, 0, 0));
    EXPECT_TRUE(GetUpdateRect(m_hwnd, nullptr, FALSE));
}

TEST_F(PaintingTest, MouseMoveShowsUnsignedWordsAndRepaintsEverythingWithErase) {
    CreateInMode(IDM_TOUCH);
    PaintOnce(m_hwnd);
    EXPECT_EQ(Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(65535, 7)), 0);
    EXPECT_STREQ(g_mouseText, L"WM_MOUSEMOVE ( 65535, 7)");
    RECT update;
    ASSERT_TRUE(GetUpdateRect(m_hwnd, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &m_client));
    EXPECT_TRUE(ErasePendingAt(m_hwnd, m_client.right - 10, m_client.bottom - 10));
}

TEST_F(PaintingTest, ButtonMessagesRepaintOnlyTheCreationTimeQuarter) {
    g_clientAtCreate = RECT{};
    g_createHook = SetWindowsHookExW(WH_CALLWNDPROC, WatchCreate, nullptr, GetCurrentThreadId());
    CreateInMode(IDM_GESTURE);
    UnhookWindowsHookEx(g_createHook);
    const RECT quarter = {0, 0, g_clientAtCreate.right / 2, g_clientAtCreate.bottom / 2};
    ASSERT_GT(quarter.right, 20);
    ASSERT_GT(quarter.bottom, 20);
    // A later size does not move the quarter.
    ShowWindow(m_hwnd, SW_RESTORE);
    SetWindowPos(m_hwnd, nullptr, 0, 0, 300, 200, SWP_NOZORDER);
    PumpMessages(20);
    ShowWindow(m_hwnd, SW_MAXIMIZE);
    PumpMessages(20);
    // The client area holds the quarter and more: nothing of the repaint area is clipped.
    RECT client = ClientRect();
    ASSERT_GT(client.right, quarter.right + 20);
    ASSERT_GT(client.bottom, quarter.bottom + 20);
    HRGN expected = CreateRectRgnIndirect(&quarter);
    HRGN update = CreateRectRgn(0, 0, 0, 0);

    struct Case {
        UINT message;
        const wchar_t* text;
    };
    for (Case c : {Case{WM_LBUTTONDOWN, L"WM_LBUTTONDOWN ( 12, 65535)"},
                   Case{WM_LBUTTONUP, L"WM_LBUTTONUP   ( 12, 65535)"}}) {
        PaintOnce(m_hwnd);
        EXPECT_EQ(Send(c.message, 0, MAKELPARAM(12, 65535)), 0);
        EXPECT_STREQ(g_mouseText, c.text);
        EXPECT_EQ(GetUpdateRgn(m_hwnd, update, FALSE), SIMPLEREGION);
        EXPECT_TRUE(EqualRgn(update, expected));
        // Erased inside the quarter, untouched outside it.
        EXPECT_TRUE(ErasePendingAt(m_hwnd, quarter.right - 10, quarter.bottom - 10));
        InvalidateRect(m_hwnd, &quarter, FALSE);
        Send(c.message, 0, MAKELPARAM(12, 65535));
        EXPECT_FALSE(ErasePendingAt(m_hwnd, quarter.right + 10, quarter.bottom + 10));
    }
    DeleteObject(update);
    DeleteObject(expected);
}

TEST_F(PaintingTest, MouseInLineModeChangesNothing) {
    CreateInMode(IDM_LINE);
    PaintOnce(m_hwnd);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) {
        EXPECT_EQ(Send(message, 0, MAKELPARAM(10, 10)), 0);
        EXPECT_STREQ(g_mouseText, L"");
        EXPECT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE));
    }
}

TEST_F(PaintingTest, MouseLineIsDrawnOnTheFirstRow) {
    CreateInMode(IDM_TOUCH);
    g_statusLines = 0;
    Repaint();
    EXPECT_EQ(InkOnRow(ClientPixels(m_hwnd), 0), 0);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(321, 123));
    UpdateWindow(m_hwnd);
    EXPECT_GT(InkOnRow(ClientPixels(m_hwnd), 0), 20);
}

TEST_F(PaintingTest, TimerTickRollsCountsIntoRates) {
    CreateInMode(IDM_TOUCH);
    for (int i = 0; i < SLOT_COUNT; i++) {
        g_eventCount[i] = i * 3;
        g_eventRate[i] = 99;
    }
    PaintOnce(m_hwnd);
    EXPECT_EQ(Send(WM_TIMER, RATE_TIMER_ID), 0);
    for (int i = 0; i < SLOT_COUNT; i++) {
        EXPECT_EQ(g_eventRate[i], i * 3);
        EXPECT_EQ(g_eventCount[i], 0);
    }
    EXPECT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE)); // nothing repainted
    Send(WM_TIMER, 42);                                  // the id is not looked at
    for (int i = 0; i < SLOT_COUNT; i++)
        EXPECT_EQ(g_eventRate[i], 0);
}
