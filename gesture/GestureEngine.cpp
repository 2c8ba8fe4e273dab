// Decoding of gesture messages and the concrete engine bound to the rectangle.
#include "gesture/GestureEngine.h"

#include "app/AppState.h"
#include "gesture/GestureRect.h"

namespace {

// Puts the message's screen location, each coordinate sign-extended from 16
// bits, into `point` and converts it there to client coordinates.
void LocationToClient(HWND hwnd, const GESTUREINFO& info, POINT& point) {
    point = POINT{info.ptsLocation.x, info.ptsLocation.y};
    ScreenToClient(hwnd, &point);
}

// Low 32 bits of a gesture argument, read as signed.
int LowArgument(ULONGLONG argument) {
    return (int)(DWORD)argument;
}

// Formats the gesture line with the screen location (not the client one).
void SetGestureText(const WCHAR* format, const GESTUREINFO& info) {
    wsprintfW(g_gestureText, format, (int)info.ptsLocation.x, (int)info.ptsLocation.y);
}

void Repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
}

} // namespace

double AngleFromArgument(int argument) {
    return ((double)argument / 65535.0) * 4.0 * 3.141592653589793;
}

POINT ZoomCenter(POINT anchor, POINT location) {
    // 64-bit sums: the midpoint of any two client points exists.
    return POINT{(LONG)(((long long)anchor.x + location.x) / 2),
                 (LONG)(((long long)anchor.y + location.y) / 2)};
}

CGestureEngine::CGestureEngine() : m_anchor{}, m_location{}, m_lastArgument(0) {}

LRESULT CGestureEngine::HandleGesture(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    HGESTUREINFO handle = (HGESTUREINFO)lParam;
    GESTUREINFO info = {};
    info.cbSize = sizeof(GESTUREINFO);
    bool handled = false;

    if (GetGestureInfo(handle, &info)) {
        switch (info.dwID) {
        case GID_BEGIN:
        case GID_END:
            SetGestureText(L"GID_BEGIN GID_END\n", info);
            handled = true;
            break;

        case GID_ZOOM:
            if (info.dwFlags & GF_BEGIN) {
                m_lastArgument = info.ullArguments;
                LocationToClient(hwnd, info, m_anchor);
                SetGestureText(L"GID_ZOOM GF_BEGIN( %d, %d)\n", info);
            } else if (info.dwFlags & GF_END) {
                m_lastArgument = 0;
                SetGestureText(L"GID_ZOOM GF_END\n", info);
                handled = true;
            } else {
                LocationToClient(hwnd, info, m_location);
                POINT center = ZoomCenter(m_anchor, m_location);
                // Without a recorded argument there is no finite factor: the
                // update only moves the reference on, so the next one works.
                if (m_lastArgument != 0)
                    OnZoom((double)info.ullArguments / (double)m_lastArgument, center.x, center.y);
                SetGestureText(L"GID_ZOOM ( %d, %d)\n", info);
                Repaint(hwnd);
                m_anchor = m_location;
                m_lastArgument = info.ullArguments;
                handled = true;
            }
            break;

        case GID_PAN:
            if (info.dwFlags & GF_BEGIN) {
                m_lastArgument = info.ullArguments;
                LocationToClient(hwnd, info, m_anchor);
                SetGestureText(L"GID_PAN GF_BEGIN( %d, %d)\n", info);
            } else {
                LocationToClient(hwnd, info, m_location);
                OnPan(m_location.x - m_anchor.x, m_location.y - m_anchor.y);
                SetGestureText(L"GID_PAN ( %d, %d)\n", info);
                Repaint(hwnd);
                m_anchor = m_location;
                handled = true;
            }
            break;

        case GID_ROTATE:
            if (info.dwFlags & GF_BEGIN) {
                m_lastArgument = info.ullArguments;
                LocationToClient(hwnd, info, m_anchor);
                OnRotate(AngleFromArgument(LowArgument(info.ullArguments)), m_anchor.x, m_anchor.y);
                SetGestureText(L"GID_ROTATE  GF_BEGIN( %d, %d)\n", info);
                Repaint(hwnd);
            } else {
                // Wrapping 32-bit difference to the previous argument; the
                // centre stays where the rotation began.
                int delta = (int)((DWORD)info.ullArguments - (DWORD)m_lastArgument);
                OnRotate(AngleFromArgument(delta), m_anchor.x, m_anchor.y);
                SetGestureText(L"GID_ROTATE ( %d, %d)\n", info);
                Repaint(hwnd);
                m_lastArgument = info.ullArguments;
            }
            handled = true;
            break;

        case GID_TWOFINGERTAP:
            OnTwoFingerTap();
            SetGestureText(L"GID_TWOFINGERTAP\n", info);
            Repaint(hwnd);
            handled = true;
            break;

        default: // press-and-tap and unknown ids
            SetGestureText(L"Other Gesture\n", info);
            break;
        }
    }

    // Exactly one of the two takes the handle.
    if (handled)
        CloseGestureInfoHandle(handle);
    else
        DefWindowProcW(hwnd, WM_GESTURE, wParam, lParam);
    InvalidateRect(hwnd, nullptr, FALSE);
    return GESTURE_RESULT;
}

CMyGestureEngine::CMyGestureEngine(CGestureRect* shape) : m_shape(shape) {}

void CMyGestureEngine::OnPressAndTap() {
    if (m_shape)
        m_shape->NextColor();
}

void CMyGestureEngine::OnTwoFingerTap() {
    if (m_shape)
        m_shape->ToggleDiagonals();
}

void CMyGestureEngine::OnZoom(double factor, int centerX, int centerY) {
    if (m_shape)
        m_shape->Zoom(factor, centerX, centerY);
}

void CMyGestureEngine::OnPan(int dx, int dy) {
    if (m_shape)
        m_shape->Move(dx, dy);
}

void CMyGestureEngine::OnRotate(double angle, int centerX, int centerY) {
    if (m_shape)
        m_shape->Rotate(angle, centerX, centerY);
}
