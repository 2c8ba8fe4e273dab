// The replacements are installed by defining the import-table pointers
// (__imp_...) that the program's calls go through: the linker then takes these
// instead of pulling the entries from user32's import library.
#include "support/PlatformFakes.h"

#include <algorithm>
#include <cstring>

namespace fakes {

std::vector<Call> calls;
std::vector<TOUCHINPUT> touchInputs;
bool touchInputInfoFails = false;
bool recordTouchCalls = true;
GESTUREINFO gestureInfo;
bool gestureInfoFails = false;
std::vector<LONG> changeDisplayResults;
DEVMODEW lastDisplayMode;
std::function<void()> onRegisterTouchWindow;

void Reset() {
    calls.clear();
    touchInputs.clear();
    touchInputInfoFails = false;
    recordTouchCalls = true;
    gestureInfo = GESTUREINFO{};
    gestureInfoFails = false;
    changeDisplayResults.clear();
    lastDisplayMode = DEVMODEW{};
    onRegisterTouchWindow = nullptr;
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

} // namespace fakes

namespace {

using fakes::calls;

BOOL WINAPI FakeGetTouchInputInfo(HTOUCHINPUT handle, UINT count, PTOUCHINPUT inputs, int size) {
    if (fakes::recordTouchCalls)
        calls.push_back({"GetTouchInputInfo", {(long long)(INT_PTR)handle, count, size}});
    if (fakes::touchInputInfoFails || size != (int)sizeof(TOUCHINPUT))
        return FALSE;
    UINT n = std::min<UINT>(count, (UINT)fakes::touchInputs.size());
    std::memcpy(inputs, fakes::touchInputs.data(), n * sizeof(TOUCHINPUT));
    return TRUE;
}

BOOL WINAPI FakeCloseTouchInputHandle(HTOUCHINPUT handle) {
    if (fakes::recordTouchCalls)
        calls.push_back({"CloseTouchInputHandle", {(long long)(INT_PTR)handle}});
    return TRUE;
}

BOOL WINAPI FakeGetGestureInfo(HGESTUREINFO handle, PGESTUREINFO info) {
    calls.push_back({"GetGestureInfo", {(long long)(INT_PTR)handle}});
    if (fakes::gestureInfoFails || info->cbSize != sizeof(GESTUREINFO))
        return FALSE;
    GESTUREINFO g = fakes::gestureInfo;
    g.cbSize = info->cbSize;
    *info = g;
    return TRUE;
}

BOOL WINAPI FakeCloseGestureInfoHandle(HGESTUREINFO handle) {
    calls.push_back({"CloseGestureInfoHandle", {(long long)(INT_PTR)handle}});
    return TRUE;
}

BOOL WINAPI FakeRegisterTouchWindow(HWND hwnd, ULONG flags) {
    calls.push_back({"RegisterTouchWindow", {(long long)(INT_PTR)hwnd, flags}});
    if (fakes::onRegisterTouchWindow)
        fakes::onRegisterTouchWindow();
    return TRUE;
}

BOOL WINAPI FakeUnregisterTouchWindow(HWND hwnd) {
    calls.push_back({"UnregisterTouchWindow", {(long long)(INT_PTR)hwnd}});
    return TRUE;
}

LONG WINAPI FakeChangeDisplaySettingsW(DEVMODEW* mode, DWORD flags) {
    calls.push_back({"ChangeDisplaySettingsW", {mode != nullptr, (long long)flags}});
    if (mode)
        fakes::lastDisplayMode = *mode;
    if (fakes::changeDisplayResults.empty())
        return DISP_CHANGE_SUCCESSFUL;
    LONG result = fakes::changeDisplayResults.front();
    fakes::changeDisplayResults.erase(fakes::changeDisplayResults.begin());
    return result;
}

} // namespace

// Import-table symbol names: stdcall-decorated in 32-bit builds.
#if defined(_WIN64)
#define IMPORT_SYMBOL(name, argBytes) "__imp_" #name
#else
#define IMPORT_SYMBOL(name, argBytes) "__imp__" #name "@" #argBytes
#endif

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
void* impChangeDisplaySettingsW __asm__(IMPORT_SYMBOL(ChangeDisplaySettingsW,
                                                      8)) = (void*)&FakeChangeDisplaySettingsW;
}
