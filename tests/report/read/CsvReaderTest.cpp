// touch.csv: kovrin's rows with every column, what is not one, and the same
// session read from touch.log and from touch.csv.
#include "ReportTestSupport.h"
#include "report/read/CsvReader.h"

#include <gtest/gtest.h>

#include <random>

using namespace report;
using namespace reporttest;

namespace {

const char* Parse(const std::string& row, CsvRow& out) {
    return ParseCsvRow(row.data(), row.data() + row.size(), out);
}

} // namespace

TEST(CsvReaderTest, ParsesEveryColumnOfKovrinsRows) {
    CsvRow r;
    ASSERT_EQ(
        Parse("12,3,17,MOVE,4294967295,-5,7,-550,799,14,4294967295,123456789012,1250,1300,65538,1920,1080",
              r),
        nullptr);
    EXPECT_EQ(r.message, 12u);
    EXPECT_EQ(r.input, 3u);
    EXPECT_EQ(r.announced, 17u);
    EXPECT_TRUE(r.hasPhase);
    EXPECT_EQ(r.phase, Phase::Move);
    EXPECT_EQ(r.id, 4294967295u);
    EXPECT_EQ(r.x, -5);
    EXPECT_EQ(r.y, 7);
    EXPECT_EQ(r.screenX, -550);
    EXPECT_EQ(r.screenY, 799);
    EXPECT_EQ(r.slot, 14);
    EXPECT_EQ(r.timeMs, 4294967295u);
    EXPECT_EQ(r.receivedUs, 123456789012u);
    EXPECT_TRUE(r.sized);
    EXPECT_EQ(r.contactW, 1250u);
    EXPECT_EQ(r.contactH, 1300u);
    EXPECT_EQ(r.flags, 65538u);
    EXPECT_EQ(r.clientW, 1920);
    EXPECT_EQ(r.clientH, 1080);

    ASSERT_EQ(Parse("1,0,1,-,7,1,2,150,250,-1,0,0,,,0,800,600", r), nullptr);
    EXPECT_FALSE(r.hasPhase);
    EXPECT_FALSE(r.sized);
    EXPECT_EQ(r.slot, -1);
}

TEST(CsvReaderTest, RejectsWhatKovrinDoesNotWriteSayingWhy) {
    CsvRow r;
    const std::string tail = ",7,1,2,150,250,0,5,9,,,0,800,600";
    EXPECT_STREQ(Parse("0,0,1,DOWN" + tail, r), "malformed message");
    EXPECT_STREQ(Parse("1,0,65536,DOWN" + tail, r), "malformed announced");
    EXPECT_STREQ(Parse("1,0,1,Down" + tail, r), "malformed event");
    EXPECT_STREQ(Parse("\"1\",0,1,DOWN" + tail, r), "malformed message");
    EXPECT_STREQ(Parse("1,0,1,DOWN,7,1,2,150,250,15,5,9,,,0,800,600", r), "malformed slot");
    EXPECT_STREQ(Parse("1,0,1,DOWN,7,1,2,150,250,0,5,9,12,,0,800,600", r), "malformed contact size");
    EXPECT_STREQ(Parse("1,0,1,DOWN" + tail + ",1", r), "more than 17 fields");
    EXPECT_STREQ(Parse("1,0,1,DOWN,7,1,2,150,250,0,5", r), "malformed time_ms");
    EXPECT_STREQ(Parse("1,0,1,DOWN,7,1,2,150,250,0,12345a789,9,,,0,800,600", r), "malformed time_ms");

    // Its header names it; any other first line starting so is not kovrin's.
    std::string row = "1,0,1,DOWN" + tail + "\r\n";
    Report good = Analyse(std::string(TOUCH_CSV_COLUMNS) + "\r\n" + row);
    EXPECT_EQ(good.input.format, InputFormat::TouchCsv);
    EXPECT_EQ(good.input.badLines, 0u);
    EXPECT_EQ(good.inputs, 1u);
    Report odd = Analyse("message,input\r\n" + row);
    EXPECT_EQ(odd.input.firstBadLine, 1u);
    EXPECT_STREQ(odd.input.firstBadWhy, "not kovrin's touch.csv header");
}

TEST(CsvReaderTest, TheSameSessionReadFromEitherFileGivesTheSameCountsSlotsAndAnomalies) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; round++) {
        std::string log;
        CCsv csv;
        for (int m = 0; m < 200; m++) {
            int inputs = 1 + (int)(rng() % 4), announced = inputs + (rng() % 20 == 0);
            log += Count(announced);
            csv.Message(announced);
            for (int i = 0; i < inputs; i++) {
                std::uint32_t id = rng() % 6;
                std::int32_t x = (std::int32_t)(rng() % 1920), y = (std::int32_t)(rng() % 1080);
                static const char* const EVENTS[] = {"DOWN", "MOVE", "MOVE", "UP", "-"};
                const char* event = EVENTS[rng() % 5];
                csv.Input(event, id, 100 * x, 100 * y, 8 * (std::uint32_t)m);
                if (event[0] == 'D')
                    log += Down(id, x, y);
                else if (event[0] == 'M')
                    log += Move(id, x, y);
                else if (event[0] == 'U')
                    log += Up(id, x, y);
            }
            if (rng() % 30 == 0 && m < 199) { // a message that announced nothing
                log += Count(0);
                csv.Message(0);
            }
        }
        Report a = Analyse(log), b = Analyse(csv.Text());
        EXPECT_EQ(a.messages, b.messages);
        EXPECT_EQ(a.inputs, b.inputs);
        EXPECT_EQ(a.maxContacts, b.maxContacts);
        EXPECT_EQ(a.droppedMessages, b.droppedMessages);
        EXPECT_EQ(a.droppedInputs, b.droppedInputs);
        EXPECT_EQ(a.stuck, b.stuck);
        EXPECT_EQ(a.ghosts, b.ghosts);
        EXPECT_EQ(a.redowns, b.redowns);
        EXPECT_EQ(a.singlePoints, b.singlePoints);
        ASSERT_EQ(a.strokes.size(), b.strokes.size());
        for (std::size_t i = 0; i < a.strokes.size(); i++) {
            EXPECT_EQ(a.strokes[i].id, b.strokes[i].id) << i;
            EXPECT_EQ(a.strokes[i].slot, b.strokes[i].slot) << i;
            EXPECT_EQ(a.strokes[i].points, b.strokes[i].points) << i;
            EXPECT_EQ(a.strokes[i].lengthPx, b.strokes[i].lengthPx) << i;
        }
        ASSERT_EQ(a.anomalies.size(), b.anomalies.size());
        for (std::size_t i = 0; i < a.anomalies.size(); i++)
            EXPECT_EQ(a.anomalies[i].kind, b.anomalies[i].kind) << i;
        if (HasFailure())
            FAIL() << "round " << round;
    }
}
