// Every field of a gesture rectangle as one value, so that a test compares
// them all in one check and names the fields that differ.
#pragma once

#include "gesture/GestureRect.h"

#include <tuple>

// Centre x, y, width, height, scale, angle, diagonals, colour index.
using ShapeTuple = std::tuple<int, int, int, int, double, double, int, int>;

inline ShapeTuple ShapeFields(const CGestureRect& r) {
    return {r.m_centerX, r.m_centerY, r.m_width,     r.m_height,
            r.m_scale,   r.m_angle,   r.m_diagonals, r.m_colorIndex};
}

// A rectangle as Reset leaves it in a client area of twice its size.
inline ShapeTuple ResetShape(int centerX, int centerY, int width, int height) {
    return {centerX, centerY, width, height, 1.0, 0.0, 0, 0};
}
