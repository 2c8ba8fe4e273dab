#include "report/Files.h"

#include <algorithm>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace report {

#ifdef _WIN32

std::wstring Widen(const std::string& utf8) {
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], size);
    return wide;
}

std::string Narrow(const wchar_t* utf16) {
    int size = WideCharToMultiByte(CP_UTF8, 0, utf16, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 1 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, utf16, -1, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(Widen(path).c_str(), Widen(mode).c_str());
}

std::filesystem::path FilePath(const std::string& path) {
    return std::filesystem::path(Widen(path));
}

void WriteText(std::FILE* stream, const std::string& text) {
    HANDLE console = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0, written = 0;
    if (!GetConsoleMode(console, &mode)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::fflush(stream); // what went before through the C library shows first
    std::wstring wide = Widen(text);
    // In pieces: Windows 7 refuses a console write of 64 KB or more.
    const std::size_t PIECE = 8192;
    for (std::size_t at = 0; at < wide.size();) {
        std::size_t n = std::min(PIECE, wide.size() - at);
        if (at + n < wide.size() && IS_HIGH_SURROGATE(wide[at + n - 1]))
            n--; // a character in two halves stays whole
        WriteConsoleW(console, wide.data() + at, (DWORD)n, &written, nullptr);
        at += n;
    }
}

#else

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::filesystem::path FilePath(const std::string& path) {
    return std::filesystem::path(path);
}

void WriteText(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

#endif

} // namespace report
