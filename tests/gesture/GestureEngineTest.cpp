// The gesture engine: scripted gesture records through the real window, the
// arguments its handlers receive, the status line, the fate of the handle and
// the repaint that follows.
#include "app/AppState.h"
#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"
#include "support/PlatformFakes.h"
#include "support/ShapeFields.h"
#include "support/WindowFixture.h"

#include <type_traits>
#include <vector>

static_assert(std::is_abstract<CGestureEngine>::value,
              "the decoder leaves the handlers to a concrete engine");
static_assert(!std::has_virtual_destructor<CGestureEngine>::value, "no virtual destructor");
static_assert(std::is_base_of<CGestureEngine, CMyGestureEngine>::value, "the concrete engine is a decoder");

namespace {

struct Handled {
    const char* name;
    double value; // factor or angle
    int x, y;     // centre or offset
};

// Records what the decoder asks for instead of acting on a rectangle.
class CRecordingEngine : public CGestureEngine {
public:
    void OnPressAndTap() override {
        events.push_back({"PressAndTap", 0, 0, 0});
    }
    void OnTwoFingerTap() override {
        events.push_back({"TwoFingerTap", 0, 0, 0});
    }
    void OnZoom(double factor, int centerX, int centerY) override {
        events.push_back({"Zoom", factor, centerX, centerY});
    }
    void OnPan(int dx, int dy) override {
        events.push_back({"Pan", 0, dx, dy});
    }
    void OnRotate(double angle, int centerX, int centerY) override {
        events.push_back({"Rotate", angle, centerX, centerY});
    }
    std::vector<Handled> events;
};

class GestureEngineTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CreateWindowUnderTest();
    }

    // Scripts the next gesture record; the location is given in client pixels.
    void Script(DWORD id, DWORD flags, int clientX, int clientY, ULONGLONG argument = 0) {
        fakes::gestureInfo = fakes::GestureAtClient(m_hwnd, id, flags, clientX, clientY, argument);
    }
    void ScriptScreen(DWORD id, DWORD flags, int screenX, int screenY, ULONGLONG argument = 0) {
        fakes::gestureInfo = fakes::GestureAt(id, flags, screenX, screenY, argument);
    }

    // Through the window procedure, to g_gestureEngine and g_shape.
    LRESULT Gesture(DWORD id, DWORD flags, int clientX, int clientY, ULONGLONG argument = 0) {
        Script(id, flags, clientX, clientY, argument);
        return Send(WM_GESTURE, 0, (LPARAM)NextHandle());
    }
    // Straight to the recording engine.
    LRESULT Record(DWORD id, DWORD flags, int clientX, int clientY, ULONGLONG argument = 0) {
        Script(id, flags, clientX, clientY, argument);
        return m_recorder.HandleGesture(m_hwnd, 0, (LPARAM)NextHandle());
    }

    INT_PTR NextHandle() {
        return ++m_handle;
    }

    // Where the last handle went: 'C' closed here, 'D' DefWindowProcW, '2' both, '-' neither.
    char LastHandleFate() {
        bool closed = false, passed = false;
        for (const fakes::Call& c : fakes::calls) {
            if (c.args.empty())
                continue;
            long long handle = c.args.back();
            if (c.name == "CloseGestureInfoHandle" && c.args[0] == m_handle)
                closed = true;
            if (c.name == "DefWindowProcW" && handle == m_handle)
                passed = true;
        }
        return closed && passed ? '2' : closed ? 'C' : passed ? 'D' : '-';
    }

    std::wstring ScreenText(const wchar_t* format, int clientX, int clientY) {
        POINT p = {clientX, clientY};
        ClientToScreen(m_hwnd, &p);
        wchar_t buf[128];
        wsprintfW(buf, format, (int)p.x, (int)p.y);
        return buf;
    }

    POINT ToClient(int screenX, int screenY) {
        POINT p = {screenX, screenY};
        ScreenToClient(m_hwnd, &p);
        return p;
    }

    CRecordingEngine m_recorder;
    INT_PTR m_handle = 0x7000;
};

} // namespace

TEST(AngleFromArgument, QuarterTurnsOfTheFullRange) {
    EXPECT_EQ(AngleFromArgument(0), 0.0);
    EXPECT_NEAR(AngleFromArgument(1), 0.00019175, 1e-8);
    EXPECT_EQ(AngleFromArgument(65535), 4.0 * 3.141592653589793);
    EXPECT_EQ(AngleFromArgument(100), (100.0 / 65535.0) * 4.0 * 3.141592653589793);
    EXPECT_NEAR(AngleFromArgument(16384), 3.14164, 1e-5);
    EXPECT_EQ(AngleFromArgument(-100), -AngleFromArgument(100));
}

TEST(ZoomCenter, MidpointTruncatesTowardZero) {
    POINT c = ZoomCenter({10, 20}, {13, 27});
    EXPECT_EQ(c.x, 11);
    EXPECT_EQ(c.y, 23);
    c = ZoomCenter({-3, -10}, {0, 5});
    EXPECT_EQ(c.x, -1);
    EXPECT_EQ(c.y, -2);
    c = ZoomCenter({2147483647, -2147483647 - 1}, {2147483647, -2147483647 - 1});
    EXPECT_EQ(c.x, 2147483647);
    EXPECT_EQ(c.y, -2147483647 - 1);
}

TEST_F(GestureEngineTest, ZoomMultipliesByArgumentRatiosAboutMidpoints) {
    EXPECT_EQ(Record(GID_ZOOM, GF_BEGIN, 100, 100, 200), 14);
    EXPECT_EQ(LastHandleFate(), 'D');
    EXPECT_TRUE(m_recorder.events.empty());
    EXPECT_EQ(m_recorder.m_anchor.x, 100);
    EXPECT_EQ(m_recorder.m_anchor.y, 100);
    EXPECT_EQ(m_recorder.m_lastArgument, 200u);
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_ZOOM GF_BEGIN( %d, %d)\n", 100, 100));

    EXPECT_EQ(Record(GID_ZOOM, 0, 120, 110, 220), 14);
    EXPECT_EQ(LastHandleFate(), 'C');
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_ZOOM ( %d, %d)\n", 120, 110));
    Record(GID_ZOOM, 0, 141, 121, 242);
    ASSERT_EQ(m_recorder.events.size(), 2u);
    EXPECT_STREQ(m_recorder.events[0].name, "Zoom");
    EXPECT_EQ(m_recorder.events[0].value, 220.0 / 200.0);
    EXPECT_EQ(m_recorder.events[0].x, 110);
    EXPECT_EQ(m_recorder.events[0].y, 105);
    EXPECT_EQ(m_recorder.events[1].value, 242.0 / 220.0);
    EXPECT_EQ(m_recorder.events[1].x, 130); // (120 + 141) / 2
    EXPECT_EQ(m_recorder.events[1].y, 115);
    EXPECT_EQ(m_recorder.m_anchor.x, 141);
    EXPECT_EQ(m_recorder.m_location.y, 121);
    EXPECT_EQ(m_recorder.m_lastArgument, 242u);

    // The same on the program's rectangle.
    g_shape.Reset(800, 600);
    Gesture(GID_ZOOM, GF_BEGIN, 100, 100, 200);
    EXPECT_EQ(g_shape.m_scale, 1.0);
    Gesture(GID_ZOOM, 0, 120, 110, 220);
    EXPECT_EQ(g_shape.m_scale, 1.1);
    Gesture(GID_ZOOM, 0, 141, 121, 242);
    EXPECT_NEAR(g_shape.m_scale, 1.21, 1e-12);
    EXPECT_EQ(g_shape.m_centerX, 400); // scaled about its own centre
    EXPECT_EQ(g_shape.m_centerY, 300);
}

TEST_F(GestureEngineTest, ZoomEndClearsTheArgumentAndANewZoomContinuesTheScale) {
    g_shape.Reset(800, 600);
    Gesture(GID_ZOOM, GF_BEGIN, 10, 10, 100);
    Gesture(GID_ZOOM, 0, 10, 10, 150);
    EXPECT_EQ(Gesture(GID_ZOOM, GF_END, 10, 10, 170), 14);
    EXPECT_EQ(LastHandleFate(), 'C');
    EXPECT_STREQ(g_gestureText, L"GID_ZOOM GF_END\n");
    EXPECT_EQ(g_gestureEngine.m_lastArgument, 0u);
    EXPECT_EQ(g_shape.m_scale, 1.5);

    // A fresh zoom starts from the scale reached so far.
    Gesture(GID_ZOOM, GF_BEGIN | GF_END, 30, 30, 400); // begin wins over end
    EXPECT_EQ(g_gestureEngine.m_lastArgument, 400u);
    EXPECT_EQ(LastHandleFate(), 'D');
    Gesture(GID_ZOOM, 0, 30, 30, 200);
    EXPECT_EQ(g_shape.m_scale, 0.75);
}

TEST_F(GestureEngineTest, ZoomUpdateWithoutArgumentOnlyMovesTheReferenceOn) {
    Record(GID_ZOOM, GF_END, 0, 0);
    ASSERT_EQ(m_recorder.m_lastArgument, 0u);
    EXPECT_EQ(Record(GID_ZOOM, 0, 50, 60, 300), 14);
    EXPECT_TRUE(m_recorder.events.empty()); // no infinite factor
    EXPECT_EQ(LastHandleFate(), 'C');
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_ZOOM ( %d, %d)\n", 50, 60));
    EXPECT_EQ(m_recorder.m_lastArgument, 300u);
    EXPECT_EQ(m_recorder.m_anchor.x, 50);
    Record(GID_ZOOM, 0, 70, 80, 600);
    ASSERT_EQ(m_recorder.events.size(), 1u);
    EXPECT_EQ(m_recorder.events[0].value, 2.0);
    EXPECT_EQ(m_recorder.events[0].x, 60);
    EXPECT_EQ(m_recorder.events[0].y, 70);

    // Also after a beginning whose argument was 0.
    g_shape.Reset(800, 600);
    Gesture(GID_ZOOM, GF_BEGIN, 0, 0, 0);
    Gesture(GID_ZOOM, 0, 0, 0, 50);
    EXPECT_EQ(g_shape.m_scale, 1.0);
    Gesture(GID_ZOOM, 0, 0, 0, 100);
    EXPECT_EQ(g_shape.m_scale, 2.0);
}

TEST_F(GestureEngineTest, PanMovesByTheStepSinceThePreviousLocation) {
    EXPECT_EQ(Record(GID_PAN, GF_BEGIN, 300, 200, 77), 14);
    EXPECT_EQ(LastHandleFate(), 'D');
    EXPECT_EQ(m_recorder.m_lastArgument, 77u);
    EXPECT_TRUE(m_recorder.events.empty());
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_PAN GF_BEGIN( %d, %d)\n", 300, 200));

    Record(GID_PAN, 0, 310, 205, 12);
    EXPECT_EQ(LastHandleFate(), 'C');
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_PAN ( %d, %d)\n", 310, 205));
    Record(GID_PAN, 0, 313, 204);
    Record(GID_PAN, GF_END, 300, 210); // the end is one more step
    EXPECT_EQ(LastHandleFate(), 'C');
    ASSERT_EQ(m_recorder.events.size(), 3u);
    EXPECT_EQ(m_recorder.events[0].x, 10);
    EXPECT_EQ(m_recorder.events[0].y, 5);
    EXPECT_EQ(m_recorder.events[1].x, 3);
    EXPECT_EQ(m_recorder.events[1].y, -1);
    EXPECT_EQ(m_recorder.events[2].x, -13);
    EXPECT_EQ(m_recorder.events[2].y, 6);
    EXPECT_EQ(m_recorder.m_lastArgument, 77u); // updates leave it alone

    g_shape.Reset(800, 600);
    Gesture(GID_PAN, GF_BEGIN, 300, 200);
    Gesture(GID_PAN, 0, 310, 205);
    EXPECT_EQ(g_shape.m_centerX, 410);
    EXPECT_EQ(g_shape.m_centerY, 305);
    Gesture(GID_PAN, 0, 313, 204);
    EXPECT_EQ(g_shape.m_centerX, 413);
    EXPECT_EQ(g_shape.m_centerY, 304);
}

TEST_F(GestureEngineTest, RotationAddsTheAngleOfEachStepAboutWhereItBegan) {
    EXPECT_EQ(Record(GID_ROTATE, GF_BEGIN, 150, 120, 0), 14);
    EXPECT_EQ(LastHandleFate(), 'C'); // a beginning already turns: closed here
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_ROTATE  GF_BEGIN( %d, %d)\n", 150, 120));
    Record(GID_ROTATE, 0, 400, 400, 100);
    EXPECT_EQ(LastHandleFate(), 'C');
    EXPECT_EQ(g_gestureText, ScreenText(L"GID_ROTATE ( %d, %d)\n", 400, 400));
    Record(GID_ROTATE, GF_END, 10, 10, 300);
    ASSERT_EQ(m_recorder.events.size(), 3u);
    EXPECT_EQ(m_recorder.events[0].value, 0.0);
    EXPECT_EQ(m_recorder.events[1].value, AngleFromArgument(100));
    EXPECT_EQ(m_recorder.events[2].value, AngleFromArgument(200));
    for (const Handled& e : m_recorder.events) {
        EXPECT_STREQ(e.name, "Rotate");
        EXPECT_EQ(e.x, 150);
        EXPECT_EQ(e.y, 120);
    }
    EXPECT_EQ(m_recorder.m_lastArgument, 300u);

    g_shape.Reset(800, 600);
    Gesture(GID_ROTATE, GF_BEGIN, 150, 120, 16384);
    EXPECT_NEAR(g_shape.m_angle, 3.14164, 1e-5);
    Gesture(GID_ROTATE, 0, 150, 120, 20000);
    Gesture(GID_ROTATE, 0, 150, 120, 12000);
    // The total is the angle of the last argument, up to rounding.
    EXPECT_NEAR(g_shape.m_angle, AngleFromArgument(12000), 1e-12);
}

TEST_F(GestureEngineTest, RotationUsesTheLow32BitsWithWrappingDifferences) {
    Record(GID_ROTATE, GF_BEGIN, 0, 0, 0xABCD00000000FFFFull); // high bits ignored: 65535
    Record(GID_ROTATE, 0, 0, 0, 0x00000000FFFFFFFFull);        // -1 after 65535: -65536
    Record(GID_ROTATE, GF_BEGIN, 0, 0, 0x80000000ull);         // INT_MIN
    Record(GID_ROTATE, 0, 0, 0, 0x7FFFFFFFull);                // INT_MAX - INT_MIN wraps to -1
    ASSERT_EQ(m_recorder.events.size(), 4u);
    EXPECT_EQ(m_recorder.events[0].value, AngleFromArgument(65535));
    EXPECT_EQ(m_recorder.events[1].value, AngleFromArgument(-65536));
    EXPECT_EQ(m_recorder.events[2].value, AngleFromArgument(-2147483647 - 1));
    EXPECT_EQ(m_recorder.events[3].value, AngleFromArgument(-1));
}

TEST_F(GestureEngineTest, TwoFingerTapsToggleTheDiagonalsWhateverTheFlags) {
    g_shape.Reset(800, 600);
    EXPECT_EQ(Gesture(GID_TWOFINGERTAP, GF_BEGIN, 5, 5), 14);
    EXPECT_EQ(g_shape.m_diagonals, 1);
    EXPECT_STREQ(g_gestureText, L"GID_TWOFINGERTAP\n");
    EXPECT_EQ(LastHandleFate(), 'C');
    Gesture(GID_TWOFINGERTAP, GF_END, 5, 5);
    EXPECT_EQ(g_shape.m_diagonals, 0);
    EXPECT_EQ(LastHandleFate(), 'C');
}

TEST_F(GestureEngineTest, OtherIdsChangeNothingAndGoToDefWindowProc) {
    g_shape.Reset(800, 600);
    CGestureRect before = g_shape;
    const DWORD ids[] = {GID_PRESSANDTAP, 0, 99};
    for (DWORD id : ids) {
        g_gestureText[0] = 0;
        EXPECT_EQ(Gesture(id, GF_BEGIN, 40, 40, 1234), 14) << id;
        EXPECT_STREQ(g_gestureText, L"Other Gesture\n") << id;
        EXPECT_EQ(LastHandleFate(), 'D') << id;
    }
    EXPECT_EQ(ShapeFields(g_shape), ShapeFields(before));
    EXPECT_EQ(g_gestureEngine.m_lastArgument, 0u);
    EXPECT_EQ(fakes::CountCalls("CloseGestureInfoHandle"), 0);

    // DefWindowProcW gets the message as it came.
    Script(GID_PRESSANDTAP, 0, 0, 0);
    SendMessageW(m_hwnd, WM_GESTURE, 0x1234, 0x4321);
    fakes::Call last = fakes::CallsNamed("DefWindowProcW").back();
    EXPECT_EQ(last.args[0], (long long)(INT_PTR)m_hwnd);
    EXPECT_EQ(last.args[1], 0x1234);
    EXPECT_EQ(last.args[2], 0x4321);
}

TEST_F(GestureEngineTest, BeginAndEndAreClosedWithoutAnyOperation) {
    for (DWORD id : {GID_BEGIN, GID_END}) {
        g_gestureText[0] = 0;
        EXPECT_EQ(Record(id, GF_BEGIN, 40, 40, 1234), 14);
        EXPECT_STREQ(g_gestureText, L"GID_BEGIN GID_END\n");
        EXPECT_EQ(LastHandleFate(), 'C');
    }
    EXPECT_TRUE(m_recorder.events.empty());
    EXPECT_EQ(m_recorder.m_lastArgument, 0u);
}

TEST_F(GestureEngineTest, LocationsLeftOfTheScreenPrintNegative) {
    ScriptScreen(GID_PAN, GF_BEGIN, -20, -7);
    m_recorder.HandleGesture(m_hwnd, 0, (LPARAM)NextHandle());
    POINT anchor = ToClient(-20, -7); // sign-extended before the conversion
    EXPECT_EQ(m_recorder.m_anchor.x, anchor.x);
    EXPECT_EQ(m_recorder.m_anchor.y, anchor.y);
    EXPECT_STREQ(g_gestureText, L"GID_PAN GF_BEGIN( -20, -7)\n");

    ScriptScreen(GID_PAN, 0, -5, 300);
    m_recorder.HandleGesture(m_hwnd, 0, (LPARAM)NextHandle());
    EXPECT_STREQ(g_gestureText, L"GID_PAN ( -5, 300)\n");
    ASSERT_EQ(m_recorder.events.size(), 1u);
    EXPECT_EQ(m_recorder.events[0].x, 15);
    EXPECT_EQ(m_recorder.events[0].y, 307);

    // The longest line fits the buffer.
    ScriptScreen(GID_ROTATE, GF_BEGIN, -32768, -32768);
    m_recorder.HandleGesture(m_hwnd, 0, (LPARAM)NextHandle());
    EXPECT_STREQ(g_gestureText, L"GID_ROTATE  GF_BEGIN( -32768, -32768)\n");
    EXPECT_EQ(wcslen(g_gestureText), 38u);
}

TEST_F(GestureEngineTest, FailedGestureInfoChangesNothingButStillRepaints) {
    g_shape.Reset(800, 600);
    lstrcpyW(g_gestureText, L"previous");
    g_statusLines = 3;
    Script(GID_TWOFINGERTAP, 0, 10, 10);
    fakes::gestureInfoFails = true;
    ValidateRect(m_hwnd, nullptr);
    EXPECT_EQ(Send(WM_GESTURE, 0, (LPARAM)NextHandle()), 14);
    EXPECT_EQ(g_statusLines, -1);
    EXPECT_STREQ(g_gestureText, L"previous");
    EXPECT_EQ(g_shape.m_diagonals, 0);
    EXPECT_EQ(LastHandleFate(), 'D');
    ASSERT_EQ(fakes::CountCalls("GetGestureInfo"), 1);
    EXPECT_EQ(fakes::CallsNamed("GetGestureInfo")[0].args[0], m_handle);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(m_hwnd, &update, FALSE));
    RECT client = ClientRect();
    EXPECT_TRUE(EqualRect(&update, &client));
}

TEST_F(GestureEngineTest, NullShapeMakesEveryHandlerANoOp) {
    CMyGestureEngine engine(nullptr);
    EXPECT_EQ(engine.m_lastArgument, 0u);
    engine.OnPressAndTap();
    engine.OnTwoFingerTap();
    engine.OnZoom(2.0, 1, 1);
    engine.OnPan(3, 4);
    engine.OnRotate(1.0, 1, 1);
    Script(GID_TWOFINGERTAP, 0, 0, 0);
    EXPECT_EQ(engine.HandleGesture(m_hwnd, 0, (LPARAM)NextHandle()), 14);
    EXPECT_EQ(LastHandleFate(), 'C');

    // Bound, each handler reaches its operation with its arguments unchanged.
    CGestureRect shape = {};
    shape.Reset(100, 100);
    CMyGestureEngine bound(&shape);
    bound.OnPressAndTap();
    bound.OnTwoFingerTap();
    bound.OnZoom(2.0, 1, 1);
    bound.OnPan(3, -4);
    bound.OnRotate(0.5, 1, 1);
    EXPECT_EQ(shape.m_colorIndex, 1);
    EXPECT_EQ(shape.m_diagonals, 1);
    EXPECT_EQ(shape.m_scale, 2.0);
    EXPECT_EQ(shape.m_centerX, 53);
    EXPECT_EQ(shape.m_centerY, 46);
    EXPECT_EQ(shape.m_angle, 0.5);
}

// Which messages repaint with erase: a mark drawn in the window survives the
// next paint unless the background is erased. Gesture mode, so BeginPaint runs.
TEST_F(GestureEngineTest, OnlyMessagesThatActRepaintWithErase) {
    g_lineMode = 0;
    g_touchMode = 0;
    RECT client = ClientRect();
    const int markX = client.right - 8, markY = client.bottom - 8; // clear of rectangle and text
    struct Case {
        DWORD id, flags;
        bool getInfoFails;
        bool erases;
    } cases[] = {
        {GID_BEGIN, 0, false, false},        {GID_END, 0, false, false},
        {GID_ZOOM, GF_BEGIN, false, false},  {GID_ZOOM, 0, false, true},
        {GID_ZOOM, GF_END, false, false},    {GID_PAN, GF_BEGIN, false, false},
        {GID_PAN, 0, false, true},           {GID_PAN, GF_END, false, true},
        {GID_ROTATE, GF_BEGIN, false, true}, {GID_ROTATE, 0, false, true},
        {GID_TWOFINGERTAP, 0, false, true},  {GID_PRESSANDTAP, 0, false, false},
        {GID_TWOFINGERTAP, 0, true, false},
    };
    for (const Case& c : cases) {
        PumpMessages(20);
        HDC dc = GetDC(m_hwnd);
        RECT mark = {markX - 3, markY - 3, markX + 3, markY + 3};
        FillRect(dc, &mark, (HBRUSH)GetStockObject(BLACK_BRUSH));
        ReleaseDC(m_hwnd, dc);
        ValidateRect(m_hwnd, nullptr);
        g_gestureEngine.m_lastArgument = 10;
        g_shape.Reset(100, 100); // kept small: a painted rectangle must not reach the mark

        Script(c.id, c.flags, 20, 20, 20);
        fakes::gestureInfoFails = c.getInfoFails;
        EXPECT_EQ(Send(WM_GESTURE, 0, (LPARAM)NextHandle()), 14);
        RECT update;
        EXPECT_TRUE(GetUpdateRect(m_hwnd, &update, FALSE)) << c.id << "/" << c.flags;
        EXPECT_TRUE(EqualRect(&update, &client)) << c.id << "/" << c.flags;
        PumpMessages(20);
        EXPECT_EQ(PixelAt(markX, markY), c.erases ? GetSysColor(COLOR_WINDOW) : RGB(0, 0, 0))
            << "id " << c.id << " flags " << c.flags << " failed " << c.getInfoFails;
    }
}
