// The "picture" file: its layout as a pure function, and real snapshots of the
// window compared with what the window shows.
#include "app/Snapshot.h"

#include "app/AppState.h"
#include "app/FullScreen.h"
#include "support/GdiRecorder.h"
#include "support/WindowFixture.h"

#include <fstream>

namespace {

unsigned U16(const std::string& b, size_t at) {
    return (unsigned char)b[at] | (unsigned char)b[at + 1] << 8;
}

long U32(const std::string& b, size_t at) {
    return (long)((unsigned long)U16(b, at) | (unsigned long)U16(b, at + 2) << 16);
}

std::string HeaderBytes(const SnapshotHeaders& h) {
    return std::string(reinterpret_cast<const char*>(&h.file), sizeof(h.file)) +
           std::string(reinterpret_cast<const char*>(&h.info), sizeof(h.info));
}

// Every header field at its offset, as the file carries it.
void ExpectHeaders(const std::string& b, long width, long height) {
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(U32(b, 2), 0);  // bfSize
    EXPECT_EQ(U16(b, 6), 0u); // bfReserved1
    EXPECT_EQ(U16(b, 8), 0u); // bfReserved2
    EXPECT_EQ(U32(b, 10), 54);
    EXPECT_EQ(U32(b, 14), 40);
    EXPECT_EQ(U32(b, 18), width);
    EXPECT_EQ(U32(b, 22), height); // positive: bottom-up
    EXPECT_EQ(U16(b, 26), 1u);
    EXPECT_EQ(U16(b, 28), 24u);
    for (size_t at = 30; at < 54; at += 4) // compression, image size, resolutions, colours
        EXPECT_EQ(U32(b, at), 0) << "at offset " << at;
}

void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

class SnapshotTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CreateWindowUnderTest();
        ShowWindow(m_hwnd, SW_RESTORE);
        PumpMessages(20);
    }

    RECT WindowRect() {
        RECT r;
        GetWindowRect(m_hwnd, &r);
        return r;
    }

    // A borderless window of exactly this size (an overlapped one has a
    // minimum width).
    void MakePopup(int width, int height) {
        SetWindowLongW(m_hwnd, GWL_STYLE, (LONG)(WS_POPUP | WS_VISIBLE));
        SetMenu(m_hwnd, nullptr);
        SetWindowPos(m_hwnd, nullptr, 10, 10, width, height, SWP_NOZORDER | SWP_FRAMECHANGED);
        PumpMessages(20);
    }

    void FillClient(const RECT& r, COLORREF colour) {
        HDC dc = GetDC(m_hwnd);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        ReleaseDC(m_hwnd, dc);
    }
};

// The pixel at window point (x, y) of a picture W × H, as 0x00BBGGRR.
COLORREF FilePixel(const std::string& b, int width, int height, int x, int y) {
    size_t at = 54 + (size_t)(height - 1 - y) * SnapshotRowStride(width) + (size_t)x * 3;
    return RGB((unsigned char)b[at + 2], (unsigned char)b[at + 1], (unsigned char)b[at]);
}

} // namespace

TEST(SnapshotLayout, RowStrideIsThreeBytesAPixelRoundedUpToFour) {
    EXPECT_EQ(SnapshotRowStride(101), 304);
    EXPECT_EQ(SnapshotRowStride(1), 4);
    EXPECT_EQ(SnapshotRowStride(3), 12);
    EXPECT_EQ(SnapshotRowStride(4), 12);
    EXPECT_EQ(SnapshotRowStride(5), 16);
    EXPECT_EQ(SnapshotRowStride(1280), 3840);
}

TEST(SnapshotLayout, HeadersCarryEveryFieldAtItsOffset) {
    std::string bytes = HeaderBytes(MakeSnapshotHeaders(101, 77));
    ASSERT_EQ(bytes.size(), 54u);
    ExpectHeaders(bytes, 101, 77);
}

TEST_F(SnapshotTest, PictureIsTheWholeWindowBottomUp) {
    RECT client = ClientRect();
    // A known drawing at a known client place.
    RECT red = {5, 7, 25, 19};
    FillClient(client, RGB(255, 255, 255));
    FillClient(red, RGB(200, 10, 40));
    SaveWindowSnapshot(m_hwnd, "picture");

    RECT wr = WindowRect();
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    std::string b = ReadFileBytes("picture");
    ExpectHeaders(b, width, height);
    int stride = SnapshotRowStride(width);
    ASSERT_EQ(b.size(), 54u + (size_t)stride * height);

    // Client origin within the window: frame, title bar and menu bar lie before it.
    POINT origin = {0, 0};
    ClientToScreen(m_hwnd, &origin);
    int ox = origin.x - wr.left, oy = origin.y - wr.top;
    ASSERT_GT(oy, 0) << "the picture includes the non-client area";
    EXPECT_EQ(FilePixel(b, width, height, ox + 5, oy + 7), RGB(200, 10, 40));
    EXPECT_EQ(FilePixel(b, width, height, ox + 24, oy + 18), RGB(200, 10, 40));
    EXPECT_EQ(FilePixel(b, width, height, ox + 25, oy + 18), RGB(255, 255, 255));
    EXPECT_EQ(FilePixel(b, width, height, ox + 5, oy + 19), RGB(255, 255, 255));

    // The frame is there too, as the window shows it.
    HDC dc = GetWindowDC(m_hwnd);
    for (POINT p :
         {POINT{width / 2, oy / 2}, POINT{0, 0}, POINT{width - 1, height - 1}, POINT{ox - 1, oy + 3}})
        EXPECT_EQ(FilePixel(b, width, height, p.x, p.y), GetPixel(dc, p.x, p.y)) << p.x << "," << p.y;
    ReleaseDC(m_hwnd, dc);
}

TEST_F(SnapshotTest, OddWidthRowsArePaddedWithZeros) {
    MakePopup(101, 40);
    RECT wr = WindowRect();
    ASSERT_EQ(wr.right - wr.left, 101);
    ASSERT_EQ(wr.bottom - wr.top, 40);
    // Bottom-right pixel sits just before the padding byte of the first row.
    RECT all = {0, 0, 101, 40};
    FillClient(all, RGB(1, 2, 3));
    RECT corner = {100, 39, 101, 40};
    FillClient(corner, RGB(250, 251, 252));
    SaveWindowSnapshot(m_hwnd, "picture");

    std::string b = ReadFileBytes("picture");
    ExpectHeaders(b, 101, 40);
    ASSERT_EQ(b.size(), 54u + 304u * 40u);
    for (int row = 0; row < 40; row++) {
        size_t rowStart = 54 + (size_t)row * 304;
        EXPECT_EQ(b[rowStart + 303], 0) << "padding of row " << row;
        EXPECT_EQ((unsigned char)b[rowStart], 3) << "blue first, row " << row;
    }
    EXPECT_EQ(b.substr(54 + 300, 3), "\xFC\xFB\xFA"); // first row stored is the bottom one
    EXPECT_EQ(FilePixel(b, 101, 40, 0, 0), RGB(1, 2, 3));
}

TEST_F(SnapshotTest, EachSaveReplacesThePictureAndDeletesItsBitmap) {
    WriteFile("picture", std::string(200000, 'x'));
    MakePopup(64, 48);
    gdirec::Start();
    SaveWindowSnapshot(m_hwnd, "picture");
    gdirec::Stop();
    EXPECT_EQ(ReadFileBytes("picture").size(), 54u + 192u * 48u);
    // The memory DC goes before the window DC, both before the bitmap.
    EXPECT_EQ(gdirec::Trace(), "GetWindowDC=dc1 CreateCompatibleDC=dc2 CreateDIBSection=bitmap1 "
                               "SelectObject(bitmap1) SelectObject(other) DeleteDC(dc2) ReleaseDC(dc1) "
                               "DeleteObject(bitmap1)");
    EXPECT_TRUE(gdirec::Balanced());

    SetWindowPos(m_hwnd, nullptr, 0, 0, 33, 20, SWP_NOMOVE | SWP_NOZORDER);
    SaveWindowSnapshot(m_hwnd, "picture");
    std::string b = ReadFileBytes("picture");
    ExpectHeaders(b, 33, 20);
    EXPECT_EQ(b.size(), 54u + 100u * 20u);
    EXPECT_FALSE(FileExists("picture.bmp"));
}

TEST_F(SnapshotTest, InFullScreenThePictureIsThePopupOverTheDisplay) {
    ToggleFullScreen(m_hwnd);
    PumpMessages(20);
    SaveWindowSnapshot(m_hwnd, "picture");
    HDC dc = GetDC(m_hwnd);
    int displayWidth = GetDeviceCaps(dc, HORZRES), displayHeight = GetDeviceCaps(dc, VERTRES);
    ReleaseDC(m_hwnd, dc);
    RECT wr = WindowRect();
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    EXPECT_EQ(width, displayWidth);
    EXPECT_GE(height, displayHeight);
    std::string b = ReadFileBytes("picture");
    ExpectHeaders(b, width, height);
    EXPECT_EQ(b.size(), 54u + (size_t)SnapshotRowStride(width) * height);
}

TEST_F(SnapshotTest, UnopenableFileCapturesNothing) {
    // A directory in the way of "picture" (a read-only attribute is not
    // enforced for a root user under Wine, so it cannot stand in here).
    ASSERT_TRUE(CreateDirectoryA("picture", nullptr));
    gdirec::Start();
    SaveWindowSnapshot(m_hwnd, "picture");
    gdirec::Stop();
    EXPECT_EQ(GetFileAttributesA("picture") & FILE_ATTRIBUTE_DIRECTORY, (DWORD)FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(gdirec::Trace(), "");
    EXPECT_TRUE(IsWindow(m_hwnd));
}

TEST_F(SnapshotTest, FailedBitmapLeavesNoPictureBehind) {
    SaveWindowSnapshot(m_hwnd, "picture");
    ASSERT_TRUE(FileExists("picture"));
    gdirec::dibSectionFails = true;
    gdirec::Start();
    SaveWindowSnapshot(m_hwnd, "picture");
    gdirec::Stop();
    EXPECT_EQ(gdirec::Trace(), "GetWindowDC=dc1 CreateCompatibleDC=dc2 CreateDIBSection=null DeleteDC(dc2) "
                               "ReleaseDC(dc1)");
    EXPECT_TRUE(gdirec::Balanced());
    EXPECT_FALSE(FileExists("picture"));
}

TEST_F(SnapshotTest, EmptyWindowKeepsThePreviousPicture) {
    WriteFile("picture", "previous");
    MakePopup(0, 0);
    RECT wr = WindowRect();
    ASSERT_EQ(wr.right - wr.left, 0);
    gdirec::Start();
    SaveWindowSnapshot(m_hwnd, "picture");
    gdirec::Stop();
    EXPECT_TRUE(ReadFileBytes("picture") == "previous"); // not printed whole on failure
    EXPECT_EQ(gdirec::Trace(), "");
}
