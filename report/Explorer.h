// kovrin-report started from Explorer: a log dropped on kovrin-report.exe, or
// a double-click. Windows gives such a start a console of its own, which
// closes the moment the program ends; so the page is written beside the log
// and opened in the browser, and the console waits for Enter. Windows only;
// Main.cpp hands over to RunFromExplorer when StartedFromExplorer says so.
#pragma once

#include <string>

namespace report {

// This process is alone on a console that Windows made for it, and its
// standard input and output are that console. From cmd.exe or PowerShell the
// shell shares the console; a script redirects the handles; Wine run from a
// Unix terminal gives a console without a title, which Windows never does.
bool HasConsoleOfItsOwn();

// A console of its own and not one option among the arguments.
bool StartedFromExplorer(int argc, const char* const* argv);

// The page kovrin-report wrote, recognised by the generator mark in its head.
bool IsReportPage(const std::string& path);

// Beside the log, the log's name with .html (touch.log: touch.html) when that
// is free or a page kovrin-report wrote, else the first such of touch-2.html,
// touch-3.html, ...
std::string PagePathBeside(const std::string& logPath);

// One log: `run` (Main.cpp's, with its command line) on it with the page
// asked for, then the page opened in the default browser. No argument: the
// usage. Then waits for Enter. Returns what `run` returned.
int RunFromExplorer(int argc, char** argv, int (*run)(int, char**));

} // namespace report
