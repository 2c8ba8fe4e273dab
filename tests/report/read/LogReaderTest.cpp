// The reader: kovrin's line forms, CR LF and LF, a cut-off last line, lines
// across chunk boundaries, overlong and malformed lines with their numbers.
#include "ReportTestSupport.h"
#include "report/read/LogReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace report;
using namespace reporttest;

namespace {

const char* Parse(const std::string& line, LogLine& out) {
    return ParseLine(line.data(), line.data() + line.size(), out);
}

struct Fed {
    std::vector<std::pair<std::uint64_t, std::string>> lines;
    std::vector<std::uint64_t> longLines;
    ReadStatus status;
};

Fed Feed(const std::string& bytes) {
    std::FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    Fed fed;
    CLineReader reader;
    fed.status = reader.Read(
        f,
        [&](const char* begin, const char* end, std::uint64_t n) {
            fed.lines.push_back({n, std::string(begin, end)});
        },
        [&](std::uint64_t n) { fed.longLines.push_back(n); });
    std::fclose(f);
    return fed;
}

} // namespace

TEST(LogReaderTest, ParsesEveryLineKindWithItsExtremes) {
    LogLine l;
    ASSERT_EQ(Parse("Touch count = 65535", l), nullptr);
    EXPECT_EQ(l.kind, LineKind::Count);
    EXPECT_EQ(l.count, 65535u);
    ASSERT_EQ(Parse("Touch count = 0", l), nullptr);
    EXPECT_EQ(l.count, 0u);

    ASSERT_EQ(Parse("DOWN id =7, x = 301, y =145", l), nullptr);
    EXPECT_EQ(l.kind, LineKind::Down);
    EXPECT_EQ(l.id, 7u);
    EXPECT_EQ(l.x, 301);
    EXPECT_EQ(l.y, 145);
    ASSERT_EQ(Parse("MOVE id =4294967295, x = -2147483648, y =2147483647", l), nullptr);
    EXPECT_EQ(l.kind, LineKind::Move);
    EXPECT_EQ(l.id, 4294967295u);
    EXPECT_EQ(l.x, INT32_MIN);
    EXPECT_EQ(l.y, INT32_MAX);
    ASSERT_EQ(Parse("UP   id =0, x = -5, y =-1", l), nullptr);
    EXPECT_EQ(l.kind, LineKind::Up);
    EXPECT_EQ(l.id, 0u);
    EXPECT_EQ(l.x, -5);
    EXPECT_EQ(l.y, -1);
}

TEST(LogReaderTest, RejectsAnythingKovrinDoesNotWriteSayingWhy) {
    LogLine l;
    EXPECT_STREQ(Parse("Touch count = 65536", l), "count out of range");
    EXPECT_STREQ(Parse("Touch count = 99999999999", l), "count out of range");
    EXPECT_STREQ(Parse("Touch count = -1", l), "malformed count line");
    EXPECT_STREQ(Parse("Touch count = 3x", l), "malformed count line");
    EXPECT_STREQ(Parse("DOWN id =4294967296, x = 1, y =1", l), "id out of range");
    EXPECT_STREQ(Parse("DOWN id =1, x = 2147483648, y =1", l), "x out of range");
    EXPECT_STREQ(Parse("DOWN id =1, x = 1, y =-2147483649", l), "y out of range");
    EXPECT_STREQ(Parse("DOWN id =-1, x = 1, y =1", l), "malformed input line");
    EXPECT_STREQ(Parse("DOWN id = 1, x = 1, y =1", l), "malformed input line");
    EXPECT_STREQ(Parse("DOWN id =1, x = +1, y =1", l), "malformed input line");
    EXPECT_STREQ(Parse("DOWN id =1, x =1, y =1", l), "malformed input line");
    EXPECT_STREQ(Parse("MOVE id =1, x = 1, y =1 ", l), "malformed input line");
    EXPECT_STREQ(Parse("MOVE id =1, x = 1, y =", l), "malformed input line");
    EXPECT_STREQ(Parse("UP id =1, x = 1, y =1", l), "not a touch.log line");
    EXPECT_STREQ(Parse("Touch count =3", l), "not a touch.log line");
    EXPECT_STREQ(Parse(std::string("DOWN id =1\0, x = 1, y =1", 24), l), "malformed input line");
    EXPECT_STREQ(Parse("", l), "empty line");
}

TEST(LogReaderTest, SplitsCrLfAndLfLinesAndHoldsBackACutOffLast) {
    Fed fed = Feed("Touch count = 1\r\nDOWN id =1, x = 2, y =3\nUP   id =1, x = 2, y =3\r\nMOVE id =1, x");
    ASSERT_EQ(fed.lines.size(), 3u);
    EXPECT_EQ(fed.lines[0], (std::pair<std::uint64_t, std::string>{1, "Touch count = 1"}));
    EXPECT_EQ(fed.lines[1], (std::pair<std::uint64_t, std::string>{2, "DOWN id =1, x = 2, y =3"}));
    EXPECT_EQ(fed.lines[2], (std::pair<std::uint64_t, std::string>{3, "UP   id =1, x = 2, y =3"}));
    EXPECT_EQ(fed.status.lines, 3u);
    EXPECT_TRUE(fed.status.cutOff);

    // A CR alone at the end is the start of a line break cut in two.
    EXPECT_TRUE(Feed("Touch count = 1\r").status.cutOff);
    Fed whole = Feed("Touch count = 1\r\n");
    EXPECT_FALSE(whole.status.cutOff);
    EXPECT_EQ(whole.status.lines, 1u);
}

TEST(LogReaderTest, LinesAcrossChunkBoundariesAndOverlongLinesKeepTheirNumbers) {
    // The second line straddles the first chunk boundary, the fourth (too
    // long, and 1000 bytes of it before) the second one.
    std::string log(CHUNK_BYTES - 12, 'x');
    log += "\r\n";
    log += "DOWN id =1, x = 2, y =3\r\n";
    log += std::string(CHUNK_BYTES - log.size() % CHUNK_BYTES - 1001, 'y') + "\n";
    log += std::string(1300, 'z') + "\r\n";
    log += "UP   id =1, x = 2, y =3\r\n";
    while (log.size() < 3 * CHUNK_BYTES + 1000) // whole lines across the third boundary
        log += "Touch count = 0\r\n";
    std::uint64_t lines = (std::uint64_t)std::count(log.begin(), log.end(), '\n');
    log += std::string(3 * CHUNK_BYTES, 'w'); // cut off, never buffered
    Fed fed = Feed(log);
    EXPECT_EQ(fed.longLines, (std::vector<std::uint64_t>{1, 3, 4}));
    ASSERT_EQ(fed.lines.size(), lines - 3);
    EXPECT_EQ(fed.lines[0], (std::pair<std::uint64_t, std::string>{2, "DOWN id =1, x = 2, y =3"}));
    EXPECT_EQ(fed.lines[1], (std::pair<std::uint64_t, std::string>{5, "UP   id =1, x = 2, y =3"}));
    EXPECT_EQ(fed.lines.back(), (std::pair<std::uint64_t, std::string>{lines, "Touch count = 0"}));
    EXPECT_TRUE(fed.status.cutOff);
    EXPECT_EQ(fed.status.lines, lines);

    // 256 bytes and a CR held over the first boundary are a whole line; 257 bytes are not.
    fed = Feed(std::string(CHUNK_BYTES - 258, 'x') + "\n" + std::string(256, 'a') + "\r\n" +
               std::string(257, 'b') + "\n");
    EXPECT_EQ(fed.longLines, (std::vector<std::uint64_t>{1, 3}));
    ASSERT_EQ(fed.lines.size(), 1u);
    EXPECT_EQ(fed.lines[0].second, std::string(256, 'a'));
}

TEST(LogReaderTest, MalformedLinesAreSkippedWithTheirNumbersAndTheRestAnalysed) {
    std::string log = Count(1) + Down(1, 10, 10) + "garbage\r\n" + Count(1) + Move(1, 20, 10) +
                      std::string(400, '#') + "\n" + Count(1) + Up(1, 30, 10) + "DOWN id =2";
    Report r = Analyse(log);
    EXPECT_EQ(r.input.lines, 8u);
    EXPECT_EQ(r.input.badLines, 2u);
    EXPECT_TRUE(r.input.cutOff);
    EXPECT_EQ(r.input.firstBadLine, 3u);
    ASSERT_EQ(r.diagnostics.size(), 3u);
    EXPECT_EQ(r.diagnostics[0].line, 3u);
    EXPECT_EQ(r.diagnostics[0].text, "skipped: not a touch.log line");
    EXPECT_EQ(r.diagnostics[1].line, 6u);
    EXPECT_EQ(r.diagnostics[1].text, "skipped: line longer than 256 bytes");
    EXPECT_EQ(r.diagnostics[2].line, 9u);
    EXPECT_EQ(r.diagnostics[2].text, "note: cut off mid-line; the line is not analysed");
    ASSERT_EQ(r.strokes.size(), 1u);
    EXPECT_EQ(r.strokes[0].points, 3u);
    EXPECT_EQ(r.strokes[0].lastLine, 8u);
    EXPECT_EQ(r.inputs, 3u);
}

TEST(LogReaderTest, UnusableWhenNothingIsRecognisedOrMoreThanOnePercentIsBad) {
    std::string why;
    std::uint64_t line = 0;
    EXPECT_TRUE(IsUnusable(Analyse("").input, why, line));
    EXPECT_EQ(why, "empty input");
    EXPECT_TRUE(IsUnusable(Analyse(std::string(5000, 'q')).input, why, line));
    EXPECT_EQ(line, 1u);
    EXPECT_TRUE(IsUnusable(Analyse("junk\r\n" + Count(0)).input, why, line));
    EXPECT_EQ(why, "1 of 2 lines malformed, more than 1% (the first here: not a touch.log line)");
    EXPECT_EQ(line, 1u);

    // 1 bad line in 100 holds; 2 do not.
    std::string good;
    for (int i = 0; i < 99; i++)
        good += Count(0);
    EXPECT_FALSE(IsUnusable(Analyse(good + "bad\n").input, why, line));
    EXPECT_TRUE(IsUnusable(Analyse(good + "bad\nbad\n").input, why, line));
    EXPECT_EQ(line, 100u);
    EXPECT_FALSE(IsUnusable(Analyse(Count(0)).input, why, line));
}
