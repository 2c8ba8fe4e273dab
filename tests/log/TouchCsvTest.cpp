// "touch.csv": the rows kovrin writes for scripted records, read back from disk.
#include "log/TouchCsv.h"
#include "support/TouchFixture.h"

#include <fstream>

namespace {
using TouchCsvTest = TouchWindowTest;
using Row = std::vector<std::string>;
} // namespace

TEST(TouchCsvClockTest, MicrosecondsDoNotOverflowInLongRuns) {
    const long long day = 86400;
    EXPECT_EQ(CounterMicroseconds(400 * day * 10000000 + 5, 10000000), 400 * day * 1000000);
    EXPECT_EQ(CounterMicroseconds(3 * day * 3000000000LL + 2999999999LL, 3000000000LL),
              3 * day * 1000000 + 999999);
}

TEST_F(TouchCsvTest, RowsCarryEveryColumnOfTheInputsRead) {
    std::ofstream("touch.csv") << "from an earlier run\n";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    CreateWindowUnderTest();
    // Spelt out as the README documents them: a file read by name keeps its columns.
    EXPECT_EQ(ReadFileBytes("touch.csv"),
              "message,input,announced,event,id,x,y,screen_x,screen_y,slot,time_ms,"
              "received_us,contact_w,contact_h,flags,client_w,client_h\r\n");
    TOUCHINPUT down = At(7, TOUCHEVENTF_DOWN, 301, 145), hover = At(8, TOUCHEVENTF_INRANGE, 10, 20);
    down.x += 37; // sub-pixel
    down.dwTime = 4000000000u;
    down.dwMask = TOUCHINPUTMASKF_CONTACTAREA;
    down.cxContact = 1250;
    down.cyContact = 980;
    hover.cxContact = 500; // not valid: the mask has other bits only
    hover.dwMask = TOUCHINPUTMASKF_TIMEFROMSYSTEM;
    Sleep(30);
    fakes::recordWrites = true;
    SendTouch({down, hover});
    fakes::recordWrites = false;
    QueryPerformanceCounter(&now);
    fakes::touchInputInfoFails = true; // read nothing: no rows, not counted
    SendTouch({At(7, TOUCHEVENTF_MOVE, 1, 1)});
    fakes::touchInputInfoFails = false;
    SendTouch({At(9, TOUCHEVENTF_MOVE, 50, 60), At(7, TOUCHEVENTF_UP, 302, 146)});

    std::vector<Row> rows = CsvRows("touch.csv");
    ASSERT_EQ(rows.size(), 4u);
    long long received = std::stoll(rows[0][11]);
    EXPECT_GE(received, 30000);
    EXPECT_LE(received, (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    rows[0][11] = rows[1][11] = "*";
    RECT client = ClientRect();
    std::string width = std::to_string(client.right), height = std::to_string(client.bottom);
    EXPECT_EQ(rows[0],
              (Row{"1", "0", "2", "DOWN", "7", "301", "145", std::to_string(down.x), std::to_string(down.y),
                   "0", "4000000000", "*", "1250", "980", "2", width, height}));
    EXPECT_EQ(rows[1], (Row{"1", "1", "2", "-", "8", "10", "20", std::to_string(hover.x),
                            std::to_string(hover.y), "-1", "0", "*", "", "", "8", width, height}));
    // A MOVE of an unknown contact uses the lowest free slot; the UP its own.
    EXPECT_EQ(rows[2][0] + rows[2][3] + rows[2][9], "2MOVE1");
    EXPECT_EQ(rows[3][1] + rows[3][3] + rows[3][9], "1UP0");
    // The first message's rows went out in one write (touch.log's lines end in LF alone).
    std::string text = ReadFileBytes("touch.csv");
    size_t first = text.find("\r\n") + 2, third = text.find("\r\n2,") + 2;
    std::vector<std::string> csvWrites;
    for (const std::string& w : fakes::writes)
        if (w.find("\r\n") != std::string::npos)
            csvWrites.push_back(w);
    EXPECT_EQ(csvWrites, std::vector<std::string>{text.substr(first, third - first)});
}

TEST_F(TouchCsvTest, OversizedMessageGivesFifteenRowsOfTheLongestForm) {
    CreateWindowUnderTest();
    TOUCHINPUT t = At(0, 0xFFFFFFFF, 0, 0); // every flag: DOWN
    t.x = t.y = -2147483647 - 1;
    t.dwTime = t.dwMask = t.cxContact = t.cyContact = 0xFFFFFFFF;
    std::vector<TOUCHINPUT> inputs(17, t);
    for (int i = 0; i < 17; i++)
        inputs[i].dwID = 4294967294u - i;
    SendTouch(inputs);
    std::vector<Row> rows = CsvRows("touch.csv");
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[14], (Row{"1", "14", "17", "DOWN", "4294967280", rows[14][5], rows[14][6], "-2147483648",
                             "-2147483648", "14", "4294967295", rows[14][11], "4294967295", "4294967295",
                             "4294967295", rows[14][15], rows[14][16]}));
}

TEST_F(TouchCsvTest, FileHeldWithoutSharingIsLeftAloneAndKovrinRunsOn) {
    HANDLE held = CreateFileW(L"touch.csv", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CreateWindowUnderTest();
    SendTouch({At(1, TOUCHEVENTF_DOWN, 10, 10)});
    CloseHandle(held);
    SendTouch({At(1, TOUCHEVENTF_UP, 12, 10)});
    EXPECT_EQ(ReadFileBytes("touch.csv"), "");
    EXPECT_EQ(TouchLogText(), "Touch count = 1\r\nDOWN id =1, x = 10, y =10\r\n"
                              "Touch count = 1\r\nUP   id =1, x = 12, y =10\r\n");
}
