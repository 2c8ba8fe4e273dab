// Renders kovrin's modes through the real window code with scripted touch and
// gesture records and saves each as a BMP with the program's own snapshot
// writer: line.bmp, touch.bmp, gesture.bmp, about.bmp in the current directory
// (with the argument "guide", only guide.bmp: a guided run).
// The touch.log and touch.csv of the run, with a tester's ruler line, held
// finger and swipe at its end, are what the report pictures are made from. tools/pictures.sh turns
// them into the PNG files of docs/.
#include "app/AppState.h"
#include "app/Commands.h"
#include "app/MainWindow.h"
#include "app/Snapshot.h"
#include "gesture/GestureRect.h"
#include "app/GuidedRun.h"
#include "res/resource.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

HWND g_hwnd;
DWORD g_clock = 4294960000u; // the platform's time stamp, wrapping during the run

// One message, 8 ms after the one before, each contact about 12 by 13 px.
void Touch(std::vector<TOUCHINPUT> inputs) {
    g_clock += 8;
    for (TOUCHINPUT& in : inputs) {
        in.dwTime = g_clock;
        in.dwMask = TOUCHINPUTMASKF_CONTACTAREA;
        in.cxContact = 1150 + 10 * (in.dwID % 9);
        in.cyContact = 1300 + 10 * (in.dwID % 7);
    }
    fakes::touchInputs = inputs;
    SendMessageW(g_hwnd, WM_TOUCH, MAKEWPARAM(inputs.size(), 0), 1);
}

TOUCHINPUT At(DWORD id, DWORD flags, double x, double y) {
    POINT p = {(LONG)x, (LONG)y};
    ClientToScreen(g_hwnd, &p);
    return fakes::TouchAt(id, flags, p.x, p.y);
}

void Gesture(DWORD id, DWORD flags, int x, int y, ULONGLONG argument) {
    fakes::gestureInfo = fakes::GestureAtClient(g_hwnd, id, flags, x, y, argument);
    SendMessageW(g_hwnd, WM_GESTURE, 0, 2);
}

// Strokes of five fingers drawing waves across the window.
void LineScene() {
    SendMessageW(g_hwnd, WM_COMMAND, IDM_LINE, 0);
    const int fingers = 5;
    std::vector<TOUCHINPUT> inputs;
    for (int step = 0; step <= 60; step++) {
        inputs.clear();
        for (int f = 0; f < fingers; f++) {
            double x = 60 + step * 9.0;
            double y = 90 + f * 85 + 30 * std::sin(step / 7.0 + f);
            DWORD flags = step == 0 ? TOUCHEVENTF_DOWN : step == 60 ? TOUCHEVENTF_UP : TOUCHEVENTF_MOVE;
            inputs.push_back(At(10 + f, flags, x, y));
        }
        Touch(inputs);
    }
}

// Three fingers resting and moving: discs and the status rows with rates.
void TouchScene() {
    SendMessageW(g_hwnd, WM_COMMAND, IDM_TOUCH, 0);
    SendMessageW(g_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(500, 420));
    Touch({At(21, TOUCHEVENTF_DOWN, 200, 300), At(22, TOUCHEVENTF_DOWN, 380, 260),
           At(23, TOUCHEVENTF_DOWN, 520, 340)});
    for (int i = 0; i < 40; i++)
        Touch({At(21, TOUCHEVENTF_MOVE, 200 + i, 300), At(22, TOUCHEVENTF_MOVE, 380, 260 + i),
               At(23, TOUCHEVENTF_MOVE, 520 - i, 340)});
    SendMessageW(g_hwnd, WM_TIMER, 1, 0); // one second has passed: counts become rates
    Touch({At(21, TOUCHEVENTF_MOVE, 242, 300), At(22, TOUCHEVENTF_MOVE, 380, 302),
           At(23, TOUCHEVENTF_MOVE, 478, 340)});
    UpdateWindow(g_hwnd);
}

// The rectangle panned, zoomed, rotated and tapped.
void GestureScene() {
    SendMessageW(g_hwnd, WM_COMMAND, IDM_GESTURE, 0);
    Gesture(GID_ZOOM, GF_BEGIN, 400, 300, 200);
    Gesture(GID_ZOOM, 0, 400, 300, 170);
    Gesture(GID_ZOOM, GF_END, 400, 300, 170);
    Gesture(GID_ROTATE, GF_BEGIN, 400, 300, 0);
    Gesture(GID_ROTATE, 0, 400, 300, 4000);
    Gesture(GID_ROTATE, GF_END, 400, 300, 5461); // about 60 degrees in all
    Gesture(GID_PAN, GF_BEGIN, 400, 300, 0);
    Gesture(GID_PAN, 0, 440, 320, 0);
    Gesture(GID_TWOFINGERTAP, 0, 440, 320, 0);
    Gesture(GID_PAN, GF_END, 460, 330, 0);
    UpdateWindow(g_hwnd);
}

// What a tester does before running kovrin-report: a line along a ruler that
// wobbles by a pixel and stalls for 70 ms, a finger held still that wanders by
// a few, and a swipe across the panel with one report missing. In Touch mode: in Line mode the
// window is never validated and the About box's timer below would starve.
void TesterScene() {
    SendMessageW(g_hwnd, WM_COMMAND, IDM_TOUCH, 0);
    const int wobble[] = {0, 1, 0, -1, 1, 0, -1};
    Touch({At(31, TOUCHEVENTF_DOWN, 80, 470)});
    for (int k = 1; k < 50; k++) {
        if (k == 30)
            g_clock += 62;
        Touch({At(31, TOUCHEVENTF_MOVE, 80 + 13 * k, 470 + k / 10 + wobble[k % 7])});
    }
    Touch({At(31, TOUCHEVENTF_UP, 717, 475)});
    const POINT wander[] = {{1, 0}, {2, 1}, {1, 2}, {-1, 2}, {-2, 1}, {-3, 0}, {-1, -2}, {0, -1}};
    Touch({At(32, TOUCHEVENTF_DOWN, 650, 150)});
    for (int k = 0; k < 24; k++)
        Touch({At(32, TOUCHEVENTF_MOVE, 650 + wander[k % 8].x, 150 + wander[k % 8].y)});
    Touch({At(32, TOUCHEVENTF_UP, 650, 150)});
    Touch({At(33, TOUCHEVENTF_DOWN, 120, 120)});
    for (int k = 1; k < 30; k++)
        if (k != 17)
            Touch({At(33, TOUCHEVENTF_MOVE, 120 + 14 * k, 120 + 10 * k)});
        else
            g_clock += 8;
    Touch({At(33, TOUCHEVENTF_UP, 540, 420)});
}

// A guided run at its third line: the targets and the hold touched a few
// pixels off, further right the further right they are, as a panel whose
// calibration is off; two lines drawn, the diagonal half drawn and not yet
// lifted.
void GuideScene() {
    SendMessageW(g_hwnd, WM_COMMAND, IDM_GUIDED_TEST, 0);
    const GuideItem* items = g_guide.plan.items;
    for (DWORD k = 0; k <= GUIDE_HOLD; k++) {
        GuidePoint p = items[k].from;
        int dx = k == GUIDE_HOLD ? 1 : (int)(k % 5) - 1, dy = k == GUIDE_HOLD ? 0 : 1 - (int)(k / 5);
        Touch({At(40 + k, TOUCHEVENTF_DOWN, p.x + dx, p.y + dy)});
        if (k == GUIDE_HOLD)
            fakes::clockSkewUs += GUIDE_HOLD_US;
        Touch({At(40 + k, TOUCHEVENTF_UP, p.x + dx, p.y + dy)});
    }
    for (DWORD k = GUIDE_FIRST_LINE; k < GUIDE_FIRST_LINE + 3; k++) {
        GuidePoint a = items[k].from, b = items[k].to;
        for (int s = 0; s <= (k < GUIDE_FIRST_LINE + 2 ? 20 : 10); s++) {
            DWORD flags = s == 0 ? TOUCHEVENTF_DOWN : s == 20 ? TOUCHEVENTF_UP : TOUCHEVENTF_MOVE;
            Touch(
                {At(70 + k, flags, a.x + (b.x - a.x) * s / 20.0 + s % 3 - 1, a.y + (b.y - a.y) * s / 20.0)});
        }
    }
}

void CALLBACK SnapAbout(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", L"About");
    if (!box)
        return;
    KillTimer(nullptr, id);
    UpdateWindow(box);
    PumpMessages(100);
    SaveWindowSnapshot(box, "about.bmp");
    EndDialog(box, IDOK);
}

} // namespace

int main(int argc, char** argv) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    InitMainWindowClass(instance);
    fakes::Reset();
    if (!CreateMainWindow(instance, SW_SHOWNORMAL))
        return 1;
    g_hwnd = FindWindowW(g_windowClass, g_title);
    ShowWindow(g_hwnd, SW_RESTORE);
    SetWindowPos(g_hwnd, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    PumpMessages(100);
    if (argc > 1 && std::strcmp(argv[1], "guide") == 0) {
        GuideScene();
        PumpMessages(100);
        SaveWindowSnapshot(g_hwnd, "guide.bmp");
        DestroyWindow(g_hwnd);
        return 0;
    }

    LineScene();
    PumpMessages(100);
    SaveWindowSnapshot(g_hwnd, "line.bmp");
    TouchScene();
    PumpMessages(100);
    SaveWindowSnapshot(g_hwnd, "touch.bmp");
    GestureScene();
    PumpMessages(100);
    SaveWindowSnapshot(g_hwnd, "gesture.bmp");
    TesterScene();
    SetTimer(nullptr, 0, 100, SnapAbout);
    SendMessageW(g_hwnd, WM_COMMAND, IDM_ABOUT, 0);

    DestroyWindow(g_hwnd);
    return 0;
}
