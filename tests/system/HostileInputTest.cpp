// Hostile input: thousands of seeded random messages of every kind the window
// handles, with extreme counts, flags, ids, coordinates and arguments. After
// every message the state must still make sense. This binary's copy of the
// program is built with the undefined-behaviour and bounds checks trapping, so
// an index outside a fixed table or an overflowing sum ends the run.
#include "app/AppState.h"
#include "gesture/GestureEngine.h"
#include "gesture/GestureRect.h"
#include "res/resource.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"
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
            static const UINT modes[] = {IDM_LINE, IDM_TOUCH, IDM_GESTURE};
            Send(WM_COMMAND, modes[m_random() % 3]);
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
        // The scale may leave the finite range only as the arithmetic says;
        // drawing must cope either way, so paint the rectangle now and then.
        if (!std::isfinite(g_shape.m_scale) || !std::isfinite(g_shape.m_angle))
            m_nonFinite++;
    }

    std::mt19937 m_random{1};
    std::set<int> m_downIds;
    int m_nonFinite = 0;
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
            if (HasFatalFailure())
                return;
        }
    }
    // Paint in Gesture mode whatever the rectangle's numbers became.
    Send(WM_COMMAND, IDM_GESTURE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    UpdateWindow(m_hwnd);
    EXPECT_TRUE(IsWindow(m_hwnd));
    RecordProperty("non_finite_rectangle_states", m_nonFinite);
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
