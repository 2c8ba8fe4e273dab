// Link-level replacements, in the test binary only, for the platform calls that
// cannot be driven here: touch-input and gesture information and their close
// calls, touch registration and display-mode changes. They serve scripted
// records and record every call, in order.
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

// Every replaced call made since the last Reset, in order.
extern std::vector<Call> calls;
// Off: the touch-input calls are served but not recorded, so they allocate
// nothing (for allocation counts). Reset turns it back on.
extern bool recordTouchCalls;

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

void Reset();

// Calls named `name`, and how many there were.
std::vector<Call> CallsNamed(const std::string& name);
int CountCalls(const std::string& name);

// A touch record with a position given in screen pixels (stored in hundredths).
TOUCHINPUT TouchAt(DWORD id, DWORD flags, int screenX, int screenY);

} // namespace fakes
