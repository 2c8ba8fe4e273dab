// Installed like PlatformFakes: by defining the import-table pointers of the
// calls, which then forward to the real gdi32 entries. One set of replacements
// feeds both views: the created/deleted lists and the event list.
#include "support/GdiFakes.h"

#include "support/GdiRecorder.h"

#include <cstring>

namespace gdirec {

std::vector<Event> events;
bool recording = false;
HDC lastDc = nullptr;

void Start() {
    events.clear();
    lastDc = nullptr;
    recording = true;
}

void Stop() {
    recording = false;
}

} // namespace gdirec

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
    HPEN pen = real(style, width, color);
    if (gdirec::recording)
        gdirec::events.push_back({gdirec::CREATE_PEN, pen, nullptr, color, style, width, false});
    return (HPEN)Note("pen", pen);
}

HBRUSH WINAPI FakeCreateSolidBrush(COLORREF color) {
    using Proc = HBRUSH(WINAPI*)(COLORREF);
    static Proc real = (Proc)(void*)RealGdi("CreateSolidBrush");
    HBRUSH brush = gdifakes::brushFails ? nullptr : real(color);
    if (gdirec::recording)
        gdirec::events.push_back({gdirec::CREATE_BRUSH, brush, nullptr, color, 0, 0, false});
    return (HBRUSH)Note("brush", brush);
}

HGDIOBJ WINAPI FakeSelectObject(HDC dc, HGDIOBJ object) {
    using Proc = HGDIOBJ(WINAPI*)(HDC, HGDIOBJ);
    static Proc real = (Proc)(void*)RealGdi("SelectObject");
    HGDIOBJ previous = real(dc, object);
    if (gdirec::recording) {
        gdirec::lastDc = dc;
        gdirec::events.push_back({gdirec::SELECT, object, previous, 0, 0, 0, false});
    }
    return previous;
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
    if (gdirec::recording && gdirec::lastDc) {
        bool selected = GetCurrentObject(gdirec::lastDc, OBJ_PEN) == object ||
                        GetCurrentObject(gdirec::lastDc, OBJ_BRUSH) == object;
        gdirec::events.push_back({gdirec::DELETE_OBJECT, object, nullptr, 0, 0, 0, selected});
    }
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
void* impSelectObject __asm__(GDI_IMPORT_SYMBOL(SelectObject, 8)) = (void*)&FakeSelectObject;
void* impCreatePolygonRgn __asm__(GDI_IMPORT_SYMBOL(CreatePolygonRgn, 12)) = (void*)&FakeCreatePolygonRgn;
void* impDeleteObject __asm__(GDI_IMPORT_SYMBOL(DeleteObject, 4)) = (void*)&FakeDeleteObject;
}
