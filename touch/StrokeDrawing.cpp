// Stroke drawing in Line mode, into the touch handler's paint device context.
// Only the end point of each slot's stroke is kept; the rest lives as pixels.
#include "touch/StrokeDrawing.h"

#include "app/AppState.h"
#include "app/Gdi.h"
#include "touch/ContactSlots.h"

namespace {

// One step of a stroke in the slot's colour: the segment from the stored end
// point (when `segment` is set), then a dot on the new point, which also covers
// the segment's last pixel that LineTo leaves out.
void DrawStrokeStep(HDC hdc, int slot, int x, int y, bool segment) {
    COLORREF c = g_contactColors[slot];
    CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, c));
    CSelection penSelection(hdc, pen.Get());
    if (segment) {
        MoveToEx(hdc, g_strokeEnd[slot].x, g_strokeEnd[slot].y, nullptr);
        LineTo(hdc, x, y);
    }
    CGdiObject<HBRUSH> brush(CreateSolidBrush(c));
    CSelection brushSelection(hdc, brush.Get());
    Ellipse(hdc, x - 2, y - 2, x + 2, y + 2);
}

} // namespace

void StrokeDown(HDC hdc, int slot, int x, int y) {
    g_strokeEnd[slot] = POINT{x, y};
    DrawStrokeStep(hdc, slot, x, y, false);
}

void StrokeMove(HDC hdc, int slot, int x, int y) {
    DrawStrokeStep(hdc, slot, x, y, true);
    g_strokeEnd[slot] = POINT{x, y};
}

void StrokeUp(HDC hdc, int slot, int x, int y) {
    DrawStrokeStep(hdc, slot, x, y, true);
    g_strokeEnd[slot] = POINT{0, 0};
}
