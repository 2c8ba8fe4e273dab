// kovrin-report.exe started as Explorer starts it, with a console of its own,
// and as a script or a shell starts it. The console is read and typed into by
// kovrin_probe; the browser hand-off is the test copy's (support/ExplorerFakes.cpp).
#include "log/TouchCsvColumns.h"
#include "report/Explorer.h"
#include "support/WindowFixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using ExplorerTest = WindowTest;

const char LOG[] =
    "Touch count = 1\r\nDOWN id =7, x = 10, y =10\r\nTouch count = 1\r\nUP   id =7, x = 12, y =10\r\n";

// Starts `exe` with `args` (UTF-8) in a job that ends with the test program
// (cmd.exe's children too); `in` and `out` as its standard handles when given.
PROCESS_INFORMATION Start(std::wstring exe, const std::string& args, DWORD flags, HANDLE in = nullptr,
                          HANDLE out = nullptr) {
    static HANDLE job = [] {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
        return j;
    }();
    STARTUPINFOW si = {sizeof(si)};
    si.dwFlags = in ? STARTF_USESTDHANDLES : 0;
    si.hStdInput = in;
    si.hStdOutput = si.hStdError = out;
    std::wstring wide(args.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, args.data(), (int)args.size(), &wide[0], (int)wide.size()));
    std::wstring line = L"\"" + exe + L"\" " + wide;
    PROCESS_INFORMATION pi = {};
    EXPECT_TRUE(CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, in != nullptr,
                               flags | CREATE_SUSPENDED, nullptr, nullptr, &si, &pi));
    AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    return pi;
}

// What the probe prints for "console PID" or "enter PID".
std::string Probe(const char* verb, DWORD pid) {
    std::string text, command = "\"" KOVRIN_PROBE_EXE "\" " + std::string(verb) + " " + std::to_string(pid);
    std::FILE* p = _popen(command.c_str(), "r");
    for (int c; p && (c = std::fgetc(p)) != EOF;)
        text += (char)c;
    return p && _pclose(p) == 0 ? text : "probe failed";
}

// Exit code within `ms`, else -1 (and the process ended).
int ExitCode(HANDLE process, DWORD ms) {
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        TerminateProcess(process, 99);
    CloseHandle(process);
    return (int)code;
}

// The test copy started as Explorer starts it: the console's text once it
// asks for Enter (30 s at most). The probe attaches only once the console
// has been counted, or it would be counted too.
std::string StartAsExplorer(const std::string& dir, const std::string& args, PROCESS_INFORMATION& pi) {
    SetEnvironmentVariableA("KOVRIN_RECORD", (dir + "\\record.txt").c_str());
    pi = Start(KOVRIN_REPORT_FAKES_EXE, args, CREATE_NEW_CONSOLE);
    std::string screen;
    for (int i = 0; i < 150 && ReadFileBytes("record.txt").empty(); i++)
        Sleep(200);
    for (int i = 0; i < 150 && screen.find("Press Enter to close") == std::string::npos; i++, Sleep(200))
        screen = Probe("console", pi.dwProcessId);
    return screen;
}

} // namespace

TEST_F(ExplorerTest, DroppedLogGetsAPageBesideItOpenedInTheBrowserAndAWaitForEnter) {
    std::ofstream("touch.log", std::ios::binary) << LOG;
    std::ofstream("touch.html", std::ios::binary) << "<html>the tester's own page</html>";
    PROCESS_INFORMATION pi;
    std::string screen = StartAsExplorer(m_dir, m_dir + "\\touch.log", pi);

    EXPECT_NE(screen.find("2 inputs, 1 stroke;"), std::string::npos) << screen; // the summary
    EXPECT_EQ(ReadFileBytes("touch.html"), "<html>the tester's own page</html>");
    EXPECT_EQ(ReadFileBytes("touch-2.html").compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_EQ(ReadFileBytes("record.txt"), "GetConsoleProcessList 1\nopen " + m_dir + "\\touch-2.html\n");
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), (DWORD)WAIT_TIMEOUT); // waiting
    Probe("enter", pi.dwProcessId);
    EXPECT_EQ(ExitCode(pi.hProcess, 10000), 0);
}

TEST_F(ExplorerTest, DoubleClickShowsTheUsageAndWaitsForEnter) {
    PROCESS_INFORMATION pi;
    EXPECT_NE(StartAsExplorer(m_dir, "", pi).find("Usage: kovrin-report"), std::string::npos);
    Probe("enter", pi.dwProcessId);
    EXPECT_EQ(ExitCode(pi.hProcess, 10000), 0);
}

TEST_F(ExplorerTest, ScriptedOrShellCallsNeverWaitNorWriteAPage) {
    std::ofstream("touch.log", std::ios::binary) << LOG;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr; // standard input that never ends
    ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 0));
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    std::wstring exe = KOVRIN_REPORT_EXE;
    std::replace(exe.begin(), exe.end(), L'/', L'\\'); // for cmd.exe
    std::string log = m_dir + "\\touch.log";
    // No console; a console of its own but redirected handles; a console
    // shared with cmd.exe.
    EXPECT_EQ(ExitCode(Start(exe, log, 0, read, nul).hProcess, 30000), 0);
    EXPECT_EQ(ExitCode(Start(exe, log, CREATE_NEW_CONSOLE, read, nul).hProcess, 30000), 0);
    std::string shell = "/c " + std::string(exe.begin(), exe.end()) + " " + log;
    EXPECT_EQ(ExitCode(Start(L"C:\\windows\\system32\\cmd.exe", shell, CREATE_NEW_CONSOLE).hProcess, 30000),
              0);
    EXPECT_FALSE(FileExists("touch.html"));
    CloseHandle(nul);
    CloseHandle(read);
    CloseHandle(write);
}

TEST_F(ExplorerTest, PageNameReusesOnlyItsOwnPage) {
    const std::string log = m_dir + "\\touch.log";
    EXPECT_EQ(report::PagePathBeside(log), m_dir + "\\touch.html");
    std::ofstream("touch.html")
        << "<!DOCTYPE html>\n<html><head><meta name=\"generator\" content=\"kovrin-report 1\">";
    EXPECT_EQ(report::PagePathBeside(log), m_dir + "\\touch.html");
    std::ofstream("touch.html") << "<html>";
    std::ofstream("touch-2.html") << "<html>";
    EXPECT_EQ(report::PagePathBeside(log), m_dir + "\\touch-3.html");
    // In a folder whose name has a dot, the file's own name loses its extension, if any.
    for (const char* name : {"touch.csv", "touch"})
        EXPECT_EQ(report::PagePathBeside(m_dir + "\\v1.2\\" + name), m_dir + "\\v1.2\\touch.html") << name;
}

// A touch.csv in a folder named in Cyrillic and CJK, dropped and named on the
// command line: the file opens by its name, the page is written beside it,
// and the console and standard output show the name as it is.
TEST_F(ExplorerTest, AFolderNamedInAnyScriptGetsItsReport) {
    const std::string folder = m_dir + u8"\\Отчёт 報告";
    const std::filesystem::path path = std::filesystem::u8path(folder);
    std::filesystem::create_directory(path);
    std::ofstream(path / "touch.csv", std::ios::binary)
        << TOUCH_CSV_COLUMNS << "\r\n1,0,1,DOWN,7,10,10,1000,1000,0,100,0,,,0,800,600\r\n"
        << "2,0,1,UP,7,12,10,1200,1000,0,108,0,,,0,800,600\r\n";
    auto read = [&](const char* name) {
        std::ifstream in(path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };

    PROCESS_INFORMATION pi;
    std::string screen = StartAsExplorer(m_dir, "\"" + folder + "\\touch.csv\"", pi);
    EXPECT_NE(screen.find("kovrin-report: " + folder + "\\touch.csv"), std::string::npos) << screen;
    EXPECT_EQ(read("touch.html").compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_EQ(ReadFileBytes("record.txt"), "GetConsoleProcessList 1\nopen " + folder + "\\touch.html\n");
    Probe("enter", pi.dwProcessId);
    EXPECT_EQ(ExitCode(pi.hProcess, 10000), 0);

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(L"out.txt", GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    std::string args = "--json \"" + folder + "\\r.json\" \"" + folder + "\\touch.csv\"";
    EXPECT_EQ(ExitCode(Start(KOVRIN_REPORT_EXE, args, 0, in, out).hProcess, 30000), 0);
    CloseHandle(out);
    CloseHandle(in);
    EXPECT_EQ(ReadFileBytes("out.txt").rfind("kovrin-report: " + folder + "\\touch.csv\r\n", 0), 0u);
    EXPECT_NE(read("r.json").find("\"input\": \"touch.csv\""), std::string::npos);
    std::filesystem::remove_all(path); // a name the fixture's own clean-up cannot spell
}
