// Installed like PlatformFakes: by defining the import-table pointers. Each
// replacement forwards to the real gdi32 entry.
#include "support/GdiRecorder.h"

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

namespace {

FARPROC Real(const char* name) {
    HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    if (!gdi)
        gdi = LoadLibraryW(L"gdi32.dll");
    return GetProcAddress(gdi, name);
}

template <typename F> F RealEntry(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(Real(name)));
}

HPEN WINAPI RecCreatePen(int style, int width, COLORREF color) {
    static auto real = RealEntry<HPEN(WINAPI*)(int, int, COLORREF)>("CreatePen");
    HPEN pen = real(style, width, color);
    if (gdirec::recording)
        gdirec::events.push_back({gdirec::CREATE_PEN, pen, nullptr, color, style, width, false});
    return pen;
}

HBRUSH WINAPI RecCreateSolidBrush(COLORREF color) {
    static auto real = RealEntry<HBRUSH(WINAPI*)(COLORREF)>("CreateSolidBrush");
    HBRUSH brush = real(color);
    if (gdirec::recording)
        gdirec::events.push_back({gdirec::CREATE_BRUSH, brush, nullptr, color, 0, 0, false});
    return brush;
}

HGDIOBJ WINAPI RecSelectObject(HDC dc, HGDIOBJ object) {
    static auto real = RealEntry<HGDIOBJ(WINAPI*)(HDC, HGDIOBJ)>("SelectObject");
    HGDIOBJ previous = real(dc, object);
    if (gdirec::recording) {
        gdirec::lastDc = dc;
        gdirec::events.push_back({gdirec::SELECT, object, previous, 0, 0, 0, false});
    }
    return previous;
}

BOOL WINAPI RecDeleteObject(HGDIOBJ object) {
    static auto real = RealEntry<BOOL(WINAPI*)(HGDIOBJ)>("DeleteObject");
    bool selected = false;
    if (gdirec::recording && gdirec::lastDc) {
        selected = GetCurrentObject(gdirec::lastDc, OBJ_PEN) == object ||
                   GetCurrentObject(gdirec::lastDc, OBJ_BRUSH) == object;
        gdirec::events.push_back({gdirec::DELETE_OBJECT, object, nullptr, 0, 0, 0, selected});
    }
    return real(object);
}

} // namespace

#if defined(_WIN64)
#define IMPORT_SYMBOL(name, argBytes) "__imp_" #name
#else
#define IMPORT_SYMBOL(name, argBytes) "__imp__" #name "@" #argBytes
#endif

extern "C" {
void* impCreatePen __asm__(IMPORT_SYMBOL(CreatePen, 12)) = (void*)&RecCreatePen;
void* impCreateSolidBrush __asm__(IMPORT_SYMBOL(CreateSolidBrush, 4)) = (void*)&RecCreateSolidBrush;
void* impSelectObject __asm__(IMPORT_SYMBOL(SelectObject, 8)) = (void*)&RecSelectObject;
void* impDeleteObject __asm__(IMPORT_SYMBOL(DeleteObject, 4)) = (void*)&RecDeleteObject;
}
