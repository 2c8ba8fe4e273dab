// The replacements are installed through the import table (ImportTable.h).
#include "support/PlatformFakes.h"

#include "support/ImportTable.h"

#include <algorithm>
#include <cstring>
#include <io.h>
#include <initializer_list>
#include <utility>

namespace fakes {

std::vector<Call> calls;
bool recordCalls = true;
std::vector<TOUCHINPUT> touchInputs;
bool touchInputInfoFails = false;
GESTUREINFO gestureInfo;
bool gestureInfoFails = false;
std::vector<LONG> changeDisplayResults;
DEVMODEW lastDisplayMode;
std::function<void()> onRegisterTouchWindow;
std::function<void()> onChangeDisplaySettings;
long long clockSkewUs = 0;
bool recordWrites = false;
std::vector<std::string> writes;

void Reset() {
    calls.clear();
    recordCalls = true;
    touchInputs.clear();
    touchInputInfoFails = false;
    gestureInfo = GESTUREINFO{};
    gestureInfoFails = false;
    changeDisplayResults.clear();
    lastDisplayMode = DEVMODEW{};
    onRegisterTouchWindow = nullptr;
    onChangeDisplaySettings = nullptr;
    recordWrites = false;
    writes.clear();
}

std::vector<Call> CallsNamed(const std::string& name) {
    std::vector<Call> out;
    for (const Call& c : calls)
        if (c.name == name)
            out.push_back(c);
    return out;
}

int CountCalls(const std::string& name) {
    return (int)CallsNamed(name).size();
}

TOUCHINPUT TouchAt(DWORD id, DWORD flags, int screenX, int screenY) {
    TOUCHINPUT t = {};
    t.x = screenX * 100;
    t.y = screenY * 100;
    t.dwID = id;
    t.dwFlags = flags;
    return t;
}

GESTUREINFO GestureAt(DWORD id, DWORD flags, int screenX, int screenY, ULONGLONG argument) {
    GESTUREINFO g = {};
    g.dwID = id;
    g.dwFlags = flags;
    g.ptsLocation = {(SHORT)screenX, (SHORT)screenY};
    g.ullArguments = argument;
    return g;
}

GESTUREINFO GestureAtClient(HWND hwnd, DWORD id, DWORD flags, int clientX, int clientY, ULONGLONG argument) {
    POINT p = {clientX, clientY};
    ClientToScreen(hwnd, &p);
    return GestureAt(id, flags, p.x, p.y, argument);
}

} // namespace fakes

namespace {

// Records one call while recording is on.
// (An initializer list, so that nothing is allocated while recording is off.)
void Record(const char* name, std::initializer_list<long long> args) {
    if (fakes::recordCalls)
        fakes::calls.push_back({name, std::vector<long long>(args)});
}

BOOL WINAPI FakeGetTouchInputInfo(HTOUCHINPUT handle, UINT count, PTOUCHINPUT inputs, int size) {
    Record("GetTouchInputInfo", {(long long)(INT_PTR)handle, count, size});
    if (fakes::touchInputInfoFails || size != (int)sizeof(TOUCHINPUT))
        return FALSE;
    UINT n = std::min<UINT>(count, (UINT)fakes::touchInputs.size());
    std::memcpy(inputs, fakes::touchInputs.data(), n * sizeof(TOUCHINPUT));
    return TRUE;
}

BOOL WINAPI FakeCloseTouchInputHandle(HTOUCHINPUT handle) {
    Record("CloseTouchInputHandle", {(long long)(INT_PTR)handle});
    return TRUE;
}

BOOL WINAPI FakeGetGestureInfo(HGESTUREINFO handle, PGESTUREINFO info) {
    Record("GetGestureInfo", {(long long)(INT_PTR)handle});
    if (fakes::gestureInfoFails || info->cbSize != sizeof(GESTUREINFO))
        return FALSE;
    GESTUREINFO g = fakes::gestureInfo;
    g.cbSize = info->cbSize;
    *info = g;
    return TRUE;
}

BOOL WINAPI FakeCloseGestureInfoHandle(HGESTUREINFO handle) {
    Record("CloseGestureInfoHandle", {(long long)(INT_PTR)handle});
    return TRUE;
}

BOOL WINAPI FakeRegisterTouchWindow(HWND hwnd, ULONG flags) {
    Record("RegisterTouchWindow", {(long long)(INT_PTR)hwnd, flags});
    if (fakes::onRegisterTouchWindow)
        fakes::onRegisterTouchWindow();
    return TRUE;
}

BOOL WINAPI FakeUnregisterTouchWindow(HWND hwnd) {
    Record("UnregisterTouchWindow", {(long long)(INT_PTR)hwnd});
    return TRUE;
}

LONG WINAPI FakeChangeDisplaySettingsW(DEVMODEW* mode, DWORD flags) {
    Record("ChangeDisplaySettingsW", {mode != nullptr, (long long)flags});
    if (mode)
        fakes::lastDisplayMode = *mode;
    if (fakes::onChangeDisplaySettings)
        fakes::onChangeDisplaySettings();
    if (fakes::changeDisplayResults.empty())
        return DISP_CHANGE_SUCCESSFUL;
    LONG result = fakes::changeDisplayResults.front();
    fakes::changeDisplayResults.erase(fakes::changeDisplayResults.begin());
    return result;
}

// Passes everything to the real DefWindowProcW; records only WM_GESTURE, whose
// handle must reach exactly one of this and CloseGestureInfoHandle.
LRESULT WINAPI FakeDefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    using Proc = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
    static Proc real = RealEntry<Proc>(L"user32.dll", "DefWindowProcW");
    if (message == WM_GESTURE)
        Record("DefWindowProcW", {(long long)(INT_PTR)hwnd, (long long)wParam, (long long)lParam});
    return real(hwnd, message, wParam, lParam);
}

BOOL WINAPI FakeEnumDisplaySettingsW(LPCWSTR device, DWORD modeNumber, DEVMODEW* mode) {
    Record("EnumDisplaySettingsW",
           {device != nullptr, (long long)modeNumber, mode->dmSize, mode->dmDriverExtra});
    using Fn = BOOL(WINAPI*)(LPCWSTR, DWORD, DEVMODEW*);
    static Fn real = RealEntry<Fn>(L"user32.dll", "EnumDisplaySettingsW");
    return real(device, modeNumber, mode);
}

// Watched, then passed on: the timer still fires.
UINT_PTR WINAPI FakeSetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    Record("SetTimer", {(long long)(INT_PTR)hwnd, (long long)id, elapse, proc != nullptr});
    using Fn = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC);
    static Fn real = RealEntry<Fn>(L"user32.dll", "SetTimer");
    return real(hwnd, id, elapse, proc);
}

// Recorded with the fields of every record handed over, then passed on.
BOOL WINAPI FakeSetGestureConfig(HWND hwnd, DWORD reserved, UINT count, PGESTURECONFIG configs, UINT size) {
    if (fakes::recordCalls) {
        fakes::Call call = {"SetGestureConfig", {(long long)(INT_PTR)hwnd, reserved, count, size}};
        for (UINT i = 0; configs && i < count; i++)
            call.args.insert(call.args.end(), {configs[i].dwID, configs[i].dwWant, configs[i].dwBlock});
        fakes::calls.push_back(call);
    }
    using Fn = BOOL(WINAPI*)(HWND, DWORD, UINT, PGESTURECONFIG, UINT);
    static Fn real = RealEntry<Fn>(L"user32.dll", "SetGestureConfig");
    return real(hwnd, reserved, count, configs, size);
}

BOOL WINAPI FakeQueryPerformanceCounter(LARGE_INTEGER* count) {
    using Fn = BOOL(WINAPI*)(LARGE_INTEGER*);
    static Fn real = RealEntry<Fn>(L"kernel32.dll", "QueryPerformanceCounter");
    BOOL ok = real(count);
    LARGE_INTEGER frequency;
    if (fakes::clockSkewUs && QueryPerformanceFrequency(&frequency))
        count->QuadPart += fakes::clockSkewUs * frequency.QuadPart / 1000000;
    return ok;
}

} // namespace

// The runtime's write, which the file streams call, taken before its import
// library's: recorded, then passed on.
extern "C" int __cdecl write(int fd, const void* buffer, unsigned int count) {
    if (fakes::recordWrites)
        fakes::writes.emplace_back(static_cast<const char*>(buffer), count);
    return _write(fd, buffer, count);
}

extern "C" {
void* impGetTouchInputInfo __asm__(IMPORT_SYMBOL(GetTouchInputInfo, 16)) = (void*)&FakeGetTouchInputInfo;
void* impCloseTouchInputHandle __asm__(IMPORT_SYMBOL(CloseTouchInputHandle,
                                                     4)) = (void*)&FakeCloseTouchInputHandle;
void* impGetGestureInfo __asm__(IMPORT_SYMBOL(GetGestureInfo, 8)) = (void*)&FakeGetGestureInfo;
void* impCloseGestureInfoHandle __asm__(IMPORT_SYMBOL(CloseGestureInfoHandle,
                                                      4)) = (void*)&FakeCloseGestureInfoHandle;
void* impRegisterTouchWindow __asm__(IMPORT_SYMBOL(RegisterTouchWindow, 8)) = (void*)&FakeRegisterTouchWindow;
void* impUnregisterTouchWindow __asm__(IMPORT_SYMBOL(UnregisterTouchWindow,
                                                     4)) = (void*)&FakeUnregisterTouchWindow;
void* impDefWindowProcW __asm__(IMPORT_SYMBOL(DefWindowProcW, 16)) = (void*)&FakeDefWindowProcW;
void* impChangeDisplaySettingsW __asm__(IMPORT_SYMBOL(ChangeDisplaySettingsW,
                                                      8)) = (void*)&FakeChangeDisplaySettingsW;
void* impEnumDisplaySettingsW __asm__(IMPORT_SYMBOL(EnumDisplaySettingsW,
                                                    12)) = (void*)&FakeEnumDisplaySettingsW;
void* impSetTimer __asm__(IMPORT_SYMBOL(SetTimer, 16)) = (void*)&FakeSetTimer;
void* impSetGestureConfig __asm__(IMPORT_SYMBOL(SetGestureConfig, 20)) = (void*)&FakeSetGestureConfig;
void* impQueryPerformanceCounter __asm__(IMPORT_SYMBOL(QueryPerformanceCounter,
                                                       4)) = (void*)&FakeQueryPerformanceCounter;
}
