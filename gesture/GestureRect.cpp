// Geometry and drawing of the gesture rectangle.
#include "gesture/GestureRect.h"

const COLORREF OUTLINE_COLORS[4] = {0x000D0D0D, 0x00178BFF, 0x0050D092, 0x00D7B395};

void CGestureRect::Reset(int clientWidth, int clientHeight) {
    m_centerX = clientWidth / 2;
    m_centerY = clientHeight / 2;
    m_width = clientWidth / 2;
    m_height = clientHeight / 2;
    m_scale = 1.0;
    m_angle = 0.0;
    m_diagonals = 0;
    m_colorIndex = 0;
}

void CGestureRect::Move(int dx, int dy) {
    m_centerX += dx;
    m_centerY += dy;
}

// The rectangle always scales and turns about its own centre; the point is unused.
void CGestureRect::Zoom(double factor, int, int) {
    m_scale *= factor;
}

void CGestureRect::Rotate(double angle, int, int) {
    m_angle += angle;
}

void CGestureRect::ToggleDiagonals() {
    m_diagonals = m_diagonals ? 0 : 1;
}

void CGestureRect::NextColor() {
    m_colorIndex = (m_colorIndex + 1) % 4;
}

void CGestureRect::Draw(HDC) {}
