// The window snapshot: the whole window, frame included, as a 24-bit BMP file.
#pragma once

#include "app/Win32.h"

void SaveWindowSnapshot(HWND hwnd, const char* fileName);
