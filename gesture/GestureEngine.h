// The gesture engine: CGestureEngine decodes WM_GESTURE into at most one
// operation; CMyGestureEngine forwards those operations to a CGestureRect.
#pragma once

#include "app/Win32.h"

class CGestureRect;

// Rotation argument of a gesture message to radians.
double AngleFromArgument(int argument);

// Centre passed with a zoom update: the midpoint of the previous and the
// current zoom location, truncated toward zero.
POINT ZoomCenter(POINT anchor, POINT location);

// Result of HandleGesture for every message.
constexpr LRESULT GESTURE_RESULT = 14;

// Decodes WM_GESTURE and calls the handlers; no virtual destructor, as the
// one instance is static and never deleted through a base pointer.
class CGestureEngine {
public:
    CGestureEngine();

    virtual LRESULT HandleGesture(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual void OnPressAndTap() = 0;
    virtual void OnTwoFingerTap() = 0;
    virtual void OnZoom(double factor, int centerX, int centerY) = 0;
    virtual void OnPan(int dx, int dy) = 0;
    virtual void OnRotate(double angle, int centerX, int centerY) = 0;

    POINT m_anchor;
    POINT m_location;
    ULONGLONG m_lastArgument;
};

class CMyGestureEngine : public CGestureEngine {
public:
    explicit CMyGestureEngine(CGestureRect* shape);

    void OnPressAndTap() override;
    void OnTwoFingerTap() override;
    void OnZoom(double factor, int centerX, int centerY) override;
    void OnPan(int dx, int dy) override;
    void OnRotate(double angle, int centerX, int centerY) override;

    CGestureRect* m_shape;
};
