// The WM_TOUCH handler: slots, phases, positions, the rate timer, status lines,
// oversized messages, a 16th contact, a failed fetch and per-message allocations.
#include "app/AppState.h"
#include "support/AllocationCounter.h"
#include "support/TouchFixture.h"
#include "touch/TouchInput.h"

namespace {

const DWORD DOWN = TOUCHEVENTF_DOWN;
const DWORD MOVE = TOUCHEVENTF_MOVE;
const DWORD UP = TOUCHEVENTF_UP;

using TouchSlotTest = WindowTest;
using TouchInputTest = TouchWindowTest;

// True if the rate timer existed; it is gone afterwards.
bool KillRateTimer(HWND hwnd) {
    return KillTimer(hwnd, RATE_TIMER_ID) != 0;
}

} // namespace

TEST_F(TouchSlotTest, HeldSlotWinsOverLowerFreeOnesElseLowestFree) {
    g_slotContact[3] = 42;
    EXPECT_EQ(FindContactSlot(42), 3);
    EXPECT_EQ(FindContactSlot(7), 0);
    g_slotContact[0] = 5;
    g_slotContact[1] = 6;
    EXPECT_EQ(FindContactSlot(7), 2);
    for (int j = 0; j < SLOT_COUNT; j++)
        g_slotContact[j] = 100 + j;
    EXPECT_EQ(FindContactSlot(114), 14);
    EXPECT_EQ(FindContactSlot(7), -1);
}

TEST_F(TouchSlotTest, PhaseIsDownThenMoveThenUpOtherBitsIgnored) {
    EXPECT_EQ(TouchPhase(DOWN | MOVE | UP), DOWN);
    EXPECT_EQ(TouchPhase(MOVE | UP | TOUCHEVENTF_PRIMARY), MOVE);
    EXPECT_EQ(TouchPhase(UP | TOUCHEVENTF_INRANGE), UP);
    EXPECT_EQ(TouchPhase(TOUCHEVENTF_INRANGE | TOUCHEVENTF_PALM), 0u);
}

TEST_F(TouchSlotTest, PositionTruncatesHundredthsTowardZero) {
    TOUCHINPUT r = {};
    r.x = 123456;
    r.y = -150;
    POINT p = TouchScreenPixel(r);
    EXPECT_EQ(p.x, 1234);
    EXPECT_EQ(p.y, -1);
}

TEST_F(TouchInputTest, FirstDownClaimsSlotStartsTimerAndAloneUpStopsIt) {
    CreateWindowUnderTest();
    fakes::calls.clear();
    EXPECT_EQ(SendTouch({At(5, DOWN, 120, 88)}), 0);
    ASSERT_EQ(fakes::CountCalls("GetTouchInputInfo"), 1);
    EXPECT_EQ(fakes::calls[0].args, (std::vector<long long>{TOUCH_HANDLE, 1, (long long)sizeof(TOUCHINPUT)}));
    EXPECT_EQ(g_slotContact[0], 5);
    EXPECT_EQ(g_eventCount[0], 1);
    EXPECT_EQ(g_rateTimerOn, 1);
    EXPECT_EQ(g_statusLines, 1);
    EXPECT_EQ(g_touchInputCount, 1);
    EXPECT_STREQ(g_touchCountText, L"WM_TOUCH Count = 1");
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (DOWN id=5 120, 88)(Rate=0)");
    EXPECT_EQ(g_touchInputs[0].x, 120); // the record now holds client pixels
    EXPECT_EQ(g_touchInputs[0].y, 88);
    // A window timer of one second: WM_TIMER to the window, no procedure.
    ASSERT_EQ(fakes::CountCalls("SetTimer"), 1);
    EXPECT_EQ(fakes::CallsNamed("SetTimer")[0].args,
              (std::vector<long long>{(long long)(INT_PTR)m_hwnd, RATE_TIMER_ID, 1000, 0}));

    SendTouch({At(5, UP, 130, 90)});
    EXPECT_EQ(g_slotContact[0], -1);
    EXPECT_EQ(g_eventCount[0], 1); // an UP is not counted
    EXPECT_EQ(g_rateTimerOn, 0);
    EXPECT_FALSE(KillRateTimer(m_hwnd));
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (UP id=5 130, 90)(Rate=0)");

    // The handle is released once per message, right after the read.
    std::vector<std::string> names;
    for (const fakes::Call& c : fakes::calls)
        names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"GetTouchInputInfo", "CloseTouchInputHandle", "SetTimer",
                                               "GetTouchInputInfo", "CloseTouchInputHandle"}));
    EXPECT_EQ(fakes::calls[1].args[0], TOUCH_HANDLE);
}

TEST_F(TouchInputTest, TimerFiresAndKeepsRunningWhenUpsShareAMessage) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 10, 10), At(2, DOWN, 20, 20)});
    MSG msg;
    DWORD end = GetTickCount() + 3000;
    bool ticked = false;
    while (!ticked && (int)(end - GetTickCount()) > 0) {
        ticked = PeekMessageW(&msg, m_hwnd, WM_TIMER, WM_TIMER, PM_REMOVE) && msg.wParam == RATE_TIMER_ID;
        Sleep(5);
    }
    EXPECT_TRUE(ticked);
    SendTouch({At(1, UP, 10, 10), At(2, UP, 20, 20)});
    EXPECT_EQ(g_slotContact[0], -1);
    EXPECT_EQ(g_slotContact[1], -1);
    EXPECT_EQ(g_rateTimerOn, 1);
    EXPECT_TRUE(KillRateTimer(m_hwnd));
}

TEST_F(TouchInputTest, LinesShowTheRateOfTheLastTickAndMovesCount) {
    CreateWindowUnderTest();
    SendTouch({At(3, DOWN, 400, 200)});
    g_eventRate[0] = 57;
    SendTouch({At(9, DOWN, 10, 10), At(3, MOVE, 412, 230)});
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (DOWN id=9 10, 10)(Rate=0)");
    EXPECT_STREQ(g_contactText[1], L"WM_TOUCH1 (MOVE id=3 412, 230)(Rate=57)");
    EXPECT_EQ(g_eventCount[0], 2);
    EXPECT_EQ(g_eventCount[1], 1);
    // A new contact in a freed slot shows the rate the slot had at the last tick.
    SendTouch({At(3, UP, 412, 230)});
    SendTouch({At(4, DOWN, 50, 60)});
    EXPECT_EQ(g_slotContact[0], 4);
    EXPECT_EQ(g_eventCount[0], 1);
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (DOWN id=4 50, 60)(Rate=57)");
}

TEST_F(TouchInputTest, PhasePrecedenceAndUnknownContactsClaimNothing) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN | MOVE, 10, 10)});
    EXPECT_EQ(g_slotContact[0], 1);
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (DOWN id=1 10, 10)(Rate=0)");
    SendTouch({At(1, MOVE | UP, 11, 10)});
    EXPECT_EQ(g_slotContact[0], 1);
    EXPECT_EQ(g_eventCount[0], 2);

    // Contact 9 was never seen going down: slot 1 serves it but stays free.
    SendTouch({At(9, MOVE, 30, 30), At(9, MOVE, 31, 30)});
    EXPECT_EQ(g_slotContact[1], -1);
    EXPECT_EQ(g_eventCount[1], 2);
    SendTouch({At(9, UP, 32, 30)});
    EXPECT_EQ(g_slotContact[1], -1);
    EXPECT_EQ(g_eventCount[1], 2);
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (UP id=9 32, 30)(Rate=0)");
    EXPECT_EQ(g_slotContact[0], 1);
}

TEST_F(TouchInputTest, ContactHeldInSlotThreeKeepsItWhileLowerSlotsAreFree) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 10, 10), At(2, DOWN, 20, 10), At(3, DOWN, 30, 10), At(4, DOWN, 40, 10)});
    SendTouch({At(1, UP, 10, 10), At(2, UP, 20, 10), At(3, UP, 30, 10)});
    SendTouch({At(4, MOVE, 41, 10)});
    EXPECT_EQ(g_slotContact[3], 4);
    EXPECT_EQ(g_eventCount[3], 2);
    EXPECT_EQ(g_eventCount[0], 1);
}

TEST_F(TouchInputTest, ScreenPositionIsTruncatedThenMadeClientRelative) {
    CreateWindowUnderTest();
    POINT origin = {0, 0};
    ClientToScreen(m_hwnd, &origin);
    TOUCHINPUT r = {};
    r.x = 123456;
    r.y = -150;
    r.dwID = 8;
    r.dwFlags = DOWN;
    SendTouch({r});
    EXPECT_EQ(g_touchInputs[0].x, 1234 - origin.x);
    EXPECT_EQ(g_touchInputs[0].y, -1 - origin.y);
}

TEST_F(TouchInputTest, InputWithoutPhaseKeepsItsOldLineAndChangesNothing) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 10, 10), At(2, DOWN, 20, 20)});
    SendTouch({At(1, MOVE, 15, 10), At(2, TOUCHEVENTF_INRANGE, 25, 20)});
    EXPECT_STREQ(g_contactText[1], L"WM_TOUCH1 (DOWN id=2 20, 20)(Rate=0)");
    EXPECT_EQ(g_eventCount[1], 1);
    EXPECT_EQ(g_slotContact[1], 2);
    EXPECT_EQ(g_statusLines, 2);
}

TEST_F(TouchInputTest, FailedFetchChangesOnlyTheCountAndPaintsNothing) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 10, 10)});
    // Ask for an erase, then mark a pixel: a BeginPaint would wipe it.
    InvalidateRect(m_hwnd, nullptr, TRUE);
    HDC dc = GetDC(m_hwnd);
    SetPixel(dc, 300, 300, RGB(0, 0, 0));
    ReleaseDC(m_hwnd, dc);
    fakes::calls.clear();
    fakes::touchInputInfoFails = true;
    EXPECT_EQ(SendTouch({At(1, UP, 10, 10), At(2, DOWN, 20, 20), At(3, DOWN, 30, 30)}), 0);
    EXPECT_EQ(g_touchInputCount, 3);
    EXPECT_EQ(g_statusLines, 1);
    EXPECT_EQ(g_slotContact[0], 1);
    EXPECT_EQ(g_slotContact[1], -1);
    EXPECT_STREQ(g_touchCountText, L"WM_TOUCH Count = 1");
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (DOWN id=1 10, 10)(Rate=0)");
    EXPECT_EQ(fakes::CountCalls("CloseTouchInputHandle"), 1);
    EXPECT_EQ(PixelAt(300, 300), RGB(0, 0, 0));

    fakes::touchInputInfoFails = false;
    SendTouch({At(1, MOVE, 11, 10)});
    EXPECT_NE(PixelAt(300, 300), RGB(0, 0, 0));
}

TEST_F(TouchInputTest, MessageOfMoreThanFifteenInputsHandlesTheFirstFifteen) {
    CreateWindowUnderTest();
    std::vector<TOUCHINPUT> inputs;
    for (int i = 0; i < 20; i++)
        inputs.push_back(At(200 + i, DOWN, 10 + 10 * i, 50));
    SendTouch(inputs, 65535);
    ASSERT_EQ(fakes::CountCalls("GetTouchInputInfo"), 1);
    EXPECT_EQ(fakes::CallsNamed("GetTouchInputInfo")[0].args[1], SLOT_COUNT); // no more than the buffer holds
    EXPECT_EQ(g_touchInputCount, SLOT_COUNT);
    EXPECT_EQ(g_statusLines, SLOT_COUNT);
    EXPECT_STREQ(g_touchCountText, L"WM_TOUCH Count = 65535");
    EXPECT_STREQ(g_contactText[14], L"WM_TOUCH14 (DOWN id=214 150, 50)(Rate=0)");
    for (int j = 0; j < SLOT_COUNT; j++)
        EXPECT_EQ(g_slotContact[j], 200 + j);

    fakes::touchInputInfoFails = true;
    SendTouch({}, 40000);
    EXPECT_EQ(g_touchInputCount, SLOT_COUNT);
    EXPECT_EQ(g_statusLines, SLOT_COUNT);
}

TEST_F(TouchInputTest, SixteenthContactIsLoggedButTouchesNoSlot) {
    CreateWindowUnderTest();
    std::vector<TOUCHINPUT> inputs;
    for (int i = 0; i < SLOT_COUNT; i++)
        inputs.push_back(At(100 + i, DOWN, 20 + 20 * i, 40));
    SendTouch(inputs);
    for (int j = 0; j < SLOT_COUNT; j++) {
        g_eventCount[j] = 10 + j;
        g_eventRate[j] = 30 + j;
        g_strokeEnd[j] = POINT{j, j};
    }
    SendTouch({At(999, DOWN, 300, 300), At(999, MOVE, 320, 300), At(999, UP, 340, 300)});
    for (int j = 0; j < SLOT_COUNT; j++) {
        EXPECT_EQ(g_slotContact[j], 100 + j);
        EXPECT_EQ(g_eventCount[j], 10 + j);
        EXPECT_EQ(g_eventRate[j], 30 + j);
        EXPECT_EQ(g_strokeEnd[j].x, j);
    }
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (DOWN id=999 300, 300)(Rate=0)");
    EXPECT_STREQ(g_contactText[1], L"WM_TOUCH1 (MOVE id=999 320, 300)(Rate=0)");
    EXPECT_STREQ(g_contactText[2], L"WM_TOUCH2 (UP id=999 340, 300)(Rate=0)");
    EXPECT_EQ(PixelAt(300, 300), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(PixelAt(310, 300), GetSysColor(COLOR_WINDOW));
    EXPECT_NE(TouchLogText().find("MOVE id =999, x = 320, y =300\r\n"), std::string::npos);
}

TEST_F(TouchInputTest, TouchModeDrawsNoStrokeAndErasesOnInvalidate) {
    CreateWindowUnderTest();
    g_lineMode = 0;
    g_touchMode = 1;
    SendTouch({At(1, DOWN, 100, 100), At(1, MOVE, 150, 100)});
    EXPECT_EQ(g_strokeEnd[0].x, 0);
    EXPECT_EQ(g_eventCount[0], 2);
    PumpMessages(30);
    EXPECT_EQ(PixelAt(100, 100), GetSysColor(COLOR_WINDOW));
    // The final invalidation asks for an erase: a mark made now is wiped by
    // the next paint.
    HDC dc = GetDC(m_hwnd);
    SetPixel(dc, 200, 200, RGB(0, 0, 0));
    ReleaseDC(m_hwnd, dc);
    SendTouch({At(1, MOVE, 160, 100)});
    PumpMessages(30);
    EXPECT_EQ(PixelAt(200, 200), GetSysColor(COLOR_WINDOW));
}

TEST_F(TouchInputTest, HandlerAllocatesNothingPerMessage) {
    CreateWindowUnderTest();
    StartDump();
    fakes::recordCalls = false;
    fakes::touchInputs = {At(1, DOWN, 100, 100), At(2, DOWN, 200, 100), At(1, MOVE, 110, 100),
                          At(2, MOVE, 210, 100), At(1, UP, 120, 100),   At(2, UP, 220, 100)};
    SendTouch(fakes::touchInputs); // the first line may set up stream buffers
    long long before = AllocationCount();
    for (int i = 0; i < 200; i++)
        Send(WM_TOUCH, MAKEWPARAM(6, 0), TOUCH_HANDLE);
    g_lineMode = 0;
    g_touchMode = 1;
    for (int i = 0; i < 200; i++)
        Send(WM_TOUCH, MAKEWPARAM(6, 0), TOUCH_HANDLE);
    EXPECT_EQ(AllocationCount() - before, 0);
    StopDump();
}
