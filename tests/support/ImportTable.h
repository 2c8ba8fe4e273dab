// How the link-level replacements of the test binaries are installed: each
// defines the import-table pointer (__imp_...) that the program's calls go
// through, so the linker takes it instead of the entry of user32's or gdi32's
// import library. Replacements that pass a call on find the real entry by name.
#pragma once

#include "app/Win32.h"

// Import-table symbol names: stdcall-decorated in 32-bit builds.
#if defined(_WIN64)
#define IMPORT_SYMBOL(name, argBytes) "__imp_" #name
#else
#define IMPORT_SYMBOL(name, argBytes) "__imp__" #name "@" #argBytes
#endif

// The real entry `name` of a loaded system DLL.
template <typename Proc> Proc RealEntry(const wchar_t* module, const char* name) {
    return (Proc)(void*)GetProcAddress(GetModuleHandleW(module), name);
}
