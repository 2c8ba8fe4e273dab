// CGestureRect: the red rectangle of Gesture mode. The gesture engine moves,
// zooms, turns it and toggles its diagonals; WM_SIZE resets it from the client
// size; the paint handler asks it to draw itself.
#pragma once

#include "app/Win32.h"

// Outline pen colours, indexed by the rectangle's colour index.
extern const COLORREF OUTLINE_COLORS[4];

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
