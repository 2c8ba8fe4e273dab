// CGestureRect: the red rectangle of Gesture mode. The gesture engine moves,
// zooms, turns it and toggles its diagonals; WM_SIZE resets it from the client
// size; the paint handler asks it to draw itself.
#pragma once

#include "app/Win32.h"

// Outline pen colours, indexed by the rectangle's colour index.
constexpr int OUTLINE_COLOR_COUNT = 4;
extern const COLORREF OUTLINE_COLORS[OUTLINE_COLOR_COUNT];

constexpr COLORREF FILL_COLOR = 0x000000D2; // RGB(210, 0, 0)
constexpr int OUTLINE_WIDTH = 6;
// The smallest scale used when drawing; the stored scale may go lower.
constexpr double MIN_DRAW_SCALE = 0.05;
// Four corners and the first one again, so the outline closes.
constexpr int OUTLINE_POINTS = 5;

class CGestureRect {
public:
    void Reset(int clientWidth, int clientHeight);
    void Move(int dx, int dy);
    void Zoom(double factor, int centerX, int centerY);
    void Rotate(double angle, int centerX, int centerY);
    void ToggleDiagonals();
    void NextColor();
    void Draw(HDC hdc);

    int m_centerX;
    int m_centerY;
    int m_width;
    int m_height;
    double m_scale;
    double m_angle;
    BYTE m_diagonals;
    int m_colorIndex;
};

// The scale Draw uses: the stored one, but never below MIN_DRAW_SCALE (NaN too).
double DrawScale(double scale);

// Double to a client coordinate, truncating toward zero. Values outside the
// 32-bit range are clamped to it and NaN gives 0.
int TruncateCoordinate(double value);

// The closed outline Draw paints, in client pixels: top-left, top-right,
// bottom-right, bottom-left and top-left again, turned by the angle about the
// centre. Diagonals join points 0-2 and 1-3.
void OutlinePoints(const CGestureRect& shape, POINT points[OUTLINE_POINTS]);
