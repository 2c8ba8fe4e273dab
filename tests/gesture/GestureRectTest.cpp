// The gesture rectangle: its operations, the outline geometry with exact
// arithmetic, its picture in a real window, and the GDI objects it releases.
#include "app/AppState.h"
#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"
#include "support/ClientPixels.h"
#include "support/GdiRecorder.h"
#include "support/PlatformFakes.h"
#include "support/ShapeFields.h"
#include "support/WindowFixture.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace {

const double PI = 3.141592653589793;

CGestureRect ResetRect(int width, int height) {
    CGestureRect r = {};
    r.Reset(width, height);
    return r;
}

using Points = std::vector<std::pair<long, long>>;

// The outline as (x, y) pairs, in client pixels or relative to the centre.
Points Outline(const CGestureRect& r, bool relative = false) {
    POINT p[OUTLINE_POINTS];
    OutlinePoints(r, p);
    Points out;
    for (const POINT& q : p)
        out.push_back({q.x - (relative ? r.m_centerX : 0), q.y - (relative ? r.m_centerY : 0)});
    return out;
}

} // namespace

TEST(GestureRect, ResetTakesCentreAndSizeFromHalfTheClientArea) {
    CGestureRect r = {};
    r.m_scale = 3.0;
    r.m_angle = 1.0;
    r.m_diagonals = 1;
    r.m_colorIndex = 2;
    r.Reset(800, 600);
    EXPECT_EQ(ShapeFields(r), ResetShape(400, 300, 400, 300));
    EXPECT_EQ(ShapeFields(ResetRect(801, 601)), ResetShape(400, 300, 400, 300));
}

TEST(GestureRect, OperationsChangeOnlyTheirField) {
    CGestureRect r = ResetRect(800, 600);
    r.Move(10, -5);
    r.Move(-3, 2);
    EXPECT_EQ(r.m_centerX, 407);
    EXPECT_EQ(r.m_centerY, 297);

    // The point given to Zoom and Rotate does not matter.
    CGestureRect a = ResetRect(800, 600), b = ResetRect(800, 600);
    a.Zoom(1.5, 400, 300);
    b.Zoom(1.5, -1000, 77);
    a.Rotate(0.25, 400, 300);
    b.Rotate(0.25, 5, 5000);
    EXPECT_EQ(a.m_scale, 1.5);
    EXPECT_EQ(a.m_angle, 0.25);
    EXPECT_EQ(Outline(a), Outline(b));
    EXPECT_EQ(a.m_centerX, 400);
    EXPECT_EQ(a.m_centerY, 300);

    r.ToggleDiagonals();
    EXPECT_EQ(r.m_diagonals, 1);
    r.ToggleDiagonals();
    EXPECT_EQ(r.m_diagonals, 0);

    for (int i = 0; i < 5; i++)
        r.NextColor();
    EXPECT_EQ(r.m_colorIndex, 1);
    r.NextColor();
    r.NextColor();
    EXPECT_EQ(r.m_colorIndex, 3);
    r.NextColor();
    EXPECT_EQ(r.m_colorIndex, 0);
}

TEST(GestureRect, ConstantsOfTheDrawing) {
    EXPECT_EQ(OUTLINE_COLORS[0], RGB(13, 13, 13));
    EXPECT_EQ(OUTLINE_COLORS[1], RGB(255, 139, 23));
    EXPECT_EQ(OUTLINE_COLORS[2], RGB(146, 208, 80));
    EXPECT_EQ(OUTLINE_COLORS[3], RGB(149, 179, 215));
    EXPECT_EQ(FILL_COLOR, RGB(210, 0, 0));
    EXPECT_EQ(MIN_DRAW_SCALE, 0.05);
}

TEST(GestureRect, DrawScaleIsBoundedBelowOnlyWhenDrawing) {
    EXPECT_EQ(DrawScale(1.0), 1.0);
    EXPECT_EQ(DrawScale(0.0500001), 0.0500001);
    EXPECT_EQ(DrawScale(0.05), 0.05);
    EXPECT_EQ(DrawScale(0.01), 0.05);
    EXPECT_EQ(DrawScale(-2.0), 0.05);
    EXPECT_EQ(DrawScale(std::nan("")), 0.05);

    CGestureRect r = ResetRect(800, 600);
    r.m_scale = 0.01;
    r.Zoom(2.0, 0, 0);
    EXPECT_EQ(r.m_scale, 0.02); // stored, never raised
    // Drawn at 0.05: half sizes trunc(400 * 0.05 / 2) = 10 and trunc(7.5) = 7.
    EXPECT_EQ(Outline(r, true), (Points{{-10, -7}, {10, -7}, {10, 7}, {-10, 7}, {-10, -7}}));
}

TEST(GestureRect, OutlineAtAngleZeroIsTheCornersInClientPixels) {
    CGestureRect r = ResetRect(800, 600);
    EXPECT_EQ(Outline(r), (Points{{200, 150}, {600, 150}, {600, 450}, {200, 450}, {200, 150}}));

    r.Move(-250, 10);
    r.Zoom(0.5, 0, 0);
    // Centre (150, 310), half sizes 100 and 75.
    EXPECT_EQ(Outline(r), (Points{{50, 235}, {250, 235}, {250, 385}, {50, 385}, {50, 235}}));
}

TEST(GestureRect, QuarterTurnIsCounterClockwiseOnTheScreen) {
    CGestureRect r = ResetRect(800, 600);
    r.m_angle = PI / 2;
    EXPECT_EQ(Outline(r, true), (Points{{-150, 200}, {-150, -200}, {150, -200}, {150, 200}, {-150, 200}}));
}

TEST(GestureRect, HalfTurnTruncatesTowardZero) {
    CGestureRect r = ResetRect(800, 600);
    r.m_angle = PI;
    Points p = Outline(r, true);
    EXPECT_EQ(p[0], (std::pair<long, long>{199, 150}));
    EXPECT_EQ(p[1], (std::pair<long, long>{-200, 149}));
    EXPECT_EQ(p[4], p[0]);
}

TEST(GestureRect, NeverResetRectangleCollapsesToTheOrigin) {
    CGestureRect r = {};
    EXPECT_EQ(DrawScale(r.m_scale), 0.05);
    EXPECT_EQ(Outline(r), (Points{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}));
}

TEST(GestureRect, OutOfRangeGeometryIsClampedNotUndefined) {
    EXPECT_EQ(TruncateCoordinate(-1.9), -1);
    EXPECT_EQ(TruncateCoordinate(1.9), 1);
    EXPECT_EQ(TruncateCoordinate(3e9), INT_MAX);
    EXPECT_EQ(TruncateCoordinate(-3e9), INT_MIN);
    EXPECT_EQ(TruncateCoordinate(std::numeric_limits<double>::infinity()), INT_MAX);
    EXPECT_EQ(TruncateCoordinate(std::nan("")), 0);

    CGestureRect r = ResetRect(800, 600);
    r.m_scale = 1e300;
    // Half sizes clamp to INT_MAX; the corners then saturate on the far side.
    const long left = -INT_MAX + 400, top = -INT_MAX + 300;
    EXPECT_EQ(Outline(r),
              (Points{{left, top}, {INT_MAX, top}, {INT_MAX, INT_MAX}, {left, INT_MAX}, {left, top}}));

    // A centre near the edge of the range: translation saturates.
    r.m_scale = 1.0;
    r.m_centerX = INT_MAX - 50;
    EXPECT_EQ(Outline(r)[1].first, INT_MAX);
    EXPECT_EQ(Outline(r)[0].first, INT_MAX - 250);

    // Infinite scale on an empty size has no defined product: drawn as a point.
    CGestureRect empty = {};
    empty.m_scale = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Outline(empty), (Points{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}));

    // NaN scale draws as the minimum; a non-finite angle draws unturned.
    CGestureRect nanScale = ResetRect(800, 600);
    nanScale.m_scale = std::nan("");
    CGestureRect minScale = ResetRect(800, 600);
    minScale.m_scale = 0.05;
    EXPECT_EQ(Outline(nanScale), Outline(minScale));
    CGestureRect nanAngle = ResetRect(800, 600);
    nanAngle.m_angle = std::nan("");
    EXPECT_EQ(Outline(nanAngle), Outline(ResetRect(800, 600)));
    nanAngle.m_angle = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(Outline(nanAngle), Outline(ResetRect(800, 600)));

    // Moving past the 32-bit range wraps like the platform's integer addition.
    r.m_centerX = INT_MAX;
    r.Move(1, 0);
    EXPECT_EQ(r.m_centerX, INT_MIN);
}

// The picture, drawn with the program's Draw into the real window's DC.
class GestureRectDrawTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CreateWindowUnderTest();
        // Line mode: the paint handler leaves the window alone while we draw.
        ASSERT_EQ(g_lineMode, 1);
        m_background = GetSysColor(COLOR_WINDOW);
        // Centre (200, 100), size 200 x 100: corners (100, 50) and (300, 150).
        g_shape.Reset(400, 200);
    }
    // Clears the client area with the class background and draws g_shape.
    void DrawShape() {
        HDC dc = GetDC(m_hwnd);
        RECT client = ClientRect();
        FillRect(dc, &client, (HBRUSH)(COLOR_WINDOW + 1));
        g_shape.Draw(dc);
        ReleaseDC(m_hwnd, dc);
    }

    // Sends a gesture message with a location given in client pixels.
    LRESULT Gesture(DWORD id, DWORD flags, int clientX, int clientY, ULONGLONG argument = 0) {
        fakes::gestureInfo = fakes::GestureAtClient(m_hwnd, id, flags, clientX, clientY, argument);
        return Send(WM_GESTURE, 0, (LPARAM)0x5150);
    }

    // Twenty pixels from (x, y) in steps of (dx, dy): '#' outline colour 0,
    // 'r' fill, '.' background, '?' anything else.
    std::string Across(const ClientPixels& pixels, int x, int y, int dx, int dy) {
        std::string out;
        for (int i = 0; i < 20; i++, x += dx, y += dy) {
            COLORREF c = pixels.At(x, y);
            out += c == OUTLINE_COLORS[0] ? '#' : c == RED ? 'r' : c == m_background ? '.' : '?';
        }
        return out;
    }

    COLORREF m_background = 0;
    const COLORREF RED = RGB(210, 0, 0);
};

TEST_F(GestureRectDrawTest, RedFillInsideAThickOutline) {
    DrawShape();
    EXPECT_EQ(PixelAt(200, 100), RED);
    EXPECT_EQ(PixelAt(106, 100), RED);
    EXPECT_EQ(PixelAt(294, 140), RED);
    // Six pixels of outline across an edge, from three before its line to two
    // after: across the left edge (x = 100) and the bottom one (y = 150).
    ClientPixels pixels(m_hwnd);
    EXPECT_EQ(Across(pixels, 90, 100, 1, 0), ".......######rrrrrrr");
    EXPECT_EQ(Across(pixels, 200, 140, 0, 1), "rrrrrrr######.......");
    EXPECT_EQ(PixelAt(300, 50), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(200, 100), RED); // no diagonals yet
    EXPECT_EQ(PixelAt(150, 75), RED);
    EXPECT_EQ(PixelAt(200, 42), m_background); // outside

    g_shape.NextColor();
    DrawShape();
    EXPECT_EQ(PixelAt(100, 100), OUTLINE_COLORS[1]);
    EXPECT_EQ(PixelAt(200, 100), RED);
}

TEST_F(GestureRectDrawTest, TwoFingerTapsToggleTheDiagonals) {
    EXPECT_EQ(Gesture(GID_TWOFINGERTAP, 0, 200, 100), 14);
    DrawShape();
    // The diagonals cross at the centre; (150, 75) lies on the one from P0 to P2,
    // (150, 125) on the one from P1 to P3.
    EXPECT_EQ(PixelAt(200, 100), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(150, 75), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(150, 125), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(150, 100), RED);

    Gesture(GID_TWOFINGERTAP, 0, 200, 100);
    DrawShape();
    EXPECT_EQ(PixelAt(200, 100), RED);
    EXPECT_EQ(PixelAt(150, 75), RED);
    EXPECT_EQ(PixelAt(150, 125), RED);
}

TEST_F(GestureRectDrawTest, PanMovesAndZoomScalesThePicture) {
    Gesture(GID_PAN, GF_BEGIN, 50, 50);
    Gesture(GID_PAN, 0, 110, 80); // by (60, 30): corners (160, 80) and (360, 180)
    EXPECT_EQ(g_shape.m_centerX, 260);
    EXPECT_EQ(g_shape.m_centerY, 130);
    DrawShape();
    EXPECT_EQ(PixelAt(130, 120), m_background); // was inside
    EXPECT_EQ(PixelAt(340, 170), RED);          // was outside
    EXPECT_EQ(PixelAt(160, 130), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(260, 130), RED);

    // Twice the size about its own centre: corners (60, 30) and (460, 230).
    Gesture(GID_ZOOM, GF_BEGIN, 10, 10, 100);
    Gesture(GID_ZOOM, 0, 20, 20, 200);
    EXPECT_EQ(g_shape.m_scale, 2.0);
    DrawShape();
    EXPECT_EQ(PixelAt(70, 130), RED);
    EXPECT_EQ(PixelAt(60, 130), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(50, 130), m_background);
    EXPECT_EQ(PixelAt(260, 225), RED);
}

TEST_F(GestureRectDrawTest, RotationTurnsThePicture) {
    Gesture(GID_ROTATE, GF_BEGIN, 200, 100, 0);
    Gesture(GID_ROTATE, 0, 200, 100, 8192); // a quarter turn, to 0.0001 rad
    EXPECT_NEAR(g_shape.m_angle, PI / 2, 1e-3);
    DrawShape();
    // Now 100 wide and 200 high about (200, 100).
    EXPECT_EQ(PixelAt(280, 100), m_background);
    EXPECT_EQ(PixelAt(120, 100), m_background);
    EXPECT_EQ(PixelAt(200, 10), RED);
    EXPECT_EQ(PixelAt(200, 190), RED);
    EXPECT_EQ(PixelAt(240, 100), RED);
    EXPECT_EQ(PixelAt(250, 100), OUTLINE_COLORS[0]);
}

TEST_F(GestureRectDrawTest, DrawRestoresThePenAndDeletesWhatItCreated) {
    g_shape.ToggleDiagonals();
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ penBefore = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
    gdirec::Start();
    g_shape.Draw(dc);
    gdirec::Stop();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), penBefore);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
    ReleaseDC(m_hwnd, dc);

    // The brush and the region are gone before the outline is drawn; the pen last.
    EXPECT_EQ(gdirec::Trace(), "CreatePen=pen1 SelectObject(pen1) CreatePolygonRgn=region1 "
                               "CreateSolidBrush=brush1 DeleteObject(brush1) DeleteObject(region1) "
                               "SelectObject(other) DeleteObject(pen1)");
    EXPECT_TRUE(gdirec::Balanced());
    gdirec::Event pen = gdirec::Only(gdirec::CREATE_PEN)[0];
    EXPECT_EQ(pen.style, PS_SOLID);
    EXPECT_EQ(pen.width, 6);
    EXPECT_EQ(pen.color, RGB(13, 13, 13));
    EXPECT_EQ(gdirec::Only(gdirec::CREATE_BRUSH)[0].color, RGB(210, 0, 0));
}

TEST_F(GestureRectDrawTest, ManyDrawsLeaveNoGdiObjectBehind) {
    HDC dc = GetDC(m_hwnd);
    gdirec::Start();
    for (int i = 0; i < 200; i++) {
        g_shape.m_angle = i * 0.1;
        g_shape.m_diagonals = (BYTE)(i & 1);
        g_shape.Draw(dc);
    }
    gdirec::Stop();
    HGDIOBJ penAfter = GetCurrentObject(dc, OBJ_PEN);
    ReleaseDC(m_hwnd, dc);

    EXPECT_EQ(penAfter, GetStockObject(BLACK_PEN));
    EXPECT_EQ(gdirec::Count(gdirec::CREATE_PEN) + gdirec::Count(gdirec::CREATE_REGION) +
                  gdirec::Count(gdirec::CREATE_BRUSH),
              600);
    EXPECT_TRUE(gdirec::Balanced());
}

TEST_F(GestureRectDrawTest, FailedRegionSkipsTheFillButNotTheOutline) {
    g_shape.ToggleDiagonals();
    gdirec::regionFails = true;
    gdirec::Start();
    DrawShape();
    gdirec::Stop();
    EXPECT_EQ(gdirec::Trace(), "GetDC=dc1 CreatePen=pen1 SelectObject(pen1) CreatePolygonRgn=null "
                               "SelectObject(other) DeleteObject(pen1) ReleaseDC(dc1)");
    EXPECT_TRUE(gdirec::Balanced());
    EXPECT_EQ(PixelAt(150, 100), m_background);
    EXPECT_EQ(PixelAt(100, 100), OUTLINE_COLORS[0]);
    EXPECT_EQ(PixelAt(200, 100), OUTLINE_COLORS[0]); // diagonals too
}

TEST_F(GestureRectDrawTest, FailedBrushDeletesTheRegionUnfilled) {
    gdirec::brushFails = true;
    gdirec::Start();
    DrawShape();
    gdirec::Stop();
    EXPECT_EQ(gdirec::Trace(), "GetDC=dc1 CreatePen=pen1 SelectObject(pen1) CreatePolygonRgn=region1 "
                               "CreateSolidBrush=null DeleteObject(region1) SelectObject(other) "
                               "DeleteObject(pen1) ReleaseDC(dc1)");
    EXPECT_TRUE(gdirec::Balanced());
    EXPECT_EQ(PixelAt(200, 100), m_background);
    EXPECT_EQ(PixelAt(100, 100), OUTLINE_COLORS[0]);
}

TEST_F(GestureRectDrawTest, DegenerateAndHugeRectanglesDrawSafely) {
    g_shape = CGestureRect{}; // never reset: everything at the origin
    gdirec::Start();
    DrawShape();
    gdirec::Stop();
    EXPECT_TRUE(gdirec::Balanced());
    EXPECT_EQ(PixelAt(200, 100), m_background);
    EXPECT_EQ(PixelAt(20, 20), m_background);

    g_shape.Reset(400, 200);
    g_shape.m_scale = 1e300;
    gdirec::Start();
    DrawShape();
    gdirec::Stop();
    EXPECT_TRUE(gdirec::Balanced());
    EXPECT_EQ(gdirec::Count(gdirec::CREATE_PEN), 1);
    EXPECT_EQ(PixelAt(200, 100), RED);
    EXPECT_EQ(PixelAt(5, 5), RED);
}
