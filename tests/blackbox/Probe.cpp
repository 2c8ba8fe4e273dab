// Black-box probe of the built kovrin.exe, from outside the process.
//   kovrin_probe smoke PATH\TO\kovrin.exe   starts kovrin in an empty directory
//                                            and checks its window, its files
//                                            and its exit code
//   kovrin_probe query VERB [ARGS]          prints what the running kovrin's
//                                            window shows (see Query)
//   kovrin_probe console|enter PID           prints the text of process PID's
//                                            console, or presses Enter in it
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        g_failures++;
}

std::wstring MakeEmptyDir() {
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"kovrin_probe_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                       std::to_wstring(GetTickCount());
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

HWND WaitForWindow(DWORD pid, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        HWND hwnd = FindWindowW(L"KOVRIN", L"kovrin");
        DWORD owner = 0;
        // Visible means set up: the window is shown after touch.log is opened.
        if (hwnd && GetWindowThreadProcessId(hwnd, &owner) && owner == pid && IsWindowVisible(hwnd)) {
            DWORD_PTR result;
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result); // in its message loop
            return hwnd;
        }
        Sleep(50);
    }
    return nullptr;
}

// Starts kovrin, checks its window and files, ends it with `close` and checks
// the exit code.
void RunOnce(const std::wstring& exe, const char* how, void (*close)(HWND)) {
    std::printf("-- start, then %s\n", how);
    std::wstring dir = MakeEmptyDir();
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + exe + L"\"";
    BOOL started =
        CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi);
    Check(started, "kovrin.exe starts");
    if (!started)
        return;
    HWND hwnd = WaitForWindow(pi.dwProcessId, 30000);
    Check(hwnd != nullptr, "a visible window of class \"KOVRIN\" titled \"kovrin\" appears");
    if (hwnd) {
        Check(GetMenu(hwnd) != nullptr, "the window has its menu bar");
        std::wstring log = dir + L"\\touch.log";
        WIN32_FILE_ATTRIBUTE_DATA attr = {};
        BOOL exists = GetFileAttributesExW(log.c_str(), GetFileExInfoStandard, &attr);
        Check(exists, "touch.log exists in the working directory");
        Check(exists && attr.nFileSizeLow == 0 && attr.nFileSizeHigh == 0, "touch.log is empty");
        close(hwnd);
    }
    DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    Check(waited == WAIT_OBJECT_0, "the process ends");
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    Check(code == 0, "the exit code is 0");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileW((dir + L"\\touch.log").c_str());
    DeleteFileW((dir + L"\\touch.csv").c_str());
    RemoveDirectoryW(dir.c_str());
}

void CloseBox(HWND hwnd) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void FileExit(HWND hwnd) {
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(105, 0), 0); // File > Exit
}

// Answers one question about the running kovrin window on standard output.
int Query(int argc, wchar_t** argv) {
    std::wstring verb = argc > 2 ? argv[2] : L"";
    HWND hwnd = FindWindowW(L"KOVRIN", L"kovrin");
    if (verb == L"ready") { // visible and in its message loop
        DWORD_PTR result = 0;
        bool ready = hwnd && IsWindowVisible(hwnd) &&
                     SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
        std::printf("%d\n", ready ? 1 : 0);
        return 0;
    }
    if (!hwnd) {
        std::printf("no-window\n");
        return 1;
    }
    if (verb == L"close") {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    } else if ((verb == L"checked" || verb == L"enabled") && argc > 3) {
        // Wine keeps menus private to their process: there these print no-item
        // for kovrin's menu (keys.sh reads the check marks off the screen).
        UINT state = GetMenuState(GetMenu(hwnd), (UINT)_wtoi(argv[3]), MF_BYCOMMAND);
        if (state == (UINT)-1)
            std::printf("no-item\n");
        else if (verb == L"checked")
            std::printf("%d\n", (state & MF_CHECKED) ? 1 : 0);
        else
            std::printf("%d\n", (state & (MF_DISABLED | MF_GRAYED)) ? 0 : 1);
    } else if (verb == L"about") { // the About box, owned by kovrin, is open
        HWND box = FindWindowW(L"#32770", L"About");
        std::printf("%d\n", box && IsWindowVisible(box) && GetWindow(box, GW_OWNER) == hwnd ? 1 : 0);
    } else if (verb == L"rect") {
        RECT r;
        GetWindowRect(hwnd, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    } else if (verb == L"style") {
        std::printf("%08lx %08lx\n", (unsigned long)GetWindowLongW(hwnd, GWL_STYLE),
                    (unsigned long)GetWindowLongW(hwnd, GWL_EXSTYLE));
    } else if (verb == L"client") { // client origin inside the window rect, and client size
        RECT w, c;
        POINT origin = {0, 0};
        GetWindowRect(hwnd, &w);
        GetClientRect(hwnd, &c);
        ClientToScreen(hwnd, &origin);
        std::printf("%ld %ld %ld %ld\n", origin.x - w.left, origin.y - w.top, c.right, c.bottom);
    } else if (verb == L"popup") { // screen rect of the open pop-up menu
        HWND popup = FindWindowW(L"#32768", nullptr);
        RECT r = {};
        if (popup && IsWindowVisible(popup))
            GetWindowRect(popup, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    } else if (verb == L"menu") {
        std::printf("%d\n", GetMenu(hwnd) ? 1 : 0);
    } else {
        std::fprintf(stderr, "unknown query\n");
        return 2;
    }
    return 0;
}

// Attaches to `pid`'s console: a test cannot, as it would lose its own.
int Console(const std::wstring& verb, DWORD pid) {
    FreeConsole();
    if (!AttachConsole(pid))
        return 1;
    bool enter = verb == L"enter";
    HANDLE h = CreateFileW(enter ? L"CONIN$" : L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string text;
    DWORD n = 0;
    if (enter) {
        INPUT_RECORD keys[2] = {};
        for (int i = 0; i < 2; i++) {
            keys[i].EventType = KEY_EVENT;
            keys[i].Event.KeyEvent = {i == 0, 1, VK_RETURN, 0, {L'\r'}, 0};
        }
        WriteConsoleInputW(h, keys, 2, &n);
    } else {
        // UTF-8, so that a name in any script reads as the console shows it.
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        GetConsoleScreenBufferInfo(h, &info);
        std::wstring row(info.dwSize.X, L' ');
        for (SHORT y = 0; y <= info.dwCursorPosition.Y; y++) {
            ReadConsoleOutputCharacterW(h, &row[0], info.dwSize.X, {0, y}, &n);
            std::wstring shown = row.substr(0, row.find_last_not_of(L' ') + 1);
            std::string utf8(shown.size() * 3, '\0');
            utf8.resize(WideCharToMultiByte(CP_UTF8, 0, shown.data(), (int)shown.size(), &utf8[0],
                                            (int)utf8.size(), nullptr, nullptr));
            text += utf8 + "\n";
        }
    }
    CloseHandle(h);
    FreeConsole();
    std::fputs(text.c_str(), stdout);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"query")
        return Query(argc, argv);
    if (argc == 3 && (std::wstring(argv[1]) == L"console" || std::wstring(argv[1]) == L"enter"))
        return Console(argv[1], (DWORD)_wtoi(argv[2]));
    if (argc != 3 || std::wstring(argv[1]) != L"smoke") {
        std::fprintf(
            stderr,
            "usage: kovrin_probe smoke PATH\\TO\\kovrin.exe | query VERB [ARGS] | console|enter PID\n");
        return 2;
    }
    WCHAR full[MAX_PATH];
    GetFullPathNameW(argv[2], MAX_PATH, full, nullptr);
    RunOnce(full, "close box (WM_CLOSE)", CloseBox);
    RunOnce(full, "File > Exit", FileExit);
    std::printf("%d failure(s)\n", g_failures);
    return g_failures ? 1 : 0;
}
