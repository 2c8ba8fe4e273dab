// Benchmark of kovrin's message handlers on the real window under Wine, with
// scripted touch and gesture records. Reports, per case, the median and 99th
// percentile time per message and the inputs handled per second, and compares
// the Line-mode touch handler, also during a guided run, with a floor: the same platform calls in the same
// order with the same arguments, without the handler's own logic.
//   kovrin_bench [--messages N]
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/Snapshot.h"
#include "gesture/GestureRect.h"
#include "res/resource.h"
#include "support/AllocationCounter.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"
#include "touch/TouchInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double g_tickUs;

double NowUs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * g_tickUs;
}

struct Figures {
    double median, p99;
};

Figures Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return {samples[n / 2], samples[std::min(n - 1, (size_t)(n * 0.99))]};
}

HWND g_hwnd;
int g_step;

// n contacts down at spread-out points; later messages move them along.
void ScriptMessage(int n, DWORD flags) {
    fakes::touchInputs.clear();
    POINT origin = {0, 0};
    ClientToScreen(g_hwnd, &origin);
    for (int i = 0; i < n; i++) {
        int x = 40 + (i % 5) * 180 + (g_step % 100);
        int y = 120 + (i / 5) * 180 + (g_step % 60);
        fakes::touchInputs.push_back(fakes::TouchAt(100 + i, flags, origin.x + x, origin.y + y));
    }
    g_step++;
}

void SendTouch(int n) {
    SendMessageW(g_hwnd, WM_TOUCH, MAKEWPARAM(n, 0), 0x1234);
}

// The platform calls one Line-mode message of n MOVE inputs makes, in order;
// the touch.csv rows go out in one write of about their length.
HANDLE g_floorFile, g_floorCsv;
constexpr int CSV_ROW_BYTES = 64;
char g_csvRows[15 * CSV_ROW_BYTES];
void FloorLineMessage(int n) {
    TOUCHINPUT inputs[15];
    GetTouchInputInfo((HTOUCHINPUT)0x1234, n, inputs, sizeof(TOUCHINPUT));
    LARGE_INTEGER readAt;
    QueryPerformanceCounter(&readAt);
    RECT client;
    GetClientRect(g_hwnd, &client);
    WCHAR text[256];
    char line[64];
    DWORD written;
    wsprintfW(text, L"WM_TOUCH Count = %d", n);
    int len = wsprintfA(line, "Touch count = %d\r\n", n);
    WriteFile(g_floorFile, line, len, &written, nullptr);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(g_hwnd, &ps);
    for (int i = 0; i < n; i++) {
        POINT p = {inputs[i].x / 100, inputs[i].y / 100};
        ScreenToClient(g_hwnd, &p);
        HPEN pen = CreatePen(PS_SOLID, 1, g_contactColors[i]);
        HGDIOBJ oldPen = SelectObject(hdc, pen);
        MoveToEx(hdc, p.x - 3, p.y - 2, nullptr);
        LineTo(hdc, p.x, p.y);
        HBRUSH brush = CreateSolidBrush(g_contactColors[i]);
        HGDIOBJ oldBrush = SelectObject(hdc, brush);
        Ellipse(hdc, p.x - 2, p.y - 2, p.x + 2, p.y + 2);
        SelectObject(hdc, oldBrush);
        DeleteObject(brush);
        SelectObject(hdc, oldPen);
        DeleteObject(pen);
        len = wsprintfA(line, "MOVE id =%u, x = %d, y =%d\r\n", (unsigned)inputs[i].dwID, (int)p.x, (int)p.y);
        WriteFile(g_floorFile, line, len, &written, nullptr);
        wsprintfW(text, L"WM_TOUCH%d (MOVE id=%d %d, %d)(Rate=%d)", i, (int)inputs[i].dwID, (int)p.x,
                  (int)p.y, 0);
    }
    EndPaint(g_hwnd, &ps);
    CloseTouchInputHandle((HTOUCHINPUT)0x1234);
    InvalidateRect(g_hwnd, nullptr, FALSE);
    WriteFile(g_floorCsv, g_csvRows, n * CSV_ROW_BYTES, &written, nullptr);
}

void SetMode(UINT command) {
    SendMessageW(g_hwnd, WM_COMMAND, command, 0);
}

void Resize(int clientWidth, int clientHeight) {
    RECT r = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, GetWindowLongW(g_hwnd, GWL_STYLE), TRUE, 0);
    ShowWindow(g_hwnd, SW_RESTORE);
    SetWindowPos(g_hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
    PumpMessages(50);
}

void PrintRow(const char* name, int inputs, const Figures& f) {
    double perSecond = inputs * 1e6 / f.median;
    double share = inputs ? 100.0 * 3600.0 / perSecond : 0.0;
    if (inputs)
        std::printf("%-34s %9.1f %9.1f %12.0f %10.1f%%\n", name, f.median, f.p99, perSecond, share);
    else
        std::printf("%-34s %9.1f %9.1f %12s %11s\n", name, f.median, f.p99, "-", "-");
}

} // namespace

int main(int argc, char** argv) {
    int messages = 2000;
    for (int i = 1; i + 1 < argc; i++)
        if (std::strcmp(argv[i], "--messages") == 0)
            messages = std::max(100, std::atoi(argv[i + 1]));

    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    g_tickUs = 1e6 / (double)freq.QuadPart;

    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string work = std::string(dir) + "kovrin_bench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(work.c_str(), nullptr);
    SetCurrentDirectoryA(work.c_str());

    HINSTANCE instance = GetModuleHandleW(nullptr);
    InitMainWindowClass(instance);
    ResetAppState();
    fakes::Reset();
    fakes::recordCalls = false; // the fakes' bookkeeping would count as the handler's allocations
    if (!CreateMainWindow(instance, SW_SHOWNORMAL))
        return 1;
    g_hwnd = FindWindowW(g_windowClass, g_title);
    Resize(1024, 768);
    g_floorFile = CreateFileA("floor.log", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    g_floorCsv = CreateFileA("floor.csv", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_ALWAYS, 0, nullptr);

    std::printf("kovrin benchmark: %d messages per case, client area 1024x768\n", messages);
    std::printf("%-34s %9s %9s %12s %11s\n", "case", "median us", "p99 us", "inputs/s", "core@3600/s");

    const int sizes[] = {1, 5, 10, 15};
    // Line mode, then a guided run (Line mode with the run's item logic), each against the floor.
    const UINT lineModes[] = {IDM_LINE, IDM_GUIDED_TEST};
    const char* lineNames[] = {"line mode, ", "guided run, "};
    long long allocationsPerCase[2][4] = {};
    double ratio[2][4] = {};
    for (int mode = 0; mode < 2; mode++) {
        for (int s = 0; s < 4; s++) {
            int n = sizes[s];
            SetMode(IDM_LINE); // ends a run: choosing Guided Test then starts one
            if (lineModes[mode] != IDM_LINE)
                SetMode(lineModes[mode]);
            ScriptMessage(n, TOUCHEVENTF_DOWN);
            SendTouch(n);
            std::vector<double> handler, floor;
            handler.reserve(messages); // growing it inside the counted span would count as the handler's
            floor.reserve(messages);
            // Side by side, in alternating rounds, so drift affects both alike.
            for (int round = 0; round < 20; round++) {
                for (int i = 0; i < messages / 20; i++) {
                    ScriptMessage(n, TOUCHEVENTF_MOVE);
                    long long before = AllocationCount();
                    double t0 = NowUs();
                    SendTouch(n);
                    handler.push_back(NowUs() - t0);
                    allocationsPerCase[mode][s] += AllocationCount() - before;
                }
                for (int i = 0; i < messages / 20; i++) {
                    ScriptMessage(n, TOUCHEVENTF_MOVE);
                    double t0 = NowUs();
                    FloorLineMessage(n);
                    floor.push_back(NowUs() - t0);
                }
            }
            ScriptMessage(n, TOUCHEVENTF_UP);
            SendTouch(n);
            Figures h = Summarise(handler), f = Summarise(floor);
            ratio[mode][s] = h.median / f.median;
            std::string name = lineNames[mode] + std::to_string(n) + " input(s)";
            PrintRow(name.c_str(), n, h);
            name = "  floor (platform calls only)";
            PrintRow(name.c_str(), n, f);
        }
    }
    SetMode(IDM_LINE);

    for (int n : sizes) {
        SetMode(IDM_TOUCH);
        ScriptMessage(n, TOUCHEVENTF_DOWN);
        SendTouch(n);
        std::vector<double> samples;
        for (int i = 0; i < messages; i++) {
            ScriptMessage(n, TOUCHEVENTF_MOVE);
            double t0 = NowUs();
            SendTouch(n);
            UpdateWindow(g_hwnd); // the paint that follows
            samples.push_back(NowUs() - t0);
        }
        ScriptMessage(n, TOUCHEVENTF_UP);
        SendTouch(n);
        std::string name = "touch mode + paint, " + std::to_string(n) + " input(s)";
        PrintRow(name.c_str(), n, Summarise(samples));
    }

    {
        SetMode(IDM_GESTURE);
        fakes::gestureInfo = fakes::GestureAt(GID_PAN, GF_BEGIN, 0, 0);
        SendMessageW(g_hwnd, WM_GESTURE, 0, 0x4321);
        std::vector<double> samples;
        for (int i = 0; i < messages; i++) {
            fakes::gestureInfo = fakes::GestureAt((i % 3 == 2) ? GID_ROTATE : GID_PAN, 0, 300 + (i % 40),
                                                  300 + (i % 30), (ULONGLONG)(i * 37 % 5000));
            double t0 = NowUs();
            SendMessageW(g_hwnd, WM_GESTURE, 0, 0x4321);
            UpdateWindow(g_hwnd);
            samples.push_back(NowUs() - t0);
        }
        PrintRow("gesture + paint of the rectangle", 0, Summarise(samples));
    }

    {
        RECT r = {0, 0, 1280, 1024};
        ShowWindow(g_hwnd, SW_RESTORE);
        SetWindowPos(g_hwnd, nullptr, 0, 0, r.right, r.bottom, SWP_NOZORDER);
        PumpMessages(50);
        std::vector<double> samples;
        for (int i = 0; i < std::max(20, messages / 50); i++) {
            double t0 = NowUs();
            SaveWindowSnapshot(g_hwnd, "picture");
            samples.push_back(NowUs() - t0);
        }
        PrintRow("snapshot of a 1280x1024 window", 0, Summarise(samples));
    }

    for (int mode = 0; mode < 2; mode++) {
        std::printf("\n%shandler / floor (median): ", lineNames[mode]);
        for (int s = 0; s < 4; s++)
            std::printf("%d input(s) %.2f%s", sizes[s], ratio[mode][s], s < 3 ? ", " : "\n");
        std::printf("heap allocations in the touch handler: ");
        for (int s = 0; s < 4; s++)
            std::printf("%lld%s", allocationsPerCase[mode][s],
                        s < 3 ? ", " : " (over all messages of the four cases)\n");
    }

    CloseHandle(g_floorFile);
    CloseHandle(g_floorCsv);
    DestroyWindow(g_hwnd);
    g_touchLog.close();
    g_touchCsv.close();
    g_guideCsv.close();
    SetCurrentDirectoryA(dir);
    DeleteFileA((work + "\\touch.log").c_str());
    DeleteFileA((work + "\\floor.log").c_str());
    DeleteFileA((work + "\\touch.csv").c_str());
    DeleteFileA((work + "\\guide.csv").c_str());
    DeleteFileA((work + "\\floor.csv").c_str());
    DeleteFileA((work + "\\picture").c_str());
    RemoveDirectoryA(work.c_str());
    return 0;
}
