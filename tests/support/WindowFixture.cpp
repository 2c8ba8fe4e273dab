#include "support/WindowFixture.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"
#include "support/PlatformFakes.h"

#include <algorithm>
#include <cstring>
#include <direct.h>
#include <fstream>
#include <sstream>

void ResetAppState() {
    g_lineMode = START_LINE_MODE;
    g_touchMode = 0;
    g_fullScreen = 0;
    g_rateTimerOn = 0;
    g_statusLines = START_STATUS_LINES;
    g_savedMenu = nullptr;
    g_savedWindowRect = RECT{};
    g_buttonRect = RECT{};
    if (g_touchLog.is_open())
        g_touchLog.close();
    g_touchLog.clear();
    for (std::ofstream* csv : {&g_touchCsv, &g_guideCsv}) {
        if (csv->is_open())
            csv->close();
        csv->clear();
    }
    g_guide = GuideRun{};
    if (g_dumpFile)
        fclose(g_dumpFile);
    g_dumpFile = nullptr;
    std::memset(g_mouseText, 0, sizeof(g_mouseText));
    std::memset(g_gestureText, 0, sizeof(g_gestureText));
    std::memset(g_touchCountText, 0, sizeof(g_touchCountText));
    std::memset(g_contactText, 0, sizeof(g_contactText));
    std::memset(g_ansiLine, 0, sizeof(g_ansiLine));
    g_textLength = 0;
    std::memset(g_touchInputs, 0, sizeof(g_touchInputs));
    ResetTouchTables();
    for (int i = 0; i < SLOT_COUNT; i++) {
        g_eventCount[i] = 0;
        g_eventRate[i] = 0;
    }
    g_shape = CGestureRect{};
    g_gestureEngine = CMyGestureEngine(&g_shape);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

::testing::AssertionResult SameLines(const std::string& actual, const std::string& expected) {
    size_t a = 0, e = 0;
    for (long line = 1;; line++) {
        if (a >= actual.size() && e >= expected.size())
            return ::testing::AssertionSuccess();
        size_t aEnd = std::min(actual.find('\n', a), actual.size());
        size_t eEnd = std::min(expected.find('\n', e), expected.size());
        std::string got = a < actual.size() ? actual.substr(a, aEnd - a) : "<end of text>";
        std::string want = e < expected.size() ? expected.substr(e, eEnd - e) : "<end of text>";
        if (got != want)
            return ::testing::AssertionFailure() << "first difference at line " << line
                                                 << "\n  actual:   " << got << "\n  expected: " << want;
        if ((aEnd == actual.size()) != (eEnd == expected.size()))
            return ::testing::AssertionFailure()
                   << "line " << line << " ends with a newline in only one text";
        a = aEnd + 1;
        e = eEnd + 1;
    }
}

void PumpMessages(int ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        for (int i = 0; i < 200 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); i++) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam); // leave it for whoever waits for it
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while ((int)(end - GetTickCount()) > 0);
}

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

} // namespace

void WindowTest::SetUp() {
    char buf[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buf);
    m_oldDir = buf;
    GetTempPathA(MAX_PATH, buf);
    static int counter = 0;
    m_dir = std::string(buf) + "kovrin_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter);
    RemoveTree(m_dir);
    CreateDirectoryA(m_dir.c_str(), nullptr);
    SetCurrentDirectoryA(m_dir.c_str());
    ResetAppState();
    fakes::Reset();
}

void WindowTest::TearDown() {
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindowUnderTest();
    m_hwnd = nullptr;
    ResetAppState();
    SetCurrentDirectoryA(m_oldDir.c_str());
    RemoveTree(m_dir);
}

void WindowTest::CreateWindowUnderTest(int showCommand) {
    ASSERT_TRUE(CreateMainWindow(GetModuleHandleW(nullptr), showCommand));
    m_hwnd = FindWindowW(g_windowClass, g_title);
    ASSERT_NE(m_hwnd, nullptr);
    PumpMessages(20);
}

int WindowTest::DestroyWindowUnderTest() {
    DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    MSG msg;
    DWORD end = GetTickCount() + 2000;
    while ((int)(end - GetTickCount()) > 0) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return (int)msg.wParam;
            DispatchMessageW(&msg);
        } else {
            Sleep(1);
        }
    }
    ADD_FAILURE() << "no WM_QUIT after the window was destroyed";
    return -1;
}

LRESULT WindowTest::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(m_hwnd, message, wParam, lParam);
}

COLORREF WindowTest::PixelAt(int x, int y) {
    HDC dc = GetDC(m_hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(m_hwnd, dc);
    return c;
}

RECT WindowTest::ClientRect() {
    RECT r;
    GetClientRect(m_hwnd, &r);
    return r;
}
