// kovrin-report: reads a touch.log, prints a summary, writes the JSON and the
// HTML page asked for, and exits 0 (every threshold holds), 1 (one fails) or
// 2 (unusable input or options).
#include "report/Analysis.h"
#include "report/CommandLine.h"
#include "report/HtmlPage.h"
#include "report/Json.h"
#include "report/Summary.h"
#include "report/Verdict.h"
#include "report/Version.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <new>
#include <string>

#ifdef _WIN32
#include "report/Explorer.h"

#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int EXIT_PASS = 0;
constexpr int EXIT_THRESHOLD = 1;
constexpr int EXIT_UNUSABLE = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "kovrin-report: %s\n", message.c_str());
    return EXIT_UNUSABLE;
}

bool WriteJsonFile(const std::string& path, const report::Report& r, const report::Options& options,
                   const std::vector<report::Failure>& failures) {
    std::FILE* f = std::fopen(path.c_str(), "wb"); // the same bytes on every system
    if (!f)
        return false;
    bool written = report::WriteJson(f, r, options, failures);
    return std::fclose(f) == 0 && written;
}

int Run(int argc, char** argv) {
    report::CommandLine cl;
    std::string error = report::ParseCommandLine(argc - 1, argv + 1, cl);
    if (!error.empty())
        return Fail(error + " (see --help)");
    if (cl.help) {
        std::fputs(report::UsageText(), stdout);
        return EXIT_PASS;
    }
    if (cl.version) {
        std::printf("kovrin-report %s\n", report::REPORT_VERSION);
        return EXIT_PASS;
    }

    std::string name = cl.input == "-" ? "<stdin>" : cl.input;
    std::FILE* input = stdin;
    if (cl.input == "-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY); // keep CR LF and any Ctrl+Z as they are
#endif
    } else {
        input = std::fopen(cl.input.c_str(), "rb");
        if (!input)
            return Fail(name + ": cannot open: " + std::strerror(errno));
    }
    report::Report r = report::ReadLog(input, cl.options);
    if (input != stdin)
        std::fclose(input);

    std::string why;
    std::uint64_t line = 0;
    if (report::IsUnusable(r, why, line))
        return Fail(name + (line ? ":" + std::to_string(line) : std::string()) + ": unusable input: " + why);
    for (const report::Diagnostic& d : r.diagnostics)
        std::fprintf(stderr, "%s:%llu: %s\n", name.c_str(), (unsigned long long)d.line, d.text.c_str());
    if (r.omittedDiagnostics)
        std::fprintf(stderr, "%s: %llu more warnings not shown\n", name.c_str(),
                     (unsigned long long)r.omittedDiagnostics);

    std::vector<report::Failure> failures = report::FindFailures(r, cl.options);
    std::string summary = report::FormatSummary(r, cl.options, failures, name);
    std::fwrite(summary.data(), 1, summary.size(), stdout);
    std::fflush(stdout);

    if (!cl.jsonPath.empty() && !WriteJsonFile(cl.jsonPath, r, cl.options, failures))
        return Fail(cl.jsonPath + ": cannot write the JSON: " + std::strerror(errno));
    if (!cl.htmlPath.empty()) {
        std::ofstream html(cl.htmlPath, std::ios::binary | std::ios::trunc);
        if (html)
            WriteHtmlPage(html, r, cl.options);
        html.close();
        if (!html)
            return Fail(cl.htmlPath + ": cannot write the HTML page");
    }
    return failures.empty() ? EXIT_PASS : EXIT_THRESHOLD;
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

int main(int argc, char** argv) {
#ifdef _WIN32
    // A log dropped on kovrin-report.exe, or a double-click: the page beside
    // the log, the browser and a console that waits.
    if (report::StartedFromExplorer(argc, argv))
        return report::RunFromExplorer(argc, argv, RunCaught);
#endif
    return RunCaught(argc, argv);
}
