// Window class, window set-up and the message dispatch of the main window.
#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/Commands.h"
#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"
#include "app/GuidedRun.h"
#include "log/GuideCsv.h"
#include "log/TouchCsv.h"
#include "log/TouchLog.h"
#include "res/resource.h"
#include "touch/Painting.h"
#include "touch/TouchInput.h"

namespace {

// Rotation on; panning on, without single-finger panning and the gutter.
const GESTURECONFIG ROTATE_CONFIG = {GID_ROTATE, GC_ROTATE, 0};
const GESTURECONFIG PAN_CONFIG = {GID_PAN, GC_PAN,
                                  GC_PAN_WITH_SINGLE_FINGER_VERTICALLY |
                                      GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY | GC_PAN_WITH_GUTTER};

LRESULT OnCreate(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    // Computed once: button messages repaint the top-left quarter of the
    // client area as it was at creation.
    g_buttonRect = {0, 0, client.right / 2, client.bottom / 2};
    ResetTouchTables();
    return 0;
}

LRESULT OnDestroy() {
    CutGuidedRun(); // the shown item's row, before the file closes
    if (g_dumpFile)
        fclose(g_dumpFile);
    g_dumpFile = nullptr;
    g_touchLog.close();
    g_touchCsv.close();
    g_guideCsv.close();
    PostQuitMessage(0);
    return 0;
}

void SetInitialMenuState(HWND hwnd) {
    HMENU menu = GetMenu(hwnd);
    EnableMenuItem(menu, IDM_DUMP_STOP, MF_BYCOMMAND | MF_DISABLED);
    EnableMenuItem(menu, IDM_DUMP_START, MF_BYCOMMAND | MF_ENABLED);
    CheckMenuItem(menu, IDM_TOUCH, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(menu, IDM_GESTURE, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(menu, IDM_LINE, MF_BYCOMMAND | MF_CHECKED);
}

} // namespace

void InitMainWindowClass(HINSTANCE instance) {
    LoadStringW(instance, IDS_WINDOW_TITLE, g_title, TITLE_CHARS);
    LoadStringW(instance, IDS_WINDOW_CLASS, g_windowClass, TITLE_CHARS);
    RegisterMainWindowClass(instance);
}

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN);
    wc.lpszClassName = g_windowClass;
    wc.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_SMALL));
    RegisterClassExW(&wc);
}

BOOL CreateMainWindow(HINSTANCE instance, int showCommand) {
    g_hInst = instance;
    HWND hwnd = CreateWindowExW(0, g_windowClass, g_title, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, CW_USEDEFAULT,
                                0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return FALSE;

    // The logs are open before touch registration, so no touch event is missed.
    OpenTouchLog();
    OpenTouchCsv();
    OpenGuideCsv();
    SetGestureConfig(hwnd, 0, 1, const_cast<GESTURECONFIG*>(&ROTATE_CONFIG), sizeof(GESTURECONFIG));
    SetGestureConfig(hwnd, 0, 1, const_cast<GESTURECONFIG*>(&PAN_CONFIG), sizeof(GESTURECONFIG));
    RegisterTouchWindow(hwnd, 0);
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    SetInitialMenuState(hwnd);
    RegisterHotKey(hwnd, HOTKEY_ID_ESCAPE, 0, VK_ESCAPE);
    RegisterHotKey(hwnd, HOTKEY_ID_SPACE, 0, VK_SPACE);
    RegisterHotKey(hwnd, HOTKEY_ID_SAVE, MOD_CONTROL, 'S');
    return TRUE;
}

LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd);
    case WM_DESTROY:
        return OnDestroy();
    case WM_SIZE:
        g_shape.Reset(LOWORD(lParam), HIWORD(lParam));
        FollowGuideLayout(hwnd);
        return 0;
    case WM_MOVE:
        FollowGuideLayout(hwnd);
        return 0;
    case WM_PAINT:
        return OnPaint(hwnd);
    case WM_COMMAND:
        return OnCommand(hwnd, wParam, lParam);
    case WM_TIMER:
        return OnRateTimer();
    case WM_GESTURE:
        g_statusLines = -1;
        return g_gestureEngine.HandleGesture(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return OnMouseMessage(hwnd, message, lParam);
    case WM_TOUCH:
        return OnTouch(hwnd, wParam, lParam);
    case WM_HOTKEY:
        return OnHotKey(hwnd, lParam);
    case WM_KEYDOWN:
        return OnGuideKey(hwnd, wParam, lParam);
    case WM_ERASEBKGND: // the class brush fills the area
        return OnEraseBackground(hwnd, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
