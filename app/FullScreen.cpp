// Full-screen switching.
#include "app/FullScreen.h"

#include "app/AppState.h"

void ToggleFullScreen(HWND) {}

bool EnterFullScreen(HWND, int, int, int, int) {
    return false;
}

bool LeaveFullScreen(HWND, int, int, int, int) {
    return false;
}
