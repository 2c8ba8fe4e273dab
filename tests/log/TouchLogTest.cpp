// "touch.log" and "logdump.txt": exact lines on disk, the cut before the rate,
// and a log that is complete while the program runs.
#include "app/AppState.h"
#include "log/TouchLog.h"
#include "support/TouchFixture.h"

namespace {

const DWORD DOWN = TOUCHEVENTF_DOWN;
const DWORD MOVE = TOUCHEVENTF_MOVE;
const DWORD UP = TOUCHEVENTF_UP;

using TouchLogTest = TouchWindowTest;

// Reads the file through a handle of its own, opened for reading and writing
// alongside the program's stream; empty if that open is refused.
std::string ReadShared(const wchar_t* path) {
    HANDLE h = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<not shared>";
    std::string text(4096, '\0');
    DWORD got = 0;
    ReadFile(h, &text[0], (DWORD)text.size(), &got, nullptr);
    CloseHandle(h);
    text.resize(got);
    return text;
}

} // namespace

TEST(TouchLogFormatTest, LinesKeepTheirOwnSpacing) {
    char line[TOUCH_LOG_LINE_BYTES];
    EXPECT_EQ(FormatTouchCountLine(line, 2), 16);
    EXPECT_STREQ(line, "Touch count = 2\n");
    FormatTouchCountLine(line, -7);
    EXPECT_STREQ(line, "Touch count = -7\n");
    FormatTouchInputLine(line, DOWN, 7, 301, 145);
    EXPECT_STREQ(line, "DOWN id =7, x = 301, y =145\n");
    FormatTouchInputLine(line, MOVE, 0, 0, -20);
    EXPECT_STREQ(line, "MOVE id =0, x = 0, y =-20\n");
    int n = FormatTouchInputLine(line, UP, 4294967295u, -2147483647 - 1, 2147483647);
    EXPECT_STREQ(line, "UP   id =4294967295, x = -2147483648, y =2147483647\n");
    EXPECT_EQ(n, (int)strlen(line));
    EXPECT_LT(n, TOUCH_LOG_LINE_BYTES);
}

TEST_F(TouchLogTest, MessageWritesCountAndInputLinesToBothLogs) {
    {
        FILE* old = fopen("touch.log", "w");
        fputs("from an earlier run\n", old);
        fclose(old);
    }
    CreateWindowUnderTest();
    EXPECT_EQ(TouchLogText(), "");
    StartDump();
    SendTouch({At(7, DOWN, 301, 145), At(4294967295u, DOWN, 10, 20)});
    g_eventRate[0] = 12;
    SendTouch({At(7, MOVE, 305, 150)});
    SendTouch({At(7, UP, 306, 151)});
    EXPECT_EQ(TouchLogText(), "Touch count = 2\r\n"
                              "DOWN id =7, x = 301, y =145\r\n"
                              "DOWN id =4294967295, x = 10, y =20\r\n"
                              "Touch count = 1\r\n"
                              "MOVE id =7, x = 305, y =150\r\n"
                              "Touch count = 1\r\n"
                              "UP   id =7, x = 306, y =151\r\n");
    StopDump();
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "WM_TOUCH Count = 2\r\n"
                                            "WM_TOUCH0 (DOWN id=7 301, 145)\r\n"
                                            "WM_TOUCH1 (DOWN id=-1 10, 20)\r\n"
                                            "WM_TOUCH Count = 1\r\n"
                                            "WM_TOUCH0 (MOVE id=7 305, 150)\r\n"
                                            "WM_TOUCH Count = 1\r\n"
                                            "WM_TOUCH0 (UP id=7 306, 151)\r\n");
    // Converted lines keep their rate in the status text itself.
    EXPECT_STREQ(g_contactText[0], L"WM_TOUCH0 (UP id=7 306, 151)(Rate=12)");
}

TEST_F(TouchLogTest, OversizedMessageAnnouncesItsOwnCountAndLogsTheFirstFifteen) {
    CreateWindowUnderTest();
    StartDump();
    std::vector<TOUCHINPUT> inputs;
    std::string log = "Touch count = 17\r\n";
    std::string dump = "WM_TOUCH Count = 17\r\n";
    for (int i = 0; i < 17; i++) {
        inputs.push_back(At(50 + i, DOWN, 10 + i, 20));
        if (i < SLOT_COUNT) {
            std::string id = std::to_string(50 + i), x = std::to_string(10 + i);
            log += "DOWN id =" + id + ", x = " + x + ", y =20\r\n";
            dump += "WM_TOUCH" + std::to_string(i) + " (DOWN id=" + id + " " + x + ", 20)\r\n";
        }
    }
    SendTouch(inputs);
    StopDump();
    EXPECT_EQ(TouchLogText(), log);
    EXPECT_EQ(ReadFileBytes("logdump.txt"), dump);
}

TEST_F(TouchLogTest, InputWithoutPhaseIsDumpedWithItsOldTextOnly) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 10, 10)});
    StartDump();
    SendTouch({At(1, TOUCHEVENTF_INRANGE, 11, 10), At(2, TOUCHEVENTF_INRANGE, 12, 10)});
    StopDump();
    EXPECT_EQ(TouchLogText(), "Touch count = 1\r\nDOWN id =1, x = 10, y =10\r\nTouch count = 2\r\n");
    // Row 1 was never formatted: it is dumped whole, as an empty line.
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "WM_TOUCH Count = 2\r\nWM_TOUCH0 (DOWN id=1 10, 10)\r\n\r\n");
}

TEST_F(TouchLogTest, FailedFetchAndClosedDumpWriteNothing) {
    CreateWindowUnderTest();
    SendTouch({At(1, DOWN, 10, 10)});
    StartDump();
    fakes::touchInputInfoFails = true;
    SendTouch({At(1, MOVE, 11, 10)});
    StopDump();
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "");
    fakes::touchInputInfoFails = false;
    SendTouch({At(1, MOVE, 12, 10)});
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "");
    EXPECT_EQ(TouchLogText(), "Touch count = 1\r\nDOWN id =1, x = 10, y =10\r\n"
                              "Touch count = 1\r\nMOVE id =1, x = 12, y =10\r\n");
}

TEST_F(TouchLogTest, DumpRestartKeepsOnlyTheNewEvents) {
    CreateWindowUnderTest();
    StartDump();
    SendTouch({At(1, DOWN, 10, 10)});
    StopDump();
    StartDump();
    SendTouch({At(1, MOVE, 20, 10)});
    StopDump();
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "WM_TOUCH Count = 1\r\nWM_TOUCH0 (MOVE id=1 20, 10)\r\n");
}

TEST_F(TouchLogTest, TouchLogIsCompleteOnDiskAndSharedWhileOpen) {
    CreateWindowUnderTest();
    ASSERT_TRUE(g_touchLog.is_open());
    EXPECT_EQ(ReadShared(L"touch.log"), "");
    SendTouch({At(3, DOWN, 1, 2)});
    EXPECT_EQ(ReadShared(L"touch.log"), "Touch count = 1\r\nDOWN id =3, x = 1, y =2\r\n");
    SendTouch({At(3, UP, 4, 5), At(6, MOVE, 7, 8)});
    EXPECT_EQ(ReadShared(L"touch.log"),
              "Touch count = 1\r\nDOWN id =3, x = 1, y =2\r\n"
              "Touch count = 2\r\nUP   id =3, x = 4, y =5\r\nMOVE id =6, x = 7, y =8\r\n");
}
