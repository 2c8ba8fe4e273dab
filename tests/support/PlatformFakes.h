// Link-level replacements, in the test binary only, for the platform calls that
// cannot be driven here: touch-input and gesture information and their close
// calls, touch registration and display-mode changes (plus watchers of the
// display-mode enumeration, of timers and of the gesture configuration, a
// performance counter that can run ahead, and the C runtime's file writes; GDI
// calls have GdiRecorder.h). They serve scripted records and record every
// call, in order. DefWindowProcW is passed through to the real one and
// recorded for WM_GESTURE only.
#pragma once

#include "app/Win32.h"

#include <functional>
#include <string>
#include <vector>

namespace fakes {

struct Call {
    std::string name;
    std::vector<long long> args;
};

// Every replaced call made since the last Reset, in order, while recordCalls
// is set (long runs turn it off to keep memory flat).
extern std::vector<Call> calls;
extern bool recordCalls;

// What GetTouchInputInfo serves: the first cInputs records of this script.
extern std::vector<TOUCHINPUT> touchInputs;
extern bool touchInputInfoFails;

// What GetGestureInfo serves (cbSize is checked, the rest copied).
extern GESTUREINFO gestureInfo;
extern bool gestureInfoFails;

// Result of ChangeDisplaySettingsW: a queue consumed call by call, then
// DISP_CHANGE_SUCCESSFUL.
extern std::vector<LONG> changeDisplayResults;
extern DEVMODEW lastDisplayMode;

// Runs inside RegisterTouchWindow, to look at the program's state at that moment.
extern std::function<void()> onRegisterTouchWindow;

// Runs inside ChangeDisplaySettingsW, before its result is taken from the queue.
extern std::function<void()> onChangeDisplaySettings;

// EnumDisplaySettingsW is recorded (device name given, mode number, and the
// dmSize and dmDriverExtra it was handed), then the real one runs.

// SetTimer is recorded as (window, id, period in ms, timer procedure given)
// and SetGestureConfig as (window, reserved, record count, record size, then
// dwID, dwWant, dwBlock of each record); the real ones then run.

// QueryPerformanceCounter runs this far ahead of the real one, so that a test
// lets seconds pass without waiting for them. Never set back, not even by
// Reset: the clock stays monotonic for everything in the binary.
extern long long clockSkewUs;

// The bytes of each write() the C runtime is asked for (every file stream's
// writes go through it), in order, while recordWrites is set.
extern bool recordWrites;
extern std::vector<std::string> writes;

void Reset();

// Calls named `name`, and how many there were.
std::vector<Call> CallsNamed(const std::string& name);
int CountCalls(const std::string& name);

// A touch record with a position given in screen pixels (stored in hundredths).
TOUCHINPUT TouchAt(DWORD id, DWORD flags, int screenX, int screenY);

// A gesture record at a screen point (each coordinate cut to 16 bits, as the
// platform's record holds it), and the same at a client point of `hwnd`.
GESTUREINFO GestureAt(DWORD id, DWORD flags, int screenX, int screenY, ULONGLONG argument = 0);
GESTUREINFO GestureAtClient(HWND hwnd, DWORD id, DWORD flags, int clientX, int clientY,
                            ULONGLONG argument = 0);

} // namespace fakes
