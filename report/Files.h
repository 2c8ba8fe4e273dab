// Files and the console by Unicode names. kovrin-report holds every path and
// message as UTF-8. On Windows a path becomes UTF-16 for the system's wide
// calls, so a file in a folder named in any script opens whatever the code
// page, and text for a console goes to it as UTF-16 (WriteConsoleW), so a
// name in a message reads as it is; text for a file or a pipe stays UTF-8.
// Elsewhere these are the C library's own calls.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace report {

// std::fopen by a UTF-8 path.
std::FILE* OpenFile(const std::string& path, const char* mode);

// A UTF-8 path as the standard library's streams take it.
std::filesystem::path FilePath(const std::string& path);

// Writes UTF-8 text to stdout or stderr, as UTF-16 when it is a console.
void WriteText(std::FILE* stream, const std::string& text);

#ifdef _WIN32
std::wstring Widen(const std::string& utf8);
std::string Narrow(const wchar_t* utf16);
#endif

} // namespace report
