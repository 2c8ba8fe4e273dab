// Definitions and initial values of the process-wide state. The three objects
// with constructors are defined here, in one translation unit, so that they are
// built in this order (rectangle, engine bound to it, closed log streams) and
// destroyed in the reverse order at process exit.
#include "app/AppState.h"

#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"

BYTE g_lineMode = START_LINE_MODE;
BYTE g_touchMode = 0;
BYTE g_fullScreen = 0;
BYTE g_rateTimerOn = 0;
int g_statusLines = START_STATUS_LINES;

HINSTANCE g_hInst = nullptr;
HMENU g_savedMenu = nullptr;
RECT g_savedWindowRect = {};
RECT g_buttonRect = {};
FILE* g_dumpFile = nullptr;

WCHAR g_title[TITLE_CHARS];
WCHAR g_windowClass[TITLE_CHARS];
WCHAR g_mouseText[MOUSE_TEXT_CHARS];
WCHAR g_gestureText[GESTURE_TEXT_CHARS];
WCHAR g_touchCountText[TOUCH_COUNT_TEXT_CHARS];
WCHAR g_contactText[SLOT_COUNT][CONTACT_TEXT_CHARS];
char g_ansiLine[ANSI_LINE_BYTES];
int g_textLength = 0;

TOUCHINPUT g_touchInputs[SLOT_COUNT];
int g_touchInputCount = 0;
int g_slotContact[SLOT_COUNT] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
POINT g_strokeEnd[SLOT_COUNT];
int g_eventCount[SLOT_COUNT];
int g_eventRate[SLOT_COUNT];

GuideRun g_guide = {};

CGestureRect g_shape;
CMyGestureEngine g_gestureEngine(&g_shape);
std::ofstream g_touchLog;
std::ofstream g_touchCsv;
std::ofstream g_guideCsv;

void ResetTouchTables() {
    g_touchInputCount = 0;
    for (int i = 0; i < SLOT_COUNT; i++) {
        g_slotContact[i] = FREE_SLOT;
        g_strokeEnd[i] = POINT{0, 0};
    }
}
