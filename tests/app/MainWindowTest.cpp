// The window's life: entry, class, set-up order, WM_CREATE, WM_SIZE, WM_DESTROY.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "gesture/GestureRect.h"
#include "res/resource.h"
#include "support/PlatformFakes.h"
#include "support/ShapeFields.h"
#include "support/WindowFixture.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int);

namespace {

CREATESTRUCTW g_createParams;
HHOOK g_cbtHook;

LRESULT CALLBACK RecordCreate(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDW* cw = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (cw->lpcs->lpszClass && !IS_INTRESOURCE(cw->lpcs->lpszClass) &&
            lstrcmpW(cw->lpcs->lpszClass, g_windowClass) == 0)
            g_createParams = *cw->lpcs;
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

UINT MenuState(HWND hwnd, UINT id) {
    return GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND);
}

} // namespace

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, ClassIsRegisteredWithTheProgramsFields) {
    WNDCLASSEXW wc = {sizeof(wc)};
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(GetClassInfoExW(instance, L"KOVRIN", &wc));
    EXPECT_EQ(wc.style, (UINT)(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &AppWindowProc);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hbrBackground, (HBRUSH)(COLOR_WINDOW + 1));
    EXPECT_EQ(wc.lpszMenuName, MAKEINTRESOURCEW(IDR_MAIN));
    EXPECT_NE(wc.hIcon, nullptr);
    EXPECT_NE(wc.hIconSm, nullptr);
    EXPECT_EQ(wc.hCursor, LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(MainWindowTest, TitleAndClassComeFromTheStringTable) {
    EXPECT_STREQ(g_title, L"kovrin");
    EXPECT_STREQ(g_windowClass, L"KOVRIN");
}

TEST_F(MainWindowTest, WindowIsCreatedMaximisedOverlappedWithoutVisibleStyle) {
    g_createParams = {};
    g_cbtHook = SetWindowsHookExW(WH_CBT, RecordCreate, nullptr, GetCurrentThreadId());
    CreateWindowUnderTest();
    UnhookWindowsHookEx(g_cbtHook);
    EXPECT_EQ((DWORD)g_createParams.style, (DWORD)(WS_OVERLAPPEDWINDOW | WS_MAXIMIZE));
    EXPECT_EQ(g_createParams.style & WS_VISIBLE, 0);
    // Position, size and menu are resolved by the system before the hook sees them.
    EXPECT_EQ(g_createParams.dwExStyle & ~WS_EX_WINDOWEDGE, 0u);
    EXPECT_EQ(g_hInst, GetModuleHandleW(nullptr));
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
    EXPECT_NE(GetMenu(m_hwnd), nullptr); // the class menu applies
}

TEST_F(MainWindowTest, TouchLogIsOpenAndEmptyBeforeTouchRegistration) {
    bool logExisted = false, logOpen = false;
    fakes::onRegisterTouchWindow = [&] {
        logExisted = FileExists("touch.log");
        logOpen = g_touchLog.is_open();
    };
    CreateWindowUnderTest();
    EXPECT_TRUE(logExisted);
    EXPECT_TRUE(logOpen);
    ASSERT_EQ(fakes::CountCalls("RegisterTouchWindow"), 1);
    EXPECT_EQ(fakes::CallsNamed("RegisterTouchWindow")[0].args[1], 0);
    EXPECT_EQ(ReadFileBytes("touch.log"), "");
}

TEST_F(MainWindowTest, RotateAndPanAreConfiguredOneRecordAtATimeBeforeTouchRegistration) {
    CreateWindowUnderTest();
    std::vector<std::string> order;
    for (const fakes::Call& c : fakes::calls)
        if (c.name == "SetGestureConfig" || c.name == "RegisterTouchWindow")
            order.push_back(c.name);
    EXPECT_EQ(order,
              (std::vector<std::string>{"SetGestureConfig", "SetGestureConfig", "RegisterTouchWindow"}));
    std::vector<fakes::Call> configs = fakes::CallsNamed("SetGestureConfig");
    ASSERT_EQ(configs.size(), 2u);
    // (window, reserved 0, one record of 12 bytes: id, want, block)
    const long long hwnd = (long long)(INT_PTR)m_hwnd;
    // Rotation wanted, nothing blocked.
    EXPECT_EQ(configs[0].args, (std::vector<long long>{hwnd, 0, 1, 12, 5, 1, 0}));
    // Panning wanted; single-finger panning both ways and the gutter blocked.
    EXPECT_EQ(configs[1].args, (std::vector<long long>{hwnd, 0, 1, 12, 4, 1, 2 | 4 | 8}));
}

TEST_F(MainWindowTest, TouchLogIsEmptiedAtStart) {
    FILE* f = fopen("touch.log", "w");
    fputs("left over from an earlier run\n", f);
    fclose(f);
    CreateWindowUnderTest();
    EXPECT_EQ(ReadFileBytes("touch.log"), "");
}

TEST_F(MainWindowTest, InitialMenuStateIsLineModeWithDumpStopped) {
    CreateWindowUnderTest();
    EXPECT_TRUE(MenuState(m_hwnd, IDM_LINE) & MF_CHECKED);
    EXPECT_FALSE(MenuState(m_hwnd, IDM_TOUCH) & MF_CHECKED);
    EXPECT_FALSE(MenuState(m_hwnd, IDM_GESTURE) & MF_CHECKED);
    EXPECT_FALSE(MenuState(m_hwnd, IDM_DUMP_START) & (MF_DISABLED | MF_GRAYED));
    EXPECT_TRUE(MenuState(m_hwnd, IDM_DUMP_STOP) & MF_DISABLED);
    EXPECT_FALSE(MenuState(m_hwnd, IDM_FULLSCREEN) & MF_CHECKED);
    EXPECT_EQ(g_lineMode, 1);
    EXPECT_EQ(g_touchMode, 0);
}

TEST_F(MainWindowTest, CreationResetsTouchTablesAndButtonRect) {
    for (int i = 0; i < SLOT_COUNT; i++) {
        g_slotContact[i] = 40 + i;
        g_strokeEnd[i] = {i, i};
    }
    g_touchInputCount = 7;
    CreateWindowUnderTest();
    for (int i = 0; i < SLOT_COUNT; i++) {
        EXPECT_EQ(g_slotContact[i], -1);
        EXPECT_EQ(g_strokeEnd[i].x, 0);
        EXPECT_EQ(g_strokeEnd[i].y, 0);
    }
    EXPECT_EQ(g_touchInputCount, 0);
    EXPECT_EQ(g_buttonRect.left, 0);
    EXPECT_EQ(g_buttonRect.top, 0);
    EXPECT_GT(g_buttonRect.right, 0);
    EXPECT_GT(g_buttonRect.bottom, 0);
}

TEST_F(MainWindowTest, ButtonRectIsNotMovedByLaterSizes) {
    CreateWindowUnderTest();
    RECT before = g_buttonRect;
    ShowWindow(m_hwnd, SW_RESTORE);
    SetWindowPos(m_hwnd, nullptr, 10, 10, 333, 222, SWP_NOZORDER);
    PumpMessages(20);
    RECT client = ClientRect();
    EXPECT_LT(client.right, 333); // the window really did change size
    EXPECT_EQ(g_buttonRect.right, before.right);
    EXPECT_EQ(g_buttonRect.bottom, before.bottom);
}

TEST_F(MainWindowTest, WmSizeResetsTheRectangleFromUnsignedWords) {
    CreateWindowUnderTest();
    g_shape.m_angle = 1.0;
    g_shape.m_diagonals = 1;
    EXPECT_EQ(Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600)), 0);
    EXPECT_EQ(ShapeFields(g_shape), ResetShape(400, 300, 400, 300));

    // The size type is not looked at, and the words are unsigned.
    Send(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(65535, 65535));
    EXPECT_EQ(g_shape.m_centerX, 32767);
    EXPECT_EQ(g_shape.m_width, 32767);
    Send(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(g_shape.m_centerX, 0);
    EXPECT_EQ(g_shape.m_height, 0);
}

TEST_F(MainWindowTest, DestroyClosesBothLogsAndQuitsWithZero) {
    CreateWindowUnderTest();
    g_dumpFile = fopen("logdump.txt", "w+");
    ASSERT_NE(g_dumpFile, nullptr);
    fputs("pending line\n", g_dumpFile); // buffered until the close
    EXPECT_EQ(DestroyWindowUnderTest(), 0);
    EXPECT_EQ(g_dumpFile, nullptr);
    EXPECT_FALSE(g_touchLog.is_open());
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "pending line\r\n");
}

TEST_F(MainWindowTest, CloseBoxDestroysTheWindow) {
    CreateWindowUnderTest();
    HWND hwnd = m_hwnd;
    Send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(hwnd));
    m_hwnd = nullptr;
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(MainWindowTest, HotKeysAreHeldByTheWindowUnderDistinctIds) {
    CreateWindowUnderTest();
    // Each combination is taken while the window lives...
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x100, 0, VK_ESCAPE));
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x101, 0, VK_SPACE));
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x102, MOD_CONTROL, 'S'));
    // ...and free again once it is gone.
    DestroyWindowUnderTest();
    EXPECT_TRUE(RegisterHotKey(nullptr, 0x100, 0, VK_ESCAPE));
    UnregisterHotKey(nullptr, 0x100);
}

TEST_F(MainWindowTest, FailedCreationCreatesNoTouchLog) {
    WCHAR saved[TITLE_CHARS];
    lstrcpyW(saved, g_windowClass);
    lstrcpyW(g_windowClass, L"NoSuchClass");
    EXPECT_FALSE(CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
    lstrcpyW(g_windowClass, saved);
    EXPECT_FALSE(FileExists("touch.log"));
    EXPECT_EQ(fakes::CountCalls("RegisterTouchWindow"), 0);
}

namespace {
bool g_wasIconic;
void CALLBACK CloseMainWindow(HWND, UINT, UINT_PTR id, DWORD) {
    HWND hwnd = FindWindowW(L"KOVRIN", L"kovrin");
    if (!hwnd)
        return;
    KillTimer(nullptr, id);
    g_wasIconic = IsIconic(hwnd);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}
} // namespace

TEST_F(MainWindowTest, EntryShowsWithTheGivenCommandAndReturnsZeroAfterClose) {
    g_wasIconic = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMainWindow);
    int result = wWinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWMINNOACTIVE);
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(g_wasIconic);
    EXPECT_TRUE(FileExists("touch.log"));
    EXPECT_FALSE(g_touchLog.is_open());
    EXPECT_EQ(FindWindowW(L"KOVRIN", L"kovrin"), nullptr);
}
