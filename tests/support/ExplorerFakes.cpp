// Link-level replacements in kovrin-report's test copy
// (kovrin_report_fakes.exe), recording in UTF-8 to the file that
// KOVRIN_RECORD names: ShellExecuteW records "VERB FILE" and opens nothing;
// GetConsoleProcessList records its answer, so a test knows the start has
// been judged before it attaches to the console itself.
#include "support/ImportTable.h"

#include <cstdio>
#include <string>

namespace {

void Record(const std::wstring& line) {
    WCHAR path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KOVRIN_RECORD", path, MAX_PATH))
        return;
    std::string utf8(line.size() * 3 + 1, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, line.data(), (int)line.size(), &utf8[0], (int)utf8.size(),
                                    nullptr, nullptr));
    std::FILE* f = _wfopen(path, L"ab");
    std::fprintf(f, "%s\n", utf8.c_str());
    std::fclose(f);
}

HINSTANCE WINAPI FakeShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    Record(std::wstring(verb) + L" " + file);
    return (HINSTANCE)33; // above 32: done
}

DWORD WINAPI FakeGetConsoleProcessList(LPDWORD list, DWORD size) {
    using Fn = DWORD(WINAPI*)(LPDWORD, DWORD);
    static Fn real = RealEntry<Fn>(L"kernel32.dll", "GetConsoleProcessList");
    DWORD n = real(list, size);
    Record(L"GetConsoleProcessList " + std::to_wstring(n));
    return n;
}

} // namespace

extern "C" {
void* impShellExecuteW __asm__(IMPORT_SYMBOL(ShellExecuteW, 24)) = (void*)&FakeShellExecuteW;
void* impGetConsoleProcessList __asm__(IMPORT_SYMBOL(GetConsoleProcessList,
                                                     8)) = (void*)&FakeGetConsoleProcessList;
}
