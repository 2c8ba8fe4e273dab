// Geometry and drawing of the gesture rectangle.
#include "gesture/GestureRect.h"

#include "app/Gdi.h"

#include <algorithm>
#include <climits>
#include <cmath>

const COLORREF OUTLINE_COLORS[OUTLINE_COLOR_COUNT] = {0x000D0D0D, 0x00178BFF, 0x0050D092, 0x00D7B395};

namespace {

// 32-bit addition that wraps instead of overflowing into undefined behaviour.
int WrappingAdd(int a, int b) {
    return (int)((unsigned)a + (unsigned)b);
}

int ClampToInt(long long value) {
    return (int)std::clamp<long long>(value, INT_MIN, INT_MAX);
}

} // namespace

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
    m_centerX = WrappingAdd(m_centerX, dx);
    m_centerY = WrappingAdd(m_centerY, dy);
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
    m_colorIndex++;
    if (m_colorIndex >= OUTLINE_COLOR_COUNT)
        m_colorIndex = 0;
}

double DrawScale(double scale) {
    // The floor first: std::max returns it when the comparison fails, as with NaN.
    return std::max(MIN_DRAW_SCALE, scale);
}

int TruncateCoordinate(double value) {
    if (std::isnan(value))
        return 0;
    return (int)std::clamp(value, -2147483648.0, 2147483647.0);
}

void OutlinePoints(const CGestureRect& shape, POINT points[OUTLINE_POINTS]) {
    double s = DrawScale(shape.m_scale);
    // Whole pixels, kept in doubles so that negating a clamped size cannot overflow.
    double hw = TruncateCoordinate((double)shape.m_width * s / 2.0);
    double hh = TruncateCoordinate((double)shape.m_height * s / 2.0);
    const double corners[OUTLINE_POINTS][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}, {-hw, -hh}};

    // An angle that is not finite has no cosine; such a rectangle is drawn unturned.
    double c = 1.0;
    double n = 0.0;
    if (std::isfinite(shape.m_angle)) {
        c = std::cos(shape.m_angle);
        n = std::sin(shape.m_angle);
    }
    for (int i = 0; i < OUTLINE_POINTS; i++) {
        double x = corners[i][0];
        double y = corners[i][1];
        long long turnedX = TruncateCoordinate(x * c + y * n);
        long long turnedY = TruncateCoordinate(y * c - x * n);
        points[i].x = ClampToInt(turnedX + shape.m_centerX);
        points[i].y = ClampToInt(turnedY + shape.m_centerY);
    }
}

void CGestureRect::Draw(HDC hdc) {
    CGdiObject<HPEN> pen(CreatePen(PS_SOLID, OUTLINE_WIDTH, OUTLINE_COLORS[m_colorIndex]));
    CSelection penSelection(hdc, pen.Get());

    POINT points[OUTLINE_POINTS];
    OutlinePoints(*this, points);

    {
        // Brush, then region, are gone before the outline is drawn over the fill.
        CGdiObject<HRGN> region(CreatePolygonRgn(points, OUTLINE_POINTS, WINDING));
        if (region) {
            CGdiObject<HBRUSH> brush(CreateSolidBrush(FILL_COLOR));
            if (brush)
                FillRgn(hdc, region.Get(), brush.Get());
        }
    }

    Polyline(hdc, points, OUTLINE_POINTS);
    if (m_diagonals) {
        MoveToEx(hdc, points[0].x, points[0].y, nullptr);
        LineTo(hdc, points[2].x, points[2].y);
        MoveToEx(hdc, points[1].x, points[1].y, nullptr);
        LineTo(hdc, points[3].x, points[3].y);
    }
}
