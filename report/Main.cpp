// kovrin-report: reads a touch.log or touch.csv, prints a summary, writes the
// JSON and the HTML page asked for, and exits 0 (every limit given judged
// something and holds), 1 (one fails), 2 (unusable input or options) or 3 (a
// limit had nothing to judge). The stages run in one direction: read and
// analyse in one pass, judge, write.
#include "report/CommandLine.h"
#include "report/Files.h"
#include "report/Version.h"
#include "report/read/GuideReader.h"
#include "report/read/Reader.h"
#include "report/analyse/Analysis.h"
#include "report/judge/Figures.h"
#include "report/judge/Verdict.h"
#include "report/write/Format.h"
#include "report/write/Json.h"
#include "report/write/Summary.h"
#include "report/write/page/HtmlPage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include "report/Explorer.h"

#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int EXIT_PASS = 0;
constexpr int EXIT_THRESHOLD = 1;
constexpr int EXIT_UNUSABLE = 2;
constexpr int EXIT_NOT_JUDGED = 3;

int Fail(const std::string& message) {
    report::WriteText(stderr, "kovrin-report: " + message + "\n");
    return EXIT_UNUSABLE;
}

// "touch.log:12" or "touch.log" for line 0.
std::string Where(const std::string& name, std::uint64_t line) {
    return line ? name + ":" + report::Integer(line) : name;
}

bool WriteJsonFile(const std::string& path, const report::Report& r, const report::Options& options,
                   const report::Verdict& verdict) {
    std::FILE* f = report::OpenFile(path, "wb"); // the same bytes on every system
    if (!f)
        return false;
    bool written = report::WriteJson(f, r, options, verdict);
    return std::fclose(f) == 0 && written;
}

// guide.csv in the folder of `path`.
std::string GuideBeside(const std::string& path) {
#ifdef _WIN32
    std::size_t slash = path.find_last_of("/\\");
#else
    std::size_t slash = path.rfind('/');
#endif
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "guide.csv";
}

// The millimetres of the guide's screen, each axis on its own, when neither
// --px-per-mm nor anything else gave them.
void ScaleFromGuide(const report::Guide& guide, report::Options& options) {
    if (options.pxPerMm || guide.rows.empty())
        return;
    const report::GuideRow& r = guide.rows.front();
    if (!r.screenWMm || !r.screenHMm || !r.screenWPx || !r.screenHPx)
        return;
    options.pxPerMmX = (double)r.screenWPx / r.screenWMm;
    options.pxPerMmY = (double)r.screenHPx / r.screenHMm;
    options.pxPerMm = (*options.pxPerMmX + *options.pxPerMmY) / 2;
    options.scaleFrom = report::ScaleFrom::Guide;
}

int Run(int argc, char** argv) {
    report::CommandLine cl;
    std::string error = report::ParseCommandLine(argc - 1, argv + 1, cl);
    if (!error.empty())
        return Fail(error + " (see --help)");
    if (cl.help) {
        report::WriteText(stdout, report::UsageText());
        return EXIT_PASS;
    }
    if (cl.version) {
        report::WriteText(stdout, std::string("kovrin-report ") + report::REPORT_VERSION + "\n");
        return EXIT_PASS;
    }

    std::string name = cl.input == "-" ? "<stdin>" : cl.input;
    std::FILE* input = stdin;
    if (cl.input == "-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY); // keep CR LF and any Ctrl+Z as they are
#endif
    } else {
        input = report::OpenFile(cl.input, "rb");
        if (!input)
            return Fail(name + ": cannot open: " + std::strerror(errno));
    }
    // The guide of a guided run: the one named, or the one kovrin wrote
    // beside a touch.csv. It is read first, as the analysis follows it.
    const char* const NO_LOG_GUIDE = "--guide needs the time stamps of a touch.csv; ";
    bool csv = input != stdin && report::StartsAsTouchCsv(input);
    std::string guidePath = cl.guidePath;
    if (!guidePath.empty() && input != stdin && !csv)
        return Fail(NO_LOG_GUIDE + name + " is a touch.log");
    std::optional<report::Guide> guide;
    std::string why;
    std::uint64_t line = 0;
    if (guidePath.empty() && csv)
        guidePath = GuideBeside(cl.input);
    if (!guidePath.empty()) {
        std::FILE* g = report::OpenFile(guidePath, "rb");
        if (g) {
            guide = report::ReadGuide(g);
            std::fclose(g);
            if (report::IsUnusableGuide(*guide, why, line))
                return Fail(Where(guidePath, line) + ": unusable guide: " + why);
        } else if (!cl.guidePath.empty()) {
            return Fail(guidePath + ": cannot open: " + std::strerror(errno));
        }
    }
    bool guided = guide && guide->run > 0;
    if (guided)
        ScaleFromGuide(*guide, cl.options);
    error = report::ResolveMm(cl);
    if (!error.empty())
        return Fail(error + " (see --help)");

    // Past the strokes the report lists, it keeps those that fail: the
    // verdict and the exit code then see every failure.
    report::CAnalyser analyser(cl.options,
                               [&](const report::Stroke& s) { return report::StrokeFails(s, cl.options); });
    if (guided)
        analyser.FollowGuide(report::GuidedPlan(*guide));
    report::InputStatus status = report::ReadInput(input, analyser);
    if (input != stdin)
        std::fclose(input);
    report::Report r = analyser.Finish(status);

    if (report::IsUnusable(r.input, why, line))
        return Fail(Where(name, line) + ": unusable input: " + why);
    if (guide && r.input.format == report::InputFormat::TouchLog)
        return Fail(NO_LOG_GUIDE + name + " is a touch.log");
    if (r.guided && !r.guided->belongs)
        return Fail(guidePath +
                    ": guide.csv does not belong to this touch.csv (an item ended at a time "
                    "no message of " +
                    name + " has)");
    // A limit on a figure the file cannot have would pass for nothing judged.
    if (r.input.format == report::InputFormat::TouchLog)
        for (const report::FigureInfo& info : report::FIGURES)
            if (info.needsTime && cl.options.*info.limit)
                return Fail(std::string(info.option) + " needs the time stamps of a touch.csv; " + name +
                            " is a touch.log");
    std::string warnings;
    if (guide)
        for (const report::GuideWarning& w : guide->warnings)
            warnings += guidePath + ":" + report::Integer(w.line) + ": " + w.text + "\n";
    if (guide && !guided && !cl.guidePath.empty())
        warnings += guidePath + ": note: no guided run in it; the report is as without a guide\n";
    for (const report::Diagnostic& d : r.diagnostics)
        warnings += name + ":" + report::Integer(d.line) + ": " + d.text + "\n";
    if (r.omittedDiagnostics)
        warnings += name + ": " + report::Integer(r.omittedDiagnostics) + " more warnings not shown\n";
    report::WriteText(stderr, warnings);

    report::Verdict verdict = report::Judge(r, cl.options);
    std::string summary = report::FormatSummary(r, cl.options, verdict, name);
    report::WriteText(stdout, summary);
    std::fflush(stdout);

    if (!cl.jsonPath.empty() && !WriteJsonFile(cl.jsonPath, r, cl.options, verdict))
        return Fail(cl.jsonPath + ": cannot write the JSON: " + std::strerror(errno));
    if (!cl.htmlPath.empty()) {
        std::ofstream html(report::FilePath(cl.htmlPath), std::ios::binary | std::ios::trunc);
        if (html)
            report::WriteHtmlPage(html, r, cl.options, verdict);
        html.close();
        if (!html)
            return Fail(cl.htmlPath + ": cannot write the HTML page");
    }
    if (verdict.outcome == report::Outcome::Fail)
        return EXIT_THRESHOLD;
    return verdict.Unjudged() > 0 ? EXIT_NOT_JUDGED : EXIT_PASS;
}

int RunCaught(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

} // namespace

#ifdef _WIN32
// Windows hands the arguments over in UTF-16 whatever its code page: a path
// in any script reaches the program whole, and goes on as UTF-8.
int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; i++)
        args.push_back(report::Narrow(wideArgv[i]));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    // A log dropped on kovrin-report.exe, or a double-click: the page beside
    // the log, the browser and a console that waits.
    if (report::StartedFromExplorer(argc, argv.data()))
        return report::RunFromExplorer(argc, argv.data(), RunCaught);
    return RunCaught(argc, argv.data());
}
#else
int main(int argc, char** argv) {
    return RunCaught(argc, argv);
}
#endif
