// Installed like PlatformFakes: by defining the import-table pointers of the
// calls, which then forward to the real gdi32 entries.
#include "support/GdiFakes.h"

#include <cstring>

namespace gdifakes {

bool recording = false;
std::vector<Created> created;
std::vector<HGDIOBJ> deleted;
bool regionFails = false;
bool brushFails = false;

void Reset() {
    recording = false;
    created.clear();
    deleted.clear();
    regionFails = false;
    brushFails = false;
}

void StartRecording() {
    created.clear();
    deleted.clear();
    recording = true;
}

int CountCreated(const char* kind) {
    int n = 0;
    for (const Created& c : created)
        if (std::strcmp(c.kind, kind) == 0)
            n++;
    return n;
}

} // namespace gdifakes

namespace {

FARPROC RealGdi(const char* name) {
    return GetProcAddress(GetModuleHandleW(L"gdi32.dll"), name);
}

HGDIOBJ Note(const char* kind, HGDIOBJ handle) {
    if (gdifakes::recording)
        gdifakes::created.push_back({kind, handle});
    return handle;
}

HPEN WINAPI FakeCreatePen(int style, int width, COLORREF color) {
    using Proc = HPEN(WINAPI*)(int, int, COLORREF);
    static Proc real = (Proc)(void*)RealGdi("CreatePen");
    return (HPEN)Note("pen", real(style, width, color));
}

HBRUSH WINAPI FakeCreateSolidBrush(COLORREF color) {
    using Proc = HBRUSH(WINAPI*)(COLORREF);
    static Proc real = (Proc)(void*)RealGdi("CreateSolidBrush");
    if (gdifakes::brushFails)
        return (HBRUSH)Note("brush", nullptr);
    return (HBRUSH)Note("brush", real(color));
}

HRGN WINAPI FakeCreatePolygonRgn(const POINT* points, int count, int mode) {
    using Proc = HRGN(WINAPI*)(const POINT*, int, int);
    static Proc real = (Proc)(void*)RealGdi("CreatePolygonRgn");
    if (gdifakes::regionFails)
        return (HRGN)Note("region", nullptr);
    return (HRGN)Note("region", real(points, count, mode));
}

BOOL WINAPI FakeDeleteObject(HGDIOBJ object) {
    using Proc = BOOL(WINAPI*)(HGDIOBJ);
    static Proc real = (Proc)(void*)RealGdi("DeleteObject");
    if (gdifakes::recording)
        gdifakes::deleted.push_back(object);
    return real(object);
}

} // namespace

#if defined(_WIN64)
#define GDI_IMPORT_SYMBOL(name, argBytes) "__imp_" #name
#else
#define GDI_IMPORT_SYMBOL(name, argBytes) "__imp__" #name "@" #argBytes
#endif

extern "C" {
void* impCreatePen __asm__(GDI_IMPORT_SYMBOL(CreatePen, 12)) = (void*)&FakeCreatePen;
void* impCreateSolidBrush __asm__(GDI_IMPORT_SYMBOL(CreateSolidBrush, 4)) = (void*)&FakeCreateSolidBrush;
void* impCreatePolygonRgn __asm__(GDI_IMPORT_SYMBOL(CreatePolygonRgn, 12)) = (void*)&FakeCreatePolygonRgn;
void* impDeleteObject __asm__(GDI_IMPORT_SYMBOL(DeleteObject, 4)) = (void*)&FakeDeleteObject;
}
