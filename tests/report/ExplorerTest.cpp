// kovrin-report.exe started as Explorer starts it, with a console of its own,
// and as a script or a shell starts it. The console is read and typed into by
// kovrin_probe; the browser hand-off is the test copy's (support/ExplorerFakes.cpp).
#include "report/Explorer.h"
#include "support/WindowFixture.h"

#include <algorithm>
#include <cstdio>

namespace {

using ExplorerTest = WindowTest;

const char LOG[] =
    "Touch count = 1\r\nDOWN id =7, x = 10, y =10\r\nTouch count = 1\r\nUP   id =7, x = 12, y =10\r\n";

std::wstring Wide(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

void WriteFile(const std::string& path, const std::string& content) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

// Starts `exe` with `args`; `in` and `out` as its standard handles when given.
PROCESS_INFORMATION Start(const std::wstring& exe, const std::string& args, DWORD flags, HANDLE in = nullptr,
                          HANDLE out = nullptr) {
    STARTUPINFOW si = {sizeof(si)};
    if (in) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = in;
        si.hStdOutput = si.hStdError = out;
    }
    std::wstring line = L"\"" + exe + L"\" " + Wide(args);
    PROCESS_INFORMATION pi = {};
    EXPECT_TRUE(CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, in != nullptr,
                               flags | CREATE_SUSPENDED, nullptr, nullptr, &si, &pi));
    // In a job that ends with the test program, children (of cmd.exe) included.
    static HANDLE job = [] {
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
        return j;
    }();
    AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    return pi;
}

// The probe's answer about process `pid`'s console ("console" or "enter").
std::string Probe(const char* verb, DWORD pid) {
    std::string command = "\"" + std::string(KOVRIN_PROBE_EXE) + "\" " + verb + " " + std::to_string(pid);
    std::FILE* p = _popen(command.c_str(), "r");
    std::string text;
    for (int c; p && (c = std::fgetc(p)) != EOF;)
        text += (char)c;
    if (p)
        _pclose(p);
    return text;
}

// Starts the test copy as Explorer does, in a console of its own, and waits
// up to 30 s for its "Press Enter" there; returns the console's text. The
// probe attaches only once the console has been counted, or it would count.
std::string StartAsExplorer(const std::string& dir, const std::string& args, PROCESS_INFORMATION& pi) {
    SetEnvironmentVariableW(L"KOVRIN_RECORD", Wide(dir + "\\record.txt").c_str());
    pi = Start(KOVRIN_REPORT_FAKES_EXE, args, CREATE_NEW_CONSOLE);
    for (int i = 0; i < 150 && ReadFileBytes("record.txt").empty(); i++)
        Sleep(200);
    std::string screen;
    for (int i = 0; i < 150 && screen.find("Press Enter to close") == std::string::npos; i++, Sleep(200))
        screen = Probe("console", pi.dwProcessId);
    return screen;
}

// Presses Enter in the console and returns the exit code, or -1 if the process still runs.
int EnterAndExitCode(const PROCESS_INFORMATION& pi) {
    Probe("enter", pi.dwProcessId);
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)code;
}

} // namespace

TEST_F(ExplorerTest, DroppedLogGetsAPageBesideItOpenedInTheBrowserAndAWaitForEnter) {
    WriteFile("touch.log", LOG);
    WriteFile("touch.html", "<html>the tester's own page</html>");
    PROCESS_INFORMATION pi;
    std::string screen = StartAsExplorer(m_dir, m_dir + "\\touch.log", pi);

    EXPECT_NE(screen.find("2 inputs, 1 stroke;"), std::string::npos) << screen; // the summary
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), (DWORD)WAIT_TIMEOUT);
    EXPECT_EQ(ReadFileBytes("touch.html"), "<html>the tester's own page</html>");
    EXPECT_EQ(ReadFileBytes("touch-2.html").compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_EQ(ReadFileBytes("record.txt"), "GetConsoleProcessList 1\nopen " + m_dir + "\\touch-2.html\n");
    EXPECT_EQ(EnterAndExitCode(pi), 0);
}

TEST_F(ExplorerTest, DoubleClickShowsTheUsageAndWaitsForEnter) {
    PROCESS_INFORMATION pi;
    std::string screen = StartAsExplorer(m_dir, "", pi);
    EXPECT_NE(screen.find("Usage: kovrin-report"), std::string::npos) << screen;
    EXPECT_EQ(EnterAndExitCode(pi), 0);
}

TEST_F(ExplorerTest, ScriptedOrShellCallsNeverWaitNorWriteAPage) {
    WriteFile("touch.log", LOG);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr; // standard input that never ends
    ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 0));
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    std::wstring exe = KOVRIN_REPORT_EXE;
    std::replace(exe.begin(), exe.end(), L'/', L'\\'); // for cmd.exe
    std::string log = m_dir + "\\touch.log",
                command = "/c " + std::string(exe.begin(), exe.end()) + " " + log;
    // No console; a console of its own but redirected handles; a console
    // shared with cmd.exe.
    for (int how = 0; how < 3; how++) {
        PROCESS_INFORMATION pi = how < 2
                                     ? Start(exe, log, how ? CREATE_NEW_CONSOLE : 0, read, nul)
                                     : Start(L"C:\\windows\\system32\\cmd.exe", command, CREATE_NEW_CONSOLE);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), (DWORD)WAIT_OBJECT_0) << how;
        DWORD code = 99;
        EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code) && code == 0) << how << " exit " << code;
        TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    EXPECT_FALSE(FileExists("touch.html"));
    CloseHandle(nul);
    CloseHandle(read);
    CloseHandle(write);
}

TEST_F(ExplorerTest, PageNameReusesOnlyItsOwnPage) {
    const std::string log = m_dir + "\\touch.log";
    EXPECT_EQ(report::PagePathBeside(log), m_dir + "\\touch.html");
    WriteFile("touch.html",
              "<!DOCTYPE html>\n<html><head><meta name=\"generator\" content=\"kovrin-report 1.8.0\">");
    EXPECT_EQ(report::PagePathBeside(log), m_dir + "\\touch.html");
    WriteFile("touch.html", "<html>");
    WriteFile("touch-2.html", "<html>");
    EXPECT_EQ(report::PagePathBeside(log), m_dir + "\\touch-3.html");
}
