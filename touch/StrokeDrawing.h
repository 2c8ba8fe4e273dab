// Line-mode strokes: a dot at every contact point joined by one-pixel segments,
// drawn at once into the touch handler's paint device context. The slot is
// always 0..14: inputs without a slot are never drawn.
#pragma once

#include "app/Win32.h"

void StrokeDown(HDC hdc, int slot, int x, int y);
void StrokeMove(HDC hdc, int slot, int x, int y);
void StrokeUp(HDC hdc, int slot, int x, int y);
