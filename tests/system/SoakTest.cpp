// Endurance: a long session of touch messages in Line and Touch modes with mode
// switches and dumps along the way, then gesture messages; afterwards the logs
// hold exactly the expected lines, drawing still works, memory has not grown
// and no drawing left a GDI object behind. Short by default; KOVRIN_FULL=1
// runs the full length.
#include "app/AppState.h"
#include "gesture/GestureRect.h"
#include "res/resource.h"
#include "support/GdiRecorder.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"
#include "touch/TouchInput.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

bool FullLength() {
    const char* full = std::getenv("KOVRIN_FULL");
    return full && *full && std::string(full) != "0";
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    return pmc.PrivateUsage;
}

class SoakTest : public WindowTest {
protected:
    struct Contact {
        DWORD id;
        POINT at; // client pixels
    };

    // One touch message of random, consistent phases; appends the lines it
    // must produce to the expected logs.
    void SendRandomMessage() {
        POINT origin = {0, 0};
        ClientToScreen(m_hwnd, &origin);
        std::vector<TOUCHINPUT> inputs;
        std::string logLines, dumpLines;
        std::vector<Contact> staying;
        int room = 15;
        // Moves and ups of the contacts that are down, in random order.
        for (const Contact& c : m_down) {
            if (room == 0) {
                staying.push_back(c);
                continue;
            }
            int what = m_random() % 8;
            if (what == 0)
                continue; // not in this message
            Contact moved = {c.id,
                             {(LONG)(c.at.x + m_random() % 7 - 3), (LONG)(c.at.y + m_random() % 7 - 3)}};
            moved.at.x = std::max(30L, std::min(moved.at.x, 700L));
            moved.at.y = std::max(100L, std::min(moved.at.y, 500L));
            DWORD flag = what == 1 ? TOUCHEVENTF_UP : TOUCHEVENTF_MOVE;
            inputs.push_back(fakes::TouchAt(c.id, flag, origin.x + moved.at.x, origin.y + moved.at.y));
            Expect(inputs.size() - 1, flag, moved, logLines, dumpLines);
            if (flag == TOUCHEVENTF_MOVE)
                staying.push_back(moved);
            room--;
        }
        for (const Contact& c : m_down)
            if (std::none_of(inputs.begin(), inputs.end(),
                             [&](const TOUCHINPUT& t) { return t.dwID == c.id; }))
                staying.push_back(c);
        // New contacts, while slots and room last.
        int newOnes = (int)(m_random() % 3);
        for (int i = 0; i < newOnes && room > 0 && staying.size() < 15; i++, room--) {
            Contact c = {m_nextId++, {(LONG)(40 + m_random() % 600), (LONG)(110 + m_random() % 380)}};
            inputs.push_back(fakes::TouchAt(c.id, TOUCHEVENTF_DOWN, origin.x + c.at.x, origin.y + c.at.y));
            Expect(inputs.size() - 1, TOUCHEVENTF_DOWN, c, logLines, dumpLines);
            staying.push_back(c);
        }
        if (inputs.empty())
            return;
        m_down = staying;
        m_inputsSent += inputs.size();
        m_expectedLog += "Touch count = " + std::to_string(inputs.size()) + "\r\n" + logLines;
        if (m_dumping)
            m_expectedDump += "WM_TOUCH Count = " + std::to_string(inputs.size()) + "\r\n" + dumpLines;
        fakes::touchInputs = inputs;
        Send(WM_TOUCH, MAKEWPARAM(inputs.size(), 0), 0x77);
    }

    void Expect(size_t index, DWORD flag, const Contact& c, std::string& log, std::string& dump) {
        const char* phase = flag == TOUCHEVENTF_DOWN ? "DOWN" : flag == TOUCHEVENTF_MOVE ? "MOVE" : "UP";
        std::string x = std::to_string(c.at.x), y = std::to_string(c.at.y), id = std::to_string(c.id);
        log += std::string(flag == TOUCHEVENTF_UP ? "UP  " : phase) + " id =" + id + ", x = " + x +
               ", y =" + y + "\r\n";
        dump +=
            "WM_TOUCH" + std::to_string(index) + " (" + phase + " id=" + id + " " + x + ", " + y + ")\r\n";
    }

    std::mt19937 m_random{20261207};
    std::vector<Contact> m_down;
    DWORD m_nextId = 1;
    std::string m_expectedLog, m_expectedDump;
    bool m_dumping = false;
    size_t m_inputsSent = 0;
};

} // namespace

TEST_F(SoakTest, LongSessionKeepsLogsExactAndResourcesFlat) {
    const int touchMessages = FullLength() ? 200000 : 12000;
    const int gestureMessages = FullLength() ? 50000 : 3000;
    CreateWindowUnderTest();
    ShowWindow(m_hwnd, SW_RESTORE);
    SetWindowPos(m_hwnd, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    PumpMessages(30);
    fakes::recordCalls = false;

    // The expectations grow with the run: their room is taken before measuring.
    m_expectedLog.reserve((size_t)touchMessages * 360);
    m_expectedDump.reserve(4000 * 360);
    // Every drawing of the run is recorded, and each stretch between two pumps
    // must leave no GDI object, selection or DC behind.
    gdirec::Start();
    // Warm up, so one-time allocations of the platform (and the room of the
    // GDI records) do not count as growth.
    for (int i = 0; i < 300; i++)
        SendRandomMessage();
    PumpMessages(20);
    ASSERT_TRUE(gdirec::Balanced()) << "in the warm-up";
    gdirec::Start();
    SIZE_T memoryBefore = PrivateBytes();

    for (int i = 0; i < touchMessages; i++) {
        if (i % 2500 == 1000)
            Send(WM_COMMAND, i % 5000 == 1000 ? IDM_TOUCH : IDM_LINE);
        if (i % 4000 == 500) {
            Send(WM_COMMAND, IDM_DUMP_START);
            ASSERT_NE(g_dumpFile, nullptr);
            m_dumping = true;
            m_expectedDump.clear();
        }
        if (i % 4000 == 3500) {
            Send(WM_COMMAND, IDM_DUMP_STOP);
            m_dumping = false;
            ASSERT_TRUE(SameLines(ReadFileBytes("logdump.txt"), m_expectedDump))
                << "dump ending at message " << i;
        }
        SendRandomMessage();
        if (i % 64 == 0) {
            PumpMessages(0); // paints and timer ticks, as a running program gets them
            ASSERT_TRUE(gdirec::Balanced()) << "by touch message " << i;
            gdirec::Start();
        }
        if (i % 20000 == 0)
            Send(WM_TIMER, RATE_TIMER_ID);
    }
    if (m_dumping)
        Send(WM_COMMAND, IDM_DUMP_STOP);

    Send(WM_COMMAND, IDM_GESTURE);
    std::mt19937 random(7);
    for (int i = 0; i < gestureMessages; i++) {
        int phase = i % 20;
        DWORD id = (i / 20) % 4 == 0   ? GID_ZOOM
                   : (i / 20) % 4 == 1 ? GID_PAN
                   : (i / 20) % 4 == 2 ? GID_ROTATE
                                       : GID_TWOFINGERTAP;
        DWORD flags = phase == 0 ? GF_BEGIN : phase == 19 ? GF_END : 0;
        int x = (int)(200 + random() % 300);
        int y = (int)(200 + random() % 200);
        // Zooms alternate in and out by the same factor, so the rectangle stays on screen.
        bool zoomIn = (i / 80) % 2 == 0;
        ULONGLONG argument = id == GID_ZOOM ? (zoomIn ? 200 + phase * 5 : 290 - phase * 5) : random() % 3000;
        fakes::gestureInfo = fakes::GestureAt(id, flags, x, y, argument);
        Send(WM_GESTURE, 0, 0x99);
        if (i % 16 == 0) {
            UpdateWindow(m_hwnd);
            ASSERT_TRUE(gdirec::Balanced()) << "by gesture message " << i;
            gdirec::Start();
        }
    }
    EXPECT_TRUE(std::isfinite(g_shape.m_scale));
    EXPECT_TRUE(std::isfinite(g_shape.m_angle));

    PumpMessages(30);
    EXPECT_TRUE(gdirec::Balanced()) << "at the end";
    gdirec::Stop();
    SIZE_T memoryAfter = PrivateBytes();
    EXPECT_LT(memoryAfter, memoryBefore + 4 * 1024 * 1024)
        << "memory grew by " << (memoryAfter - memoryBefore);

    // touch.log holds exactly the lines of every message sent.
    EXPECT_TRUE(SameLines(ReadFileBytes("touch.log"), m_expectedLog)) << "touch.log";
    // touch.csv ran all along: its header and a row per input.
    std::string csv = ReadFileBytes("touch.csv");
    EXPECT_EQ((size_t)std::count(csv.begin(), csv.end(), '\n'), 1 + m_inputsSent);

    // Drawing still gives the right colours at the right places.
    Send(WM_COMMAND, IDM_LINE);
    POINT origin = {0, 0};
    ClientToScreen(m_hwnd, &origin);
    std::vector<TOUCHINPUT> ups;
    for (const Contact& c : m_down)
        ups.push_back(fakes::TouchAt(c.id, TOUCHEVENTF_UP, origin.x + c.at.x, origin.y + c.at.y));
    if (!ups.empty()) {
        fakes::touchInputs = ups;
        Send(WM_TOUCH, MAKEWPARAM(ups.size(), 0), 0x77);
    }
    Send(WM_HOTKEY, 1, MAKELPARAM(0, VK_ESCAPE));
    fakes::touchInputs = {fakes::TouchAt(999999, TOUCHEVENTF_DOWN, origin.x + 400, origin.y + 300),
                          fakes::TouchAt(999998, TOUCHEVENTF_DOWN, origin.x + 200, origin.y + 300)};
    Send(WM_TOUCH, MAKEWPARAM(2, 0), 0x77);
    EXPECT_EQ(PixelAt(400, 300), g_contactColors[0]);
    EXPECT_EQ(PixelAt(200, 300), g_contactColors[1]);
    EXPECT_EQ(PixelAt(300, 300), GetSysColor(COLOR_WINDOW)); // erased by Esc
}
