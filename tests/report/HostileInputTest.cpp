// Whatever the bytes: seeded random logs built from kovrin's lines, their
// mutations and junk, checked against what must hold for any input; and a
// gigabyte line without a line break read in bounded memory.
#include "ReportTestSupport.h"
#include "report/write/Json.h"
#include "report/write/Summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sys/resource.h>

using namespace report;
using namespace reporttest;

namespace {

// `wide`: some positions anywhere in int32 (a coverage grid at its cap).
std::string RandomLog(std::mt19937& rng, bool wide) {
    auto pick = [&](int n) { return (int)(rng() % (unsigned)n); };
    std::string log;
    int lines = pick(300);
    for (int i = 0; i < lines; i++) {
        std::uint32_t id = (std::uint32_t)pick(6);
        if (pick(50) == 0)
            id = rng();
        std::int32_t x = pick(2000) - 100, y = pick(1200) - 100;
        if (wide && pick(40) == 0)
            x = (std::int32_t)rng();
        std::string line;
        switch (pick(5)) {
        case 0:
            line = Count(pick(20) == 0 ? 65535 : pick(17));
            break;
        case 1:
            line = Down(id, x, y);
            break;
        case 2:
            line = Up(id, x, y);
            break;
        default:
            line = Move(id, x, y);
        }
        switch (pick(12)) {
        case 0: // a byte changed
            line[(std::size_t)pick((int)line.size())] = (char)rng();
            break;
        case 1: // cut short
            line.resize((std::size_t)pick((int)line.size()));
            break;
        case 2: // LF only
            line.erase(line.size() - 2, 1);
            break;
        case 3: { // junk, NULs included
            line.assign((std::size_t)pick(600), '\0');
            for (char& c : line)
                c = pick(3) ? (char)rng() : '\0';
            break;
        }
        default:
            break;
        }
        log += line;
    }
    return log;
}

void CheckInvariants(const std::string& log, const Report& r) {
    std::uint64_t newlines = (std::uint64_t)std::count(log.begin(), log.end(), '\n');
    EXPECT_EQ(r.input.lines, newlines);
    EXPECT_EQ(r.input.cutOff, !log.empty() && log.back() != '\n');
    EXPECT_LE(r.input.badLines, r.input.lines);
    std::uint64_t strokePoints = 0, covered = 0;
    for (const Stroke& s : r.strokes) {
        strokePoints += s.points;
        EXPECT_GE(s.points, 1u);
        EXPECT_LE(s.firstLine, s.lastLine);
        EXPECT_LE(s.drawn.size(), s.points);
        EXPECT_GE(s.lengthPx, 0.0);
        EXPECT_LE(s.maxStepPx, s.lengthPx);
    }
    EXPECT_EQ(r.omittedStrokes, 0u);
    EXPECT_EQ(strokePoints + r.ghosts, r.inputs); // every input is a point of a stroke or a ghost
    const Coverage& c = r.coverage;
    EXPECT_EQ(c.counts.size(), (std::size_t)c.columns * c.rows);
    for (std::uint64_t n : c.counts)
        covered += n;
    EXPECT_EQ(covered, strokePoints);
    EXPECT_EQ((std::size_t)std::count(c.counts.begin(), c.counts.end(), 0u), c.emptyCells.size());
    EXPECT_TRUE(std::is_sorted(r.anomalies.begin(), r.anomalies.end(),
                               [](const Anomaly& a, const Anomaly& b) { return a.line < b.line; }));
}

} // namespace

TEST(HostileInputTest, RandomLogsKeepEveryInvariantAndFormatValidJson) {
    std::mt19937 rng(20240612);
    for (int round = 0; round < 400; round++) {
        std::string log = RandomLog(rng, round % 10 == 0);
        Options o;
        o.cellPx = 1 + (int)(rng() % 100);
        o.maxGapPx = 50;
        o.maxJitterPx = 2;
        o.maxDeviationPx = 1;
        if (round % 2)
            o.pxPerMm = 3.7;
        Report r = Analyse(log, o);
        CheckInvariants(log, r);
        std::string json = FormatJson(r, o, Judge(r, o));
        EXPECT_EQ(JsonSyntaxError(json), "") << json;
        EXPECT_EQ(json.find("nan"), std::string::npos);
        EXPECT_EQ(json.find("inf"), std::string::npos);
        EXPECT_FALSE(FormatSummary(r, o, Judge(r, o), "touch.log").empty());
        if (HasFailure())
            FAIL() << "round " << round;
    }
}

TEST(HostileInputTest, NamedCasesEmptyNulsAndJunk) {
    Report r = Analyse("");
    CheckInvariants("", r);
    std::string nuls(1000, '\0');
    CheckInvariants(nuls, Analyse(nuls));
    std::string lines = std::string(10, '\0') + "\n" + Count(1) + "\n\n\r\n";
    r = Analyse(lines);
    CheckInvariants(lines, r);
    EXPECT_EQ(r.input.badLines, 4u);
}

namespace {

// An endless line: a gigabyte of 'a' with no line break, made on the fly.
ssize_t ReadEndless(void* cookie, char* buffer, size_t size) {
    std::uint64_t& left = *static_cast<std::uint64_t*>(cookie);
    size_t n = (size_t)std::min<std::uint64_t>(left, size);
    std::fill(buffer, buffer + n, 'a');
    left -= n;
    return (ssize_t)n;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(HostileInputTest, AGigabyteLineWithoutBreakIsReadInBoundedMemory) {
    std::uint64_t left = (std::uint64_t)1 << 30;
    cookie_io_functions_t io{ReadEndless, nullptr, nullptr, nullptr};
    std::FILE* f = fopencookie(&left, "r", io);
    ASSERT_NE(f, nullptr);
    long before = PeakKilobytes();
    Report r = Analyse(f, Options());
    long after = PeakKilobytes();
    std::fclose(f);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(r.input.lines, 0u);
    EXPECT_TRUE(r.input.cutOff);
    EXPECT_LT(after - before, 64 * 1024); // kB: the line is never held
}
