// Process-wide state of kovrin. There is one main window, so there is one copy
// of everything; the window procedure's handlers read and write these directly.
#pragma once

#include "app/Win32.h"
#include "app/GuidedRun.h"
#include "touch/ContactSlots.h"

#include <cstdio>
#include <fstream>

class CGestureRect;
class CMyGestureEngine;

// Text buffer capacities, in characters (bytes for the narrow dump line).
constexpr int TITLE_CHARS = 100;
constexpr int MOUSE_TEXT_CHARS = 128;
constexpr int GESTURE_TEXT_CHARS = 128;
constexpr int TOUCH_COUNT_TEXT_CHARS = 64;
constexpr int CONTACT_TEXT_CHARS = 256;
constexpr int ANSI_LINE_BYTES = 256;

// The Parts rely on the platform's record layouts of the 32-bit build.
#if !defined(_WIN64)
static_assert(sizeof(TOUCHINPUT) == 40, "TOUCHINPUT is 40 bytes");
static_assert(sizeof(GESTUREINFO) == 48, "GESTUREINFO is 48 bytes");
static_assert(sizeof(GESTURECONFIG) == 12, "GESTURECONFIG is 12 bytes");
#endif

// The start values that are not zero (besides the free slots).
constexpr BYTE START_LINE_MODE = 1;    // kovrin starts in Line mode
constexpr int START_STATUS_LINES = -1; // the (empty) gesture line

// Mode and flags
extern BYTE g_lineMode;    // Line mode: strokes drawn by the touch handler
extern BYTE g_touchMode;   // Touch mode: discs at moving contacts
extern BYTE g_fullScreen;  // full-screen display mode is on
extern BYTE g_rateTimerOn; // the one-second rate timer runs
extern int g_statusLines;  // -1 gesture line, n > 0 touch lines, 0 none

// Handles and files
extern HINSTANCE g_hInst;
extern HMENU g_savedMenu;
extern RECT g_savedWindowRect;
extern RECT g_buttonRect;
extern std::ofstream g_touchLog;
extern std::ofstream g_touchCsv;
extern std::ofstream g_guideCsv;
extern FILE* g_dumpFile;

// Text buffers
extern WCHAR g_title[TITLE_CHARS];
extern WCHAR g_windowClass[TITLE_CHARS];
extern WCHAR g_mouseText[MOUSE_TEXT_CHARS];
extern WCHAR g_gestureText[GESTURE_TEXT_CHARS];
extern WCHAR g_touchCountText[TOUCH_COUNT_TEXT_CHARS];
extern WCHAR g_contactText[SLOT_COUNT][CONTACT_TEXT_CHARS];
extern char g_ansiLine[ANSI_LINE_BYTES];
extern int g_textLength;

// Touch tables, indexed by input position (g_touchInputs) or by slot
extern TOUCHINPUT g_touchInputs[SLOT_COUNT];
extern int g_touchInputCount;
extern int g_slotContact[SLOT_COUNT];
extern POINT g_strokeEnd[SLOT_COUNT];
extern int g_eventCount[SLOT_COUNT];
extern int g_eventRate[SLOT_COUNT];

// The guided run (GuidedRun.h)
extern GuideRun g_guide;

// Gesture objects
extern CGestureRect g_shape;
extern CMyGestureEngine g_gestureEngine;

// The part of the start state that window creation sets again: no inputs,
// every slot free, every stroke end at (0, 0).
void ResetTouchTables();
