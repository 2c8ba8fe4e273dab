// Full-screen switching on a real window: styles, placement, menu, the display
// mode handed to the (faked) display change, and every outcome of the two
// display calls.
#include "app/AppState.h"
#include "app/FullScreen.h"
#include "res/resource.h"
#include "support/GdiRecorder.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"

namespace {

DWORD Style(HWND hwnd) {
    return (DWORD)GetWindowLongW(hwnd, GWL_STYLE);
}

DWORD ExStyle(HWND hwnd) {
    return (DWORD)GetWindowLongW(hwnd, GWL_EXSTYLE);
}

RECT WindowRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

bool FullScreenItemChecked(HMENU menu) {
    return (GetMenuState(menu, IDM_FULLSCREEN, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

struct DisplayCaps {
    int width, height, bits, refresh;
};

DisplayCaps ReadDisplayCaps(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    DisplayCaps caps = {GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, BITSPIXEL),
                        GetDeviceCaps(dc, VREFRESH)};
    ReleaseDC(hwnd, dc);
    return caps;
}

class FullScreenTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CreateWindowUnderTest();
        // A normal window away from the origin, so a restored rectangle is
        // told apart from the full-screen one.
        ShowWindow(m_hwnd, SW_RESTORE);
        SetWindowPos(m_hwnd, nullptr, 40, 30, 500, 400, SWP_NOZORDER);
        PumpMessages(20);
        m_menu = GetMenu(m_hwnd);
        m_windowed = WindowRect(m_hwnd);
        DisplayCaps caps = ReadDisplayCaps(m_hwnd);
        m_screen = {0, 0, caps.width, caps.height};
    }

    // In the full-screen form, whatever the display call said: a topmost
    // popup, shown maximised, over the whole display. (Under Wine the popup
    // is maximised while its menu is still attached, so its top edge sits a
    // menu bar's height above the screen.)
    void ExpectFullScreenForm() {
        EXPECT_EQ(Style(m_hwnd) & ~(WS_MAXIMIZE | WS_CLIPSIBLINGS), FULL_SCREEN_STYLE);
        EXPECT_TRUE(IsZoomed(m_hwnd));
        EXPECT_EQ(ExStyle(m_hwnd), FULL_SCREEN_EX_STYLE);
        ExpectCoversTheDisplay(WindowRect(m_hwnd));
    }

    void ExpectCoversTheDisplay(const RECT& r) {
        RECT both;
        IntersectRect(&both, &r, &m_screen);
        EXPECT_TRUE(SameRect(both, m_screen)) << Show(r) << " does not cover " << Show(m_screen);
        EXPECT_EQ(r.left, 0) << Show(r);
        EXPECT_EQ(r.right, m_screen.right) << Show(r);
        EXPECT_EQ(r.bottom, m_screen.bottom) << Show(r);
    }

    // Back in the windowed form at the rectangle it had, with its menu.
    void ExpectWindowedForm() {
        EXPECT_EQ(Style(m_hwnd) & ~WS_CLIPSIBLINGS, WINDOWED_STYLE);
        EXPECT_FALSE(IsZoomed(m_hwnd));
        EXPECT_EQ(ExStyle(m_hwnd) & WS_EX_TOPMOST, 0u);
        RECT r = WindowRect(m_hwnd);
        EXPECT_TRUE(SameRect(r, m_windowed)) << Show(r) << " instead of " << Show(m_windowed);
        EXPECT_EQ(GetMenu(m_hwnd), m_menu);
        EXPECT_FALSE(FullScreenItemChecked(m_menu));
    }

    HMENU m_menu = nullptr;
    RECT m_windowed = {};
    RECT m_screen = {};
};

} // namespace

TEST_F(FullScreenTest, EnterThenLeaveGivesBackTheWindowAsItWas) {
    ASSERT_NE(m_menu, nullptr);
    ToggleFullScreen(m_hwnd);
    PumpMessages(20);
    EXPECT_EQ(g_fullScreen, 1);
    EXPECT_TRUE(SameRect(g_savedWindowRect, m_windowed));
    ExpectFullScreenForm();
    EXPECT_EQ(GetMenu(m_hwnd), nullptr);
    EXPECT_EQ(g_savedMenu, m_menu);
    EXPECT_TRUE(FullScreenItemChecked(m_menu)); // only in the detached menu

    ToggleFullScreen(m_hwnd);
    PumpMessages(20);
    EXPECT_EQ(g_fullScreen, 0);
    ExpectWindowedForm();
}

TEST_F(FullScreenTest, AppliesTheModeTheDisplayAlreadyHas) {
    DisplayCaps caps = ReadDisplayCaps(m_hwnd);
    gdirec::Start();
    ToggleFullScreen(m_hwnd);
    gdirec::Stop();
    EXPECT_EQ(gdirec::Trace(), "GetDC=dc1 ReleaseDC(dc1)"); // the DC the mode is read through

    std::vector<fakes::Call> enums = fakes::CallsNamed("EnumDisplaySettingsW");
    ASSERT_EQ(enums.size(), 1u);
    EXPECT_EQ(enums[0].args, (std::vector<long long>{0, 0, (long long)sizeof(DEVMODEW), 0}));
    std::vector<fakes::Call> changes = fakes::CallsNamed("ChangeDisplaySettingsW");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].args, (std::vector<long long>{1, CDS_FULLSCREEN}));

    const DEVMODEW& mode = fakes::lastDisplayMode;
    EXPECT_EQ(mode.dmPelsWidth, (DWORD)caps.width);
    EXPECT_EQ(mode.dmPelsHeight, (DWORD)caps.height);
    EXPECT_EQ(mode.dmBitsPerPel, (DWORD)caps.bits);
    EXPECT_EQ(mode.dmDisplayFrequency, (DWORD)caps.refresh);
    EXPECT_EQ(mode.dmFields, 0x5C0000u);

    ToggleFullScreen(m_hwnd);
    changes = fakes::CallsNamed("ChangeDisplaySettingsW");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].args, (std::vector<long long>{0, CDS_RESET}));
}

TEST_F(FullScreenTest, ModeRecordKeepsOnlyTheFourValuesAndTheirFields) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_POSITION | DM_DISPLAYFLAGS;
    mode.dmPelsWidth = 640;
    mode.dmLogPixels = 96;
    SetFullScreenMode(&mode, 1280, 1024, 24, 60);
    EXPECT_EQ(mode.dmPelsWidth, 1280u);
    EXPECT_EQ(mode.dmPelsHeight, 1024u);
    EXPECT_EQ(mode.dmBitsPerPel, 24u);
    EXPECT_EQ(mode.dmDisplayFrequency, 60u);
    EXPECT_EQ(mode.dmFields, (DWORD)(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY));
    EXPECT_EQ(mode.dmLogPixels, 96); // untouched
}

// Entering places the window before the display changes; leaving restyles,
// resets the display and only then moves the window back.
TEST_F(FullScreenTest, EachDirectionChangesTheDisplayAtItsOwnStep) {
    DWORD styleSeen = 0;
    RECT rectSeen = {};
    HMENU menuSeen = nullptr;
    fakes::onChangeDisplaySettings = [&] {
        styleSeen = Style(m_hwnd);
        rectSeen = WindowRect(m_hwnd);
        menuSeen = GetMenu(m_hwnd);
    };
    ToggleFullScreen(m_hwnd);
    EXPECT_EQ(styleSeen & ~WS_CLIPSIBLINGS, FULL_SCREEN_STYLE); // not yet shown maximised
    EXPECT_TRUE(SameRect(rectSeen, m_screen)) << Show(rectSeen);
    EXPECT_EQ(menuSeen, m_menu); // detached only after success

    RECT fullScreen = WindowRect(m_hwnd);
    ToggleFullScreen(m_hwnd);
    EXPECT_EQ(styleSeen & ~WS_CLIPSIBLINGS, WINDOWED_STYLE);
    EXPECT_TRUE(SameRect(rectSeen, fullScreen)) << Show(rectSeen); // not moved back yet
    EXPECT_EQ(menuSeen, nullptr);
    EXPECT_TRUE(SameRect(WindowRect(m_hwnd), m_windowed));
}

TEST_F(FullScreenTest, FailedChangeKeepsTheMenuAndTheNextToggleEntersAgain) {
    fakes::changeDisplayResults = {DISP_CHANGE_FAILED};
    ToggleFullScreen(m_hwnd);
    PumpMessages(20);
    EXPECT_EQ(g_fullScreen, 0);
    ExpectFullScreenForm(); // not undone
    EXPECT_EQ(GetMenu(m_hwnd), m_menu);
    EXPECT_FALSE(FullScreenItemChecked(m_menu));

    RECT fullScreen = WindowRect(m_hwnd);
    ToggleFullScreen(m_hwnd); // the queue is empty: this change succeeds
    PumpMessages(20);
    std::vector<fakes::Call> changes = fakes::CallsNamed("ChangeDisplaySettingsW");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].args, (std::vector<long long>{1, CDS_FULLSCREEN}));
    EXPECT_EQ(g_fullScreen, 1);
    EXPECT_EQ(GetMenu(m_hwnd), nullptr);
    EXPECT_EQ(g_savedMenu, m_menu);
    EXPECT_TRUE(FullScreenItemChecked(m_menu));
    // The rectangle to restore is now the full-screen one.
    EXPECT_TRUE(SameRect(g_savedWindowRect, fullScreen)) << Show(g_savedWindowRect);
}

TEST_F(FullScreenTest, FailedResetPutsTheMenuBackAndTheNextToggleLeavesAgain) {
    fakes::changeDisplayResults = {DISP_CHANGE_SUCCESSFUL, DISP_CHANGE_BADMODE};
    ToggleFullScreen(m_hwnd);
    ASSERT_EQ(g_fullScreen, 1);
    ToggleFullScreen(m_hwnd);
    PumpMessages(20);
    EXPECT_EQ(g_fullScreen, 1);
    ExpectWindowedForm();

    ToggleFullScreen(m_hwnd);
    PumpMessages(20);
    std::vector<fakes::Call> changes = fakes::CallsNamed("ChangeDisplaySettingsW");
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[2].args, (std::vector<long long>{0, CDS_RESET}));
    EXPECT_EQ(g_fullScreen, 0);
    ExpectWindowedForm();
}
