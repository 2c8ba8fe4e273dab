// Decoding of gesture messages and the concrete engine bound to the rectangle.
#include "gesture/GestureEngine.h"

#include "gesture/GestureRect.h"

double AngleFromArgument(int argument) {
    return ((double)argument / 65535.0) * 4.0 * 3.141592653589793;
}

CGestureEngine::CGestureEngine() : m_lastArgument(0) {}

LRESULT CGestureEngine::HandleGesture(HWND, WPARAM, LPARAM) {
    return 14;
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
