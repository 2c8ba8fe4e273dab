// The command line and the built program's exit codes and messages, run as a
// child process.
#include "ReportTestSupport.h"
#include "report/CommandLine.h"
#include "report/judge/Figures.h"
#include "report/write/Summary.h"

#include "KovrinVersion.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace report;
using namespace reporttest;

namespace {

// Contact 9 stays within 5 px of its DOWN (jitter 5); contact 3 draws a
// straight line.
std::string GoodLog() {
    std::string log =
        Count(1) + Down(9, 500, 500) + Count(1) + Move(9, 503, 504) + Count(1) + Up(9, 495, 500);
    log += Count(1) + Down(3, 0, 0);
    for (int x = 10; x < 200; x += 10)
        log += Count(1) + Move(3, x, 0);
    return log + Count(1) + Up(3, 200, 0);
}

std::string ParseArgs(std::vector<const char*> args, CommandLine& cl) {
    cl = CommandLine();
    return ParseCommandLine((int)args.size(), args.data(), cl);
}

} // namespace

TEST(CommandLineTest, LengthsInPixelsOrMmResolvedWhereverPxPerMmComes) {
    CommandLine cl;
    ASSERT_EQ(
        ParseArgs({"--max-gap=3px", "--max-deviation", "1.5mm", "--cell", "25", "--min-line-length", "2mm",
                   "--stationary-extent", "7", "touch.log", "--px-per-mm", "10", "--json", "a.json"},
                  cl),
        "");
    EXPECT_EQ(cl.input, "touch.log");
    EXPECT_EQ(cl.jsonPath, "a.json");
    EXPECT_EQ(*cl.options.maxGapPx, 3.0);
    EXPECT_EQ(*cl.options.maxDeviationPx, 15.0);
    EXPECT_FALSE(cl.options.maxJitterPx);
    EXPECT_EQ(cl.options.cellPx, 25);
    EXPECT_EQ(cl.options.minLineLengthPx, 20.0);
    EXPECT_EQ(cl.options.stationaryExtentPx, 7.0);

    EXPECT_EQ(ParseArgs({"--", "-odd name"}, cl), "");
    EXPECT_EQ(cl.input, "-odd name");
    EXPECT_EQ(ParseArgs({"-"}, cl), "");
    EXPECT_EQ(cl.input, "-");

    EXPECT_EQ(ParseArgs({"--max-jitter", "-1", "x"}, cl),
              "--max-jitter: '-1' is not a length (pixels, or mm with an mm suffix)");
    EXPECT_EQ(ParseArgs({"--max-jitter", "nan", "x"}, cl),
              "--max-jitter: 'nan' is not a length (pixels, or mm with an mm suffix)");
    EXPECT_EQ(ParseArgs({"--px-per-mm", "0", "x"}, cl), "--px-per-mm: '0' is not a positive number");
    EXPECT_EQ(ParseArgs({"--cell", "2.5", "x"}, cl),
              "--cell: '2.5' is not a whole number of pixels from 1 to 1000000000");
    EXPECT_EQ(ParseArgs({"--cell", "0", "x"}, cl),
              "--cell: '0' is not a whole number of pixels from 1 to 1000000000");
    EXPECT_EQ(ParseArgs({"x", "--json"}, cl), "--json needs a value");
    EXPECT_EQ(ParseArgs({"x", "y"}, cl), "more than one input given: 'x' and 'y'");
}

TEST(CommandLineTest, ExitsZeroWhenThresholdsHoldAndOneNamingTheContactThatFails) {
    CTempDir dir;
    std::string log = dir.Write("touch.log", GoodLog());

    RunResult r = RunReport({log});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("kovrin-report: " + log + "\n", 0), 0u);
    EXPECT_NE(r.out.find("Verdict: no thresholds given"), std::string::npos);

    r = RunReport({"--max-jitter", "5", "--max-gap", "10", "--max-deviation", "0", log});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Verdict: PASS, every threshold holds"), std::string::npos);

    r = RunReport({log, "--max-jitter", "0.5mm", "--px-per-mm", "4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(
        r.out.find("FAIL jitter of contact 9 (stroke 1, down at line 2): 5.000 px (1.250 mm) over the limit "
                   "2.000 px (0.500 mm) by 3.000 px (0.750 mm)"),
        std::string::npos)
        << r.out;

    // Standard input, JSON and page files; a JSON file left by an earlier run is replaced.
    dir.Write("r.json", "stale");
    r = RunReport({"-", "--json", dir.Path("r.json"), "--html", dir.Path("r.html"), "--max-gap", "9.9"}, log);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.rfind("kovrin-report: <stdin>\n", 0), 0u);
    EXPECT_EQ(r.out.find("FAIL gap of contact 9"), std::string::npos); // 8.944 px at most
    EXPECT_NE(r.out.find("FAIL gap of contact 3"), std::string::npos);
    std::string json = ReadFile(dir.Path("r.json"));
    EXPECT_EQ(JsonSyntaxError(json), "");
    EXPECT_NE(json.find(R"("strokes": 2)"), std::string::npos);
    EXPECT_NE(
        json.find(R"({"figure": "gap", "stroke": 1, "item": null, "value_px": 10.000, "limit_px": 9.900})"),
        std::string::npos);
    EXPECT_EQ(ReadFile(dir.Path("r.html")).rfind("<!DOCTYPE html>", 0), 0u);
}

TEST(CommandLineTest, WarnsOfSkippedLinesWithFileAndLineOnStandardError) {
    CTempDir dir;
    std::string log = GoodLog();
    for (int i = 0; i < 100; i++)
        log += Count(0);
    std::string path = dir.Write("touch.log", log.substr(0, 17) + "x" + log.substr(17) + "UP   id =");
    RunResult r = RunReport({path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, path + ":2: skipped: not a touch.log line\n" + path +
                         ":149: note: cut off mid-line; the line is not analysed\n");
}

// Past the strokes the report lists and the warnings it prints, the exit code
// and the counts still see everything.
TEST(CommandLineTest, ALongLogStillFailsOnItsLastStrokeAndCountsWhatItDoesNotList) {
    std::string log(MAX_DIAGNOSTICS + 1, '\n'); // one warning more than are printed
    const std::uint32_t strokes = (std::uint32_t)MAX_KEPT_STROKES + 3;
    for (std::uint32_t id = 0; id < strokes; id++)
        log += Down(id, 0, 0) + Up(id, id + 1 == strokes ? 50 : 5, 0); // the last one a gap
    CTempDir dir;
    std::string path = dir.Write("touch.log", log);
    RunResult r =
        RunReport({path, "--max-gap", "10", "--json", dir.Path("r.json"), "--html", dir.Path("r.html")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("FAIL gap of contact " + std::to_string(strokes - 1)), std::string::npos);
    EXPECT_NE(r.out.find("  ... and " + std::to_string(strokes - SUMMARY_MAX_ROWS) + " more, not listed"),
              std::string::npos);
    EXPECT_NE(ReadFile(dir.Path("r.json")).find(R"("contacts_omitted": 2, "anomalies_omitted": 0)"),
              std::string::npos);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), (long)MAX_DIAGNOSTICS + 1);
    EXPECT_NE(r.err.find("\n" + path + ": 1 more warnings not shown\n"), std::string::npos);
    EXPECT_NE(ReadFile(dir.Path("r.html")).find("1 more warning past the first 100 left out"),
              std::string::npos);
}

TEST(CommandLineTest, ExitsTwoWithOneMessageForBadOptionsAndUnusableInput) {
    CTempDir dir;
    std::string good = dir.Write("good.log", GoodLog());
    auto expectTwo = [](const RunResult& r, const std::string& message) {
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_EQ(r.err, "kovrin-report: " + message + "\n");
        EXPECT_EQ(r.out, "");
    };
    expectTwo(RunReport({good, "--max-jitter", "0.5mm"}),
              "--max-jitter: a length in mm needs --px-per-mm (see --help)");
    expectTwo(RunReport({"--colour", good}), "unknown option '--colour' (see --help)");
    expectTwo(RunReport({}), "no touch.log given (see --help)");
    expectTwo(RunReport({dir.Path("missing.log")}),
              dir.Path("missing.log") + ": cannot open: No such file or directory");

    expectTwo(RunReport({dir.Write("empty.log", "")}),
              dir.Path("empty.log") + ": unusable input: empty input");
    std::string junk("\x7f"
                     "ELF\0\0\x01\x02\n\xff\xfe\n",
                     12);
    expectTwo(RunReport({"-"}, dir.Write("junk.log", junk)),
              "<stdin>:1: unusable input: no touch.log line recognised (not a touch.log line)");
    expectTwo(RunReport({dir.Write("bad.log", GoodLog() + "oops\r\n")}),
              dir.Path("bad.log") +
                  ":49: unusable input: 1 of 49 lines malformed, more than 1% (the first here: "
                  "not a touch.log line)");

    RunResult r = RunReport({good, "--json", dir.Path("no/such/dir.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no/such/dir.json: cannot write the JSON"), std::string::npos);
}

TEST(CommandLineTest, TimeAndSessionLimitsFailAsTheOthersAndNeedATouchCsvForTime) {
    // One contact every 10 ms for 1.2 s, with one wait of 40 ms.
    CCsv csv;
    for (std::uint32_t t = 0; t <= 1200; t += t == 500 ? 40 : 10)
        csv.Message(1).Input(t == 0 ? "DOWN" : t == 1200 ? "UP" : "MOVE", 1, 100 * (int)t, 0, t);
    CTempDir dir;
    std::string path = dir.Write("touch.csv", csv.Text());
    EXPECT_EQ(RunReport({path, "--max-interval", "40", "--min-contacts", "1"}).exitCode, 0);
    RunResult r = RunReport({path, "--max-interval", "39", "--min-contacts", "2", "--min-rate", "97"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(
        r.out.find(
            "FAIL interval of contact 1 (stroke 1, down at line 2): 40 ms over the limit 39 ms by 1 ms"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("FAIL contacts of the session: 1 under the limit 2 by 1\n"), std::string::npos)
        << r.out;
    // A second holding the wait has 97 reports; none has fewer.
    EXPECT_EQ(r.out.find("FAIL rate"), std::string::npos) << r.out;
    EXPECT_NE(RunReport({path, "--min-rate", "97.5"}).out.find("FAIL rate of contact 1"), std::string::npos);

    // A limit with nothing to judge passes nothing: a stroke under a second
    // has no rate. A failure elsewhere still fails.
    CCsv brief;
    for (std::uint32_t t = 0; t <= 500; t += 10)
        brief.Message(1).Input(t == 0 ? "DOWN" : t == 500 ? "UP" : "MOVE", 1, 100 * (int)t, 0, t);
    std::string briefPath = dir.Write("brief.csv", brief.Text());
    r = RunReport({briefPath, "--min-rate", "60", "--max-interval", "40", "--json", dir.Path("nj.json"),
                   "--html", dir.Path("nj.html")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(
        r.out.find("\nVerdict: NOT JUDGED, 1 limit given had nothing to judge\n  NOT JUDGED rate: the limit "
                   "60.0 Hz needs a stroke of a second or more; there is none\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(ReadFile(dir.Path("nj.json"))
                  .find(R"("verdict": "not_judged",)"
                        "\n  "
                        R"("limits": [)"
                        "\n    "
                        R"({"figure": "rate", "limit_hz": 60.000, "judged": 0, "verdict": "not_judged"},)"
                        "\n    "
                        R"({"figure": "interval", "limit_ms": 40, "judged": 1, "verdict": "pass"})"),
              std::string::npos);
    EXPECT_NE(ReadFile(dir.Path("nj.html")).find("NOT JUDGED</span> needs a stroke of a second or more"),
              std::string::npos);
    EXPECT_EQ(RunReport({briefPath, "--min-rate", "60", "--max-interval", "5"}).exitCode, 1);

    std::string log = dir.Write("touch.log", GoodLog());
    r = RunReport({log, "--min-rate", "60"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err,
              "kovrin-report: --min-rate needs the time stamps of a touch.csv; " + log + " is a touch.log\n");
}

TEST(CommandLineTest, HelpDocumentsEveryOptionAndTheExitCodes) {
    RunResult r = RunReport({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const FigureInfo& info : FIGURES)
        EXPECT_NE(r.out.find("\n  " + std::string(info.option) + " " + info.optionArg + " "),
                  std::string::npos)
            << info.option;
    for (const char* option : {"--json FILE", "--html FILE", "--px-per-mm X", "--cell PX",
                               "--min-line-length L", "--stationary-extent L", "--version", "Exit status:"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(CommandLineTest, VersionIsTheProjectsOnStandardOutput) {
    RunResult r = RunReport({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "kovrin-report " KOVRIN_VERSION "\n");
}
