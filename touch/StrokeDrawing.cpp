// Stroke drawing in Line mode.
#include "touch/StrokeDrawing.h"

#include "app/AppState.h"

void StrokeDown(HDC, int, int, int) {}

void StrokeMove(HDC, int, int, int) {}

void StrokeUp(HDC, int, int, int) {}
