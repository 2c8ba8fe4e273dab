// Hostile input: thousands of seeded random messages of every kind the window
// handles, with extreme counts, flags, ids, coordinates and arguments. After
// every message the state must still make sense. This binary's copy of the
// program is built with the undefined-behaviour and bounds checks trapping, so
// an index outside a fixed table or an overflowing sum ends the run.
#include "app/AppState.h"
#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"
#include "res/resource.h"
#include "support/ClientPixels.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"
#include "touch/Painting.h"
#include "touch/TouchInput.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

namespace {

class HostileInputTest : public WindowTest {
protected:
    long long Extreme() {
        static const long long values[] = {0,      1,     -1,    INT_MAX, INT_MIN, 32767,
                                           -32768, 65535, 65536, 100,     -150};
        return values[m_random() % (sizeof(values) / sizeof(values[0]))];
    }
    int AnyInt() {
        return m_random() % 4 == 0 ? (int)Extreme() : (int)m_random();
    }

    void RandomTouch() {
        int records = (int)(m_random() % 16);
        fakes::touchInputs.clear();
        for (int i = 0; i < records; i++) {
            TOUCHINPUT t = {};
            t.x = AnyInt();
            t.y = AnyInt();
            t.dwID = m_random() % 3 == 0 ? (DWORD)Extreme() : (DWORD)(m_random() % 24);
            t.dwFlags = m_random() % 4 == 0 ? (DWORD)m_random() : (DWORD)(1u << (m_random() % 3));
            if (t.dwFlags & TOUCHEVENTF_DOWN)
                m_downIds.insert((int)t.dwID);
            fakes::touchInputs.push_back(t);
        }
        UINT count = m_random() % 5 == 0 ? (UINT)(m_random() % 65536) : (UINT)(m_random() % 18);
        fakes::touchInputInfoFails = m_random() % 10 == 0;
        Send(WM_TOUCH, MAKEWPARAM(count, m_random()), (LPARAM)m_random());
    }

    void RandomGesture() {
        DWORD id = m_random() % 10;
        DWORD flags = m_random() % 3 == 0 ? (DWORD)m_random() : (DWORD)(m_random() % 8);
        int x = AnyInt();
        int y = AnyInt();
        ULONGLONG argument =
            m_random() % 3 == 0 ? ((ULONGLONG)m_random() << 32 | m_random()) : (ULONGLONG)Extreme();
        fakes::gestureInfo = fakes::GestureAt(id, flags, x, y, argument);
        fakes::gestureInfoFails = m_random() % 10 == 0;
        EXPECT_EQ(Send(WM_GESTURE, m_random(), (LPARAM)m_random()), 14);
    }

    void RandomMessage() {
        switch (m_random() % 12) {
        case 0:
        case 1:
        case 2:
        case 3:
            RandomTouch();
            break;
        case 4:
        case 5:
        case 6:
            RandomGesture();
            break;
        case 7: {
            static const UINT modes[] = {IDM_LINE, IDM_TOUCH, IDM_GESTURE, IDM_GUIDED_TEST};
            Send(WM_COMMAND, modes[m_random() % 4]);
            break;
        }
        case 8: {
            static const LPARAM sizes[] = {0, MAKELPARAM(65535, 65535), MAKELPARAM(1, 1),
                                           MAKELPARAM(800, 600)};
            Send(WM_SIZE, m_random() % 5, m_random() % 2 ? sizes[m_random() % 4] : (LPARAM)m_random());
            break;
        }
        case 9: {
            static const UINT mouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};
            Send(mouse[m_random() % 3], m_random(), (LPARAM)(DWORD)m_random());
            break;
        }
        case 10:
            Send(WM_TIMER, RATE_TIMER_ID);
            break;
        default:
            InvalidateRect(m_hwnd, nullptr, m_random() % 2);
            UpdateWindow(m_hwnd);
            break;
        }
    }

    void CheckInvariants(int step) {
        ASSERT_GE(g_touchInputCount, 0) << step;
        ASSERT_LE(g_touchInputCount, SLOT_COUNT) << step;
        ASSERT_GE(g_statusLines, -1) << step;
        ASSERT_LE(g_statusLines, SLOT_COUNT) << step;
        std::set<int> held;
        for (int slot = 0; slot < SLOT_COUNT; slot++) {
            int id = g_slotContact[slot];
            if (id == -1)
                continue; // free (a contact whose id is -1 cannot be told from a free slot)
            ASSERT_TRUE(held.insert(id).second) << "id " << id << " in two slots at step " << step;
            ASSERT_TRUE(m_downIds.count(id))
                << "slot " << slot << " holds id " << id << " never seen going down";
        }
        ASSERT_GE(g_shape.m_colorIndex, 0);
        ASSERT_LE(g_shape.m_colorIndex, 3);
    }

    // Paints the rectangle through the window's own WM_PAINT in Gesture mode,
    // whatever its numbers became (the scale may leave the finite range as the
    // arithmetic says). The paint must run to its end. A drawn rectangle that
    // lies wholly below the text rows shows its fill: no more than its area,
    // and at least an eighth of it (the rest may be outline and diagonals).
    void PaintRectangle(int step) {
        Send(WM_COMMAND, IDM_GESTURE);
        InvalidateRect(m_hwnd, nullptr, TRUE);
        UpdateWindow(m_hwnd);
        ASSERT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE)) << "the paint did not end at step " << step;
        const CGestureRect& r = g_shape;
        m_finiteAtLastPaint = std::isfinite(r.m_scale);
        // Drawn at no less than the smallest scale, NaN included.
        double scale = std::isnan(r.m_scale) || r.m_scale < MIN_DRAW_SCALE ? MIN_DRAW_SCALE : r.m_scale;
        double halfWidth = r.m_width * scale / 2, halfHeight = r.m_height * scale / 2;
        if (halfWidth < 20 || halfHeight < 20 || halfWidth > 2000 || halfHeight > 2000)
            return;
        LONG reach = (LONG)std::hypot(halfWidth, halfHeight) + OUTLINE_WIDTH;
        RECT box = {r.m_centerX - reach, r.m_centerY - reach, r.m_centerX + reach, r.m_centerY + reach};
        RECT client = ClientRect();
        if (box.left < 0 || box.top < 2 * STATUS_ROW_HEIGHT || box.right > client.right ||
            box.bottom > client.bottom)
            return;
        int fill = ClientPixels(m_hwnd).CountColor(box, FILL_COLOR);
        EXPECT_GE(fill, halfWidth * halfHeight / 2) << "step " << step << ", scale " << r.m_scale;
        EXPECT_LE(fill, (2 * halfWidth + 2) * (2 * halfHeight + 2))
            << "step " << step << ", scale " << r.m_scale;
        m_fillChecks++;
    }

    // A zoom update of the rectangle by argument / previous argument.
    void Zoom(ULONGLONG from, ULONGLONG to) {
        fakes::gestureInfo = fakes::GestureAtClient(m_hwnd, GID_ZOOM, GF_BEGIN, 400, 300, from);
        Send(WM_GESTURE, 0, 1);
        fakes::gestureInfo = fakes::GestureAtClient(m_hwnd, GID_ZOOM, 0, 400, 300, to);
        Send(WM_GESTURE, 0, 2);
    }

    std::mt19937 m_random{1};
    std::set<int> m_downIds;
    bool m_finiteAtLastPaint = true;
    int m_fillChecks = 0;
};

} // namespace

TEST_F(HostileInputTest, RandomMessagesKeepTheStateSound) {
    const char* full = std::getenv("KOVRIN_FULL");
    const int messages = full && *full && std::string(full) != "0" ? 200000 : 6000;
    CreateWindowUnderTest();
    fakes::recordCalls = false;
    for (unsigned seed : {1u, 2u, 3u}) {
        m_random.seed(seed);
        for (int i = 0; i < messages / 3; i++) {
            RandomMessage();
            CheckInvariants(i);
            // Every 40 messages, and whenever the scale enters or leaves the finite range.
            bool finite = std::isfinite(g_shape.m_scale);
            if (i % 40 == 39 || finite != m_finiteAtLastPaint)
                PaintRectangle(i);
            if (HasFatalFailure())
                return;
        }
    }
    PaintRectangle(messages);
    EXPECT_GT(m_fillChecks, 0); // the pixel check did run
    RecordProperty("rectangle_fills_checked", m_fillChecks);
}

TEST_F(HostileInputTest, RectangleOfNoFiniteScaleStillPaints) {
    CreateWindowUnderTest();
    Send(WM_COMMAND, IDM_GESTURE);
    // 900 x 850, panned from (900, 850) to (400, 350).
    Send(WM_SIZE, 0, MAKELPARAM(1800, 1700));
    fakes::gestureInfo = fakes::GestureAtClient(m_hwnd, GID_PAN, GF_BEGIN, 600, 600);
    Send(WM_GESTURE, 0, 1);
    fakes::gestureInfo = fakes::GestureAtClient(m_hwnd, GID_PAN, 0, 100, 100);
    Send(WM_GESTURE, 0, 2);
    // Each begin takes a new reference, so the factors of 2^64 - 1 pile up.
    for (int i = 0; i < 20 && std::isfinite(g_shape.m_scale); i++)
        Zoom(1, ~0ull);
    ASSERT_EQ(g_shape.m_scale, INFINITY);
    PaintRectangle(1);
    Zoom(1, 0); // infinity times 0
    ASSERT_TRUE(std::isnan(g_shape.m_scale));
    PaintRectangle(2);
    EXPECT_EQ(m_fillChecks, 1); // drawn at the smallest scale: half sizes 22 and 21
}

TEST_F(HostileInputTest, MissingFilesLeaveEveryOtherFeatureWorking) {
    // A working directory where no file can be made: each name is a directory.
    CreateDirectoryA("touch.log", nullptr);
    CreateDirectoryA("logdump.txt", nullptr);
    CreateDirectoryA("picture", nullptr);
    CreateWindowUnderTest();
    EXPECT_FALSE(g_touchLog.is_open());

    POINT origin = {0, 0};
    ClientToScreen(m_hwnd, &origin);
    fakes::touchInputs = {fakes::TouchAt(5, TOUCHEVENTF_DOWN, origin.x + 150, origin.y + 150)};
    Send(WM_TOUCH, MAKEWPARAM(1, 0), 0x5);
    EXPECT_EQ(g_slotContact[0], 5);
    EXPECT_EQ(PixelAt(150, 150), g_contactColors[0]); // the stroke is drawn

    Send(WM_COMMAND, IDM_DUMP_START);
    EXPECT_EQ(g_dumpFile, nullptr);
    Send(WM_HOTKEY, 3, MAKELPARAM(MOD_CONTROL, 'S'));
    EXPECT_TRUE(GetFileAttributesA("picture") & FILE_ATTRIBUTE_DIRECTORY);

    Send(WM_COMMAND, IDM_TOUCH);
    EXPECT_EQ(g_touchMode, 1);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    EXPECT_STREQ(g_mouseText, L"WM_MOUSEMOVE ( 10, 20)");
}
