// Window snapshot file. The headers are written first, then the window is
// captured into a DIB section whose rows are already in the file's layout, and
// its pixel memory is written as it is.
#include "app/Snapshot.h"

#include <fstream>

int SnapshotRowStride(int width) {
    return ((width * 24 + 31) & ~31) / 8;
}

SnapshotHeaders MakeSnapshotHeaders(int width, int height) {
    SnapshotHeaders h = {};
    h.file.bfType = 0x4D42; // "BM"
    h.file.bfSize = 0;
    h.file.bfReserved1 = 0;
    h.file.bfReserved2 = 0;
    h.file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    h.info.biSize = sizeof(BITMAPINFOHEADER);
    h.info.biWidth = width;
    h.info.biHeight = height;
    h.info.biPlanes = 1;
    h.info.biBitCount = 24;
    h.info.biCompression = BI_RGB;
    h.info.biSizeImage = 0;
    h.info.biXPelsPerMeter = 0;
    h.info.biYPelsPerMeter = 0;
    h.info.biClrUsed = 0;
    h.info.biClrImportant = 0;
    return h;
}

void SaveWindowSnapshot(HWND hwnd, const char* fileName) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    // Nothing to picture: the previous file, if any, is kept.
    if (width <= 0 || height <= 0)
        return;

    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return;
    SnapshotHeaders headers = MakeSnapshotHeaders(width, height);
    file.write(reinterpret_cast<const char*>(&headers.file), sizeof(headers.file));
    file.write(reinterpret_cast<const char*>(&headers.info), sizeof(headers.info));

    BITMAPINFO info = {};
    info.bmiHeader = headers.info;
    HDC windowDc = GetWindowDC(hwnd);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bool captured = windowDc && memoryDc && bitmap && pixels;
    if (captured) {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap);
        BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        // Deselected before the DC goes, so the bitmap is never deleted while selected.
        SelectObject(memoryDc, previous);
    }
    if (memoryDc)
        DeleteDC(memoryDc);
    ReleaseDC(hwnd, windowDc);

    if (!captured) {
        // Headers without pixels would claim a picture that is not there.
        if (bitmap)
            DeleteObject(bitmap);
        file.close();
        DeleteFileA(fileName);
        return;
    }
    file.write(static_cast<const char*>(pixels), (std::streamsize)SnapshotRowStride(width) * height);
    DeleteObject(bitmap);
    file.close();
}
