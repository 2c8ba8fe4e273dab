// Line-mode strokes as pixels in the real window, and the lifetime of the pen
// and brush behind every dot and segment.
#include "app/AppState.h"
#include "support/ClientPixels.h"
#include "support/GdiRecorder.h"
#include "support/TouchFixture.h"
#include "touch/StrokeDrawing.h"

#include <string>
#include <vector>

namespace {

const DWORD DOWN = TOUCHEVENTF_DOWN;
const DWORD MOVE = TOUCHEVENTF_MOVE;
const DWORD UP = TOUCHEVENTF_UP;

using StrokeTest = TouchWindowTest;

const COLORREF SLOT_COLORS[15] = {RGB(0, 0, 128),    RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                                  RGB(255, 255, 0),  RGB(255, 0, 255), RGB(0, 255, 255), RGB(190, 190, 190),
                                  RGB(107, 142, 35), RGB(255, 165, 0), RGB(0, 0, 0),     RGB(0, 0, 0),
                                  RGB(0, 0, 0),      RGB(0, 0, 0),     RGB(0, 0, 0)};

} // namespace

TEST_F(StrokeTest, EachSlotDotsItsDownPointInItsColour) {
    CreateWindowUnderTest();
    COLORREF background = GetSysColor(COLOR_WINDOW);
    std::vector<TOUCHINPUT> inputs;
    for (int i = 0; i < SLOT_COUNT; i++)
        inputs.push_back(At(50 + i, DOWN, 40 + 30 * i, 150));
    SendTouch(inputs);
    for (int i = 0; i < SLOT_COUNT; i++) {
        int x = 40 + 30 * i;
        EXPECT_EQ(PixelAt(x, 150), SLOT_COLORS[i]) << "slot " << i;
        EXPECT_EQ(PixelAt(x - 1, 149), SLOT_COLORS[i]) << "slot " << i;
        EXPECT_EQ(PixelAt(x + 4, 150), background) << "slot " << i; // about four pixels across
        EXPECT_EQ(g_strokeEnd[i].x, x);
        EXPECT_EQ(g_strokeEnd[i].y, 150);
    }
}

TEST_F(StrokeTest, DotIsTheFourPixelDiscAroundItsPoint) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 300, 200)});
    // The 8 x 8 pixels from (296, 196): Ellipse(298, 198, 302, 202) with a
    // one-pixel pen fills the 4 x 4 square from (298, 198) but its corners.
    // clang-format off
    const std::vector<std::string> expected = {
        "........",
        "........",
        "...##...",
        "..####..",
        "..####..",
        "...##...",
        "........",
        "........",
    };
    // clang-format on
    ClientPixels pixels(m_hwnd);
    std::vector<std::string> drawn;
    for (int y = 196; y < 204; y++) {
        std::string row;
        for (int x = 296; x < 304; x++)
            row += pixels.At(x, y) == SLOT_COLORS[0] ? '#' : '.';
        drawn.push_back(row);
    }
    EXPECT_EQ(drawn, expected);
}

TEST_F(StrokeTest, MovesJoinPointsWithSegmentsAndUpEndsTheStroke) {
    CreateWindowUnderTest();
    COLORREF background = GetSysColor(COLOR_WINDOW);
    SendTouch({At(4, DOWN, 100, 200)});
    gdirec::Start();
    SendTouch({At(4, MOVE, 200, 200), At(4, MOVE, 200, 300)});
    gdirec::Stop();
    EXPECT_EQ(gdirec::Count(gdirec::CREATE_PEN), 2);
    EXPECT_TRUE(gdirec::Balanced());
    EXPECT_EQ(PixelAt(150, 200), SLOT_COLORS[0]);
    EXPECT_EQ(PixelAt(200, 250), SLOT_COLORS[0]);
    EXPECT_EQ(PixelAt(150, 250), background);
    EXPECT_EQ(PixelAt(150, 201), background); // one pixel wide
    EXPECT_EQ(g_strokeEnd[0].x, 200);
    EXPECT_EQ(g_strokeEnd[0].y, 300);
    SendTouch({At(4, UP, 300, 300)});
    EXPECT_EQ(PixelAt(250, 300), SLOT_COLORS[0]);
    EXPECT_EQ(PixelAt(300, 300), SLOT_COLORS[0]);
    EXPECT_EQ(g_strokeEnd[0].x, 0);
    EXPECT_EQ(g_strokeEnd[0].y, 0);
}

TEST_F(StrokeTest, AlternatingContactsDrawIndependentStrokes) {
    CreateWindowUnderTest();
    COLORREF background = GetSysColor(COLOR_WINDOW);
    SendTouch({At(1, DOWN, 100, 400), At(2, DOWN, 100, 500)});
    SendTouch({At(1, MOVE, 200, 400), At(2, MOVE, 200, 500), At(1, MOVE, 300, 400), At(2, MOVE, 300, 500)});
    EXPECT_EQ(PixelAt(150, 400), SLOT_COLORS[0]);
    EXPECT_EQ(PixelAt(250, 400), SLOT_COLORS[0]);
    EXPECT_EQ(PixelAt(150, 500), SLOT_COLORS[1]);
    EXPECT_EQ(PixelAt(250, 500), SLOT_COLORS[1]);
    EXPECT_EQ(PixelAt(200, 450), background);
    EXPECT_EQ(PixelAt(250, 450), background);
}

TEST_F(StrokeTest, UnknownContactStartsFromItsSlotsStoredEnd) {
    CreateWindowUnderTest();
    SendTouch({At(9, MOVE, 100, 100)});
    EXPECT_EQ(PixelAt(50, 50), SLOT_COLORS[0]);
    EXPECT_EQ(g_slotContact[0], -1);
    EXPECT_EQ(g_strokeEnd[0].x, 100);
}

TEST_F(StrokeTest, ErasePendingIsCarriedOutByTheNextTouchMessage) {
    CreateWindowUnderTest();
    COLORREF background = GetSysColor(COLOR_WINDOW);
    SendTouch({At(1, DOWN, 100, 100), At(1, MOVE, 200, 100)});
    HDC dc = GetDC(m_hwnd);
    SetPixel(dc, 400, 400, RGB(0, 0, 0));
    ReleaseDC(m_hwnd, dc);
    SendTouch({At(1, MOVE, 300, 100)});
    SendTouch({At(1, MOVE, 400, 100)});
    EXPECT_EQ(PixelAt(400, 400), RGB(0, 0, 0)); // Line mode invalidates without erase
    // What Esc does. No pumping here: Wine's dispatch of WM_PAINT carries out
    // a pending erase by itself when the handler leaves the window invalid.
    InvalidateRect(m_hwnd, nullptr, TRUE);
    EXPECT_EQ(PixelAt(150, 100), SLOT_COLORS[0]);
    SendTouch({At(2, DOWN, 500, 100)});
    EXPECT_EQ(PixelAt(150, 100), background);
    EXPECT_EQ(PixelAt(400, 400), background);
    EXPECT_EQ(PixelAt(500, 100), SLOT_COLORS[1]);
}

TEST(StrokeGdiTest, PenAndBrushAreDeselectedThenDeletedBeforeReturning) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(64, 64, 1, 32, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    g_strokeEnd[11] = POINT{0, 0};
    for (int step = 0; step < 3; step++) {
        gdirec::Start();
        if (step == 0)
            StrokeDown(dc, 11, 20, 20);
        else if (step == 1)
            StrokeMove(dc, 11, 30, 20);
        else
            StrokeUp(dc, 11, 40, 20);
        gdirec::Stop();
        using gdirec::events;
        ASSERT_EQ(events.size(), 8u) << "step " << step;
        EXPECT_EQ(events[0].kind, gdirec::CREATE_PEN);
        EXPECT_EQ(events[0].style, PS_SOLID);
        EXPECT_EQ(events[0].width, 1);
        EXPECT_EQ(events[0].color, 0u);
        EXPECT_EQ(events[1].kind, gdirec::SELECT);
        EXPECT_EQ(events[1].object, events[0].object);
        EXPECT_EQ(events[2].kind, gdirec::CREATE_BRUSH);
        EXPECT_EQ(events[3].kind, gdirec::SELECT);
        EXPECT_EQ(events[3].object, events[2].object);
        EXPECT_EQ(events[4].kind, gdirec::SELECT); // brush put back ...
        EXPECT_EQ(events[4].object, events[3].previous);
        EXPECT_EQ(events[5].kind, gdirec::DELETE_OBJECT); // ... before it is deleted
        EXPECT_EQ(events[5].object, events[2].object);
        EXPECT_FALSE(events[5].deletedSelected);
        EXPECT_EQ(events[6].object, events[1].previous);
        EXPECT_EQ(events[7].kind, gdirec::DELETE_OBJECT);
        EXPECT_EQ(events[7].object, events[0].object);
        EXPECT_FALSE(events[7].deletedSelected);
        EXPECT_EQ(GetObjectType(events[0].object), 0u);
        EXPECT_EQ(GetObjectType(events[2].object), 0u);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
        EXPECT_TRUE(gdirec::Balanced());
    }
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    g_strokeEnd[11] = POINT{0, 0};
}
