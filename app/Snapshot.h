// The window snapshot: the whole window, frame included, as an uncompressed
// 24-bit bottom-up BMP file. Written by the Ctrl+S hot key.
#pragma once

#include "app/Win32.h"

// The two headers that open the file, in the order they are written.
struct SnapshotHeaders {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
};

static_assert(sizeof(BITMAPFILEHEADER) == 14, "the file header is 14 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the information header is 40 bytes");

// Bytes in one pixel row of a 24-bit picture `width` pixels wide: three per
// pixel, padded with zeros to a multiple of four.
int SnapshotRowStride(int width);

// The headers of a width × height picture. bfSize and biSizeImage stay 0; the
// positive height says the rows are stored bottom-up.
SnapshotHeaders MakeSnapshotHeaders(int width, int height);

// Saves the window as `fileName` in the current directory, replacing it. An
// empty window or a file that cannot be opened leaves everything as it was; a
// capture that cannot be made leaves no file behind.
void SaveWindowSnapshot(HWND hwnd, const char* fileName);
