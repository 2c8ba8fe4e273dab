// Window snapshot file. The headers are written first, then the window is
// captured into a DIB section whose rows are already in the file's layout, and
// its pixel memory is written as it is.
#include "app/Snapshot.h"

#include "app/Gdi.h"

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

namespace {

// Captures the window into a DIB section and writes its pixel memory to the
// file; false when no capture could be made. The pixels are read only after
// the memory DC is deleted and the window DC released; the bitmap goes last.
bool WriteWindowPixels(HWND hwnd, const BITMAPINFOHEADER& header, std::ofstream& file) {
    BITMAPINFO info = {};
    info.bmiHeader = header;
    void* pixels = nullptr;
    CGdiObject<HBITMAP> bitmap;
    bool captured = false;
    {
        CWindowDc windowDc(hwnd, CWindowDc::WHOLE_WINDOW);
        CMemoryDc memoryDc(windowDc.Get());
        bitmap.Reset(CreateDIBSection(windowDc.Get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        captured = windowDc && memoryDc && bitmap && pixels;
        if (captured) {
            // Deselected before the DC goes, so the bitmap is never deleted while selected.
            CSelection selection(memoryDc.Get(), bitmap.Get());
            BitBlt(memoryDc.Get(), 0, 0, header.biWidth, header.biHeight, windowDc.Get(), 0, 0, SRCCOPY);
        }
    }
    if (captured)
        file.write(static_cast<const char*>(pixels),
                   (std::streamsize)SnapshotRowStride(header.biWidth) * header.biHeight);
    return captured;
}

} // namespace

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

    if (!WriteWindowPixels(hwnd, headers.info, file)) {
        // Headers without pixels would claim a picture that is not there.
        file.close();
        DeleteFileA(fileName);
        return;
    }
    file.close();
}
