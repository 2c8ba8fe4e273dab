#include "report/Explorer.h"

#include "report/CommandLine.h"
#include "report/Files.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace report {

namespace {

// What the head of kovrin-report's page starts with.
constexpr char PAGE_MARK[] = "<meta name=\"generator\" content=\"kovrin-report ";

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

bool OpenInBrowser(const std::string& path) {
    // Some browsers' handlers are COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    return (INT_PTR)ShellExecuteW(nullptr, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL) >
           32;
}

void WaitForEnter() {
    WriteText(stdout, "\nPress Enter to close this window.");
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
}

} // namespace

bool HasConsoleOfItsOwn() {
    DWORD processes[2];
    WCHAR title[1024]; // room for any path: some systems fail on a short buffer
    return GetConsoleProcessList(processes, 2) == 1 && IsConsole(STD_INPUT_HANDLE) &&
           IsConsole(STD_OUTPUT_HANDLE) && GetConsoleTitleW(title, 1024) > 0;
}

bool StartedFromExplorer(int argc, const char* const* argv) {
    for (int i = 1; i < argc; i++)
        if (argv[i][0] == '-')
            return false;
    return HasConsoleOfItsOwn();
}

bool IsReportPage(const std::string& path) {
    std::FILE* f = OpenFile(path, "rb");
    if (!f)
        return false;
    char head[1024];
    std::size_t n = std::fread(head, 1, sizeof(head), f);
    std::fclose(f);
    return std::string(head, n).find(PAGE_MARK) != std::string::npos;
}

std::string PagePathBeside(const std::string& logPath) {
    std::size_t slash = logPath.find_last_of("\\/:");
    std::size_t dot = logPath.rfind('.');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string stem = dot != std::string::npos && dot > nameStart ? logPath.substr(0, dot) : logPath;
    for (int n = 1;; n++) {
        std::string page = stem + (n > 1 ? "-" + std::to_string(n) : "") + ".html";
        if (GetFileAttributesW(Widen(page).c_str()) == INVALID_FILE_ATTRIBUTES || IsReportPage(page))
            return page;
    }
}

int RunFromExplorer(int argc, char** argv, int (*run)(int, char**)) {
    int code = 0;
    if (argc == 1) {
        WriteText(stdout, UsageText());
        WriteText(stdout,
                  "\nOr drop a touch.log on kovrin-report.exe: its page is written beside it and opened.\n");
    } else if (argc > 2) {
        code = run(argc, argv); // says what is wrong
    } else {
        std::string page = PagePathBeside(argv[1]);
        std::string html = "--html=" + page;
        char ends[] = "--";
        char* args[] = {argv[0], &html[0], ends, argv[1], nullptr};
        code = run(4, args);
        if (code == 0 || code == 1) { // the figures, the page included, were written
            WriteText(stdout, "\nThe page: " + page + "\n");
            if (!OpenInBrowser(page))
                WriteText(stdout, "It could not be opened in a browser; open it from there.\n");
        }
    }
    WaitForEnter();
    return code;
}

} // namespace report
