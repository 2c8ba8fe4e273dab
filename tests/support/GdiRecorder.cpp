// Installed like PlatformFakes: by defining the import-table pointers of the
// calls, which then forward to the real gdi32 and user32 entries.
#include "support/GdiRecorder.h"

#include <algorithm>
#include <sstream>

namespace gdirec {

std::vector<Event> events;
bool regionFails = false;
bool brushFails = false;
bool dibSectionFails = false;

namespace {

bool recording = false;

// The DCs selected into while recording, for telling whether a deleted object
// is still selected somewhere. A fixed table: nothing is allocated in the calls.
constexpr int MAX_DCS = 32;
HDC selectedDcs[MAX_DCS];
int selectedDcCount = 0;

void NoteSelectedDc(HDC dc) {
    for (int i = 0; i < selectedDcCount; i++)
        if (selectedDcs[i] == dc)
            return;
    if (selectedDcCount < MAX_DCS)
        selectedDcs[selectedDcCount++] = dc;
}

bool SelectedAnywhere(HGDIOBJ object) {
    for (int i = 0; i < selectedDcCount; i++)
        for (UINT type : {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP})
            if (GetCurrentObject(selectedDcs[i], type) == object)
                return true;
    return false;
}

void Note(Kind kind, HGDIOBJ object, HDC dc = nullptr) {
    Event e = {};
    e.kind = kind;
    e.object = object;
    e.dc = dc;
    events.push_back(e);
}

// Per selectable kind of object: its slot in a DC's replayed state.
int SelectionSlot(DWORD type) {
    switch (type) {
    case OBJ_PEN:
        return 0;
    case OBJ_BRUSH:
        return 1;
    case OBJ_FONT:
        return 2;
    case OBJ_BITMAP:
        return 3;
    default:
        return -1; // regions select as clipping: nothing to put back
    }
}

const char* const SLOT_NAMES[] = {"pen", "brush", "font", "bitmap"};

const char* KindName(Kind kind) {
    switch (kind) {
    case CREATE_PEN:
        return "pen";
    case CREATE_BRUSH:
        return "brush";
    case CREATE_REGION:
        return "region";
    case CREATE_BITMAP:
        return "bitmap";
    case GET_DC:
        return "GetDC";
    case GET_WINDOW_DC:
        return "GetWindowDC";
    case CREATE_DC:
        return "CreateCompatibleDC";
    default:
        return "?";
    }
}

// A DC's selections, replayed from the records: what each slot held before
// the first recorded selection, and what it holds now.
struct DcSelections {
    HDC dc;
    HGDIOBJ before[4];
    HGDIOBJ now[4];
};

void CheckRestored(const DcSelections& s, const char* when, std::ostringstream& problems) {
    for (int slot = 0; slot < 4; slot++)
        if (s.before[slot] && s.now[slot] != s.before[slot])
            problems << SLOT_NAMES[slot] << " of DC " << s.dc << " not put back " << when << "; ";
}

} // namespace

void Start() {
    events.clear();
    selectedDcCount = 0;
    recording = true;
}

void Stop() {
    recording = false;
}

void Reset() {
    Stop();
    events.clear();
    selectedDcCount = 0;
    regionFails = false;
    brushFails = false;
    dibSectionFails = false;
}

std::vector<Event> Only(Kind kind) {
    std::vector<Event> out;
    for (const Event& e : events)
        if (e.kind == kind)
            out.push_back(e);
    return out;
}

int Count(Kind kind) {
    return (int)Only(kind).size();
}

std::string Trace() {
    struct Name {
        const void* handle;
        std::string name;
    };
    std::vector<Name> names;
    int counts[DELETE_DC + 1] = {};
    auto name = [&](const void* handle) -> std::string {
        if (!handle)
            return "null";
        for (auto it = names.rbegin(); it != names.rend(); ++it)
            if (it->handle == handle)
                return it->name;
        return "other";
    };
    auto give = [&](const void* handle, Kind kind, const char* prefix) {
        if (!handle)
            return std::string("null");
        names.push_back({handle, prefix + std::to_string(++counts[kind])});
        return names.back().name;
    };
    std::string out;
    for (const Event& e : events) {
        if (!out.empty())
            out += ' ';
        switch (e.kind) {
        case CREATE_PEN:
            out += "CreatePen=" + give(e.object, e.kind, "pen");
            break;
        case CREATE_BRUSH:
            out += "CreateSolidBrush=" + give(e.object, e.kind, "brush");
            break;
        case CREATE_REGION:
            out += "CreatePolygonRgn=" + give(e.object, e.kind, "region");
            break;
        case CREATE_BITMAP:
            out += "CreateDIBSection=" + give(e.object, e.kind, "bitmap");
            break;
        case SELECT:
            out += "SelectObject(" + name(e.object) + ")";
            break;
        case DELETE_OBJECT:
            out += "DeleteObject(" + name(e.object) + ")";
            break;
        case GET_DC:
            out += "GetDC=" + give(e.dc, GET_DC, "dc");
            break;
        case GET_WINDOW_DC:
            out += "GetWindowDC=" + give(e.dc, GET_DC, "dc");
            break;
        case CREATE_DC:
            out += "CreateCompatibleDC=" + give(e.dc, GET_DC, "dc");
            break;
        case RELEASE_DC:
            out += "ReleaseDC(" + name(e.dc) + ")";
            break;
        case DELETE_DC:
            out += "DeleteDC(" + name(e.dc) + ")";
            break;
        }
    }
    return out;
}

::testing::AssertionResult Balanced() {
    std::ostringstream problems;
    struct Live {
        HGDIOBJ object;
        Kind kind;
    };
    std::vector<Live> objects;
    std::vector<Live> dcs;
    std::vector<DcSelections> selections;
    auto selectionsOf = [&](HDC dc) -> DcSelections& {
        for (DcSelections& s : selections)
            if (s.dc == dc)
                return s;
        selections.push_back(DcSelections{dc, {}, {}});
        return selections.back();
    };
    auto forget = [](std::vector<Live>& list, HGDIOBJ handle) {
        auto it = std::find_if(list.begin(), list.end(), [&](const Live& l) { return l.object == handle; });
        if (it == list.end())
            return false;
        list.erase(it);
        return true;
    };
    auto giveBack = [&](const Event& e, const char* how) {
        if (!e.succeeded)
            problems << how << " of DC " << e.dc << " failed; ";
        if (!forget(dcs, e.dc))
            problems << how << " of DC " << e.dc << " that was not obtained by the matching call; ";
        auto it = std::find_if(selections.begin(), selections.end(),
                               [&](const DcSelections& s) { return s.dc == e.dc; });
        if (it != selections.end()) {
            CheckRestored(*it, "before it went", problems);
            selections.erase(it);
        }
    };

    for (const Event& e : events) {
        switch (e.kind) {
        case CREATE_PEN:
        case CREATE_BRUSH:
        case CREATE_REGION:
        case CREATE_BITMAP:
            if (e.object)
                objects.push_back({e.object, e.kind});
            break;
        case SELECT: {
            int slot = SelectionSlot(e.type);
            if (slot < 0 || !e.previous)
                break;
            DcSelections& s = selectionsOf(e.dc);
            if (!s.before[slot])
                s.before[slot] = e.previous;
            s.now[slot] = e.object;
            break;
        }
        case DELETE_OBJECT:
            if (e.deletedSelected)
                problems << "object " << e.object << " deleted while still selected; ";
            if (e.succeeded)
                forget(objects, e.object);
            break;
        case GET_DC:
        case GET_WINDOW_DC:
        case CREATE_DC:
            if (e.dc)
                dcs.push_back({(HGDIOBJ)e.dc, e.kind});
            break;
        case RELEASE_DC:
            if (e.dc && std::none_of(dcs.begin(), dcs.end(), [&](const Live& l) {
                    return l.object == (HGDIOBJ)e.dc && l.kind == CREATE_DC;
                }))
                giveBack(e, "ReleaseDC");
            else
                problems << "ReleaseDC of DC " << e.dc << " that GetDC or GetWindowDC did not give; ";
            break;
        case DELETE_DC:
            if (e.dc && std::any_of(dcs.begin(), dcs.end(), [&](const Live& l) {
                    return l.object == (HGDIOBJ)e.dc && l.kind == CREATE_DC;
                }))
                giveBack(e, "DeleteDC");
            else
                problems << "DeleteDC of DC " << e.dc << " that CreateCompatibleDC did not give; ";
            break;
        }
    }
    for (const Live& l : objects)
        problems << KindName(l.kind) << " " << l.object << " never deleted; ";
    for (const Live& l : dcs)
        problems << "DC " << l.object << " from " << KindName(l.kind) << " never given back; ";
    for (const DcSelections& s : selections)
        CheckRestored(s, "at the end", problems);

    std::string text = problems.str();
    if (text.empty())
        return ::testing::AssertionSuccess() << events.size() << " GDI calls balanced";
    return ::testing::AssertionFailure() << "GDI left behind: " << text;
}

} // namespace gdirec

namespace {

using gdirec::events;
using gdirec::recording;

FARPROC RealEntry(const wchar_t* module, const char* name) {
    return GetProcAddress(GetModuleHandleW(module), name);
}

HPEN WINAPI FakeCreatePen(int style, int width, COLORREF color) {
    using Proc = HPEN(WINAPI*)(int, int, COLORREF);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "CreatePen");
    HPEN pen = real(style, width, color);
    if (recording) {
        gdirec::Note(gdirec::CREATE_PEN, pen);
        events.back().color = color;
        events.back().style = style;
        events.back().width = width;
    }
    return pen;
}

HBRUSH WINAPI FakeCreateSolidBrush(COLORREF color) {
    using Proc = HBRUSH(WINAPI*)(COLORREF);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "CreateSolidBrush");
    HBRUSH brush = gdirec::brushFails ? nullptr : real(color);
    if (recording) {
        gdirec::Note(gdirec::CREATE_BRUSH, brush);
        events.back().color = color;
    }
    return brush;
}

HRGN WINAPI FakeCreatePolygonRgn(const POINT* points, int count, int mode) {
    using Proc = HRGN(WINAPI*)(const POINT*, int, int);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "CreatePolygonRgn");
    HRGN region = gdirec::regionFails ? nullptr : real(points, count, mode);
    if (recording)
        gdirec::Note(gdirec::CREATE_REGION, region);
    return region;
}

HBITMAP WINAPI FakeCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                    DWORD offset) {
    using Proc = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "CreateDIBSection");
    HBITMAP bitmap = nullptr;
    if (gdirec::dibSectionFails) {
        if (bits)
            *bits = nullptr;
    } else {
        bitmap = real(dc, info, usage, bits, section, offset);
    }
    if (recording)
        gdirec::Note(gdirec::CREATE_BITMAP, bitmap, dc);
    return bitmap;
}

HGDIOBJ WINAPI FakeSelectObject(HDC dc, HGDIOBJ object) {
    using Proc = HGDIOBJ(WINAPI*)(HDC, HGDIOBJ);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "SelectObject");
    HGDIOBJ previous = real(dc, object);
    if (recording) {
        gdirec::NoteSelectedDc(dc);
        gdirec::Note(gdirec::SELECT, object, dc);
        events.back().previous = previous;
        events.back().type = GetObjectType(object);
    }
    return previous;
}

BOOL WINAPI FakeDeleteObject(HGDIOBJ object) {
    using Proc = BOOL(WINAPI*)(HGDIOBJ);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "DeleteObject");
    bool selected = recording && gdirec::SelectedAnywhere(object);
    BOOL deleted = real(object);
    if (recording) {
        gdirec::Note(gdirec::DELETE_OBJECT, object);
        events.back().deletedSelected = selected;
        events.back().succeeded = deleted != FALSE;
    }
    return deleted;
}

HDC WINAPI FakeGetDC(HWND hwnd) {
    using Proc = HDC(WINAPI*)(HWND);
    static Proc real = (Proc)(void*)RealEntry(L"user32.dll", "GetDC");
    HDC dc = real(hwnd);
    if (recording)
        gdirec::Note(gdirec::GET_DC, nullptr, dc);
    return dc;
}

HDC WINAPI FakeGetWindowDC(HWND hwnd) {
    using Proc = HDC(WINAPI*)(HWND);
    static Proc real = (Proc)(void*)RealEntry(L"user32.dll", "GetWindowDC");
    HDC dc = real(hwnd);
    if (recording)
        gdirec::Note(gdirec::GET_WINDOW_DC, nullptr, dc);
    return dc;
}

int WINAPI FakeReleaseDC(HWND hwnd, HDC dc) {
    using Proc = int(WINAPI*)(HWND, HDC);
    static Proc real = (Proc)(void*)RealEntry(L"user32.dll", "ReleaseDC");
    int released = real(hwnd, dc);
    if (recording) {
        gdirec::Note(gdirec::RELEASE_DC, nullptr, dc);
        events.back().succeeded = released != 0;
    }
    return released;
}

HDC WINAPI FakeCreateCompatibleDC(HDC dc) {
    using Proc = HDC(WINAPI*)(HDC);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "CreateCompatibleDC");
    HDC created = real(dc);
    if (recording)
        gdirec::Note(gdirec::CREATE_DC, nullptr, created);
    return created;
}

BOOL WINAPI FakeDeleteDC(HDC dc) {
    using Proc = BOOL(WINAPI*)(HDC);
    static Proc real = (Proc)(void*)RealEntry(L"gdi32.dll", "DeleteDC");
    BOOL deleted = real(dc);
    if (recording) {
        gdirec::Note(gdirec::DELETE_DC, nullptr, dc);
        events.back().succeeded = deleted != FALSE;
    }
    return deleted;
}

// Every test starts with the recorder stopped, empty and nothing failing.
class ResetEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        gdirec::Reset();
    }
};

const bool installed = (::testing::UnitTest::GetInstance()->listeners().Append(new ResetEachTest), true);

} // namespace

#if defined(_WIN64)
#define IMPORT_SYMBOL(name, argBytes) "__imp_" #name
#else
#define IMPORT_SYMBOL(name, argBytes) "__imp__" #name "@" #argBytes
#endif

extern "C" {
void* impCreatePen __asm__(IMPORT_SYMBOL(CreatePen, 12)) = (void*)&FakeCreatePen;
void* impCreateSolidBrush __asm__(IMPORT_SYMBOL(CreateSolidBrush, 4)) = (void*)&FakeCreateSolidBrush;
void* impCreatePolygonRgn __asm__(IMPORT_SYMBOL(CreatePolygonRgn, 12)) = (void*)&FakeCreatePolygonRgn;
void* impCreateDIBSection __asm__(IMPORT_SYMBOL(CreateDIBSection, 24)) = (void*)&FakeCreateDIBSection;
void* impSelectObject __asm__(IMPORT_SYMBOL(SelectObject, 8)) = (void*)&FakeSelectObject;
void* impDeleteObject __asm__(IMPORT_SYMBOL(DeleteObject, 4)) = (void*)&FakeDeleteObject;
void* impGetDC __asm__(IMPORT_SYMBOL(GetDC, 4)) = (void*)&FakeGetDC;
void* impGetWindowDC __asm__(IMPORT_SYMBOL(GetWindowDC, 4)) = (void*)&FakeGetWindowDC;
void* impReleaseDC __asm__(IMPORT_SYMBOL(ReleaseDC, 8)) = (void*)&FakeReleaseDC;
void* impCreateCompatibleDC __asm__(IMPORT_SYMBOL(CreateCompatibleDC, 4)) = (void*)&FakeCreateCompatibleDC;
void* impDeleteDC __asm__(IMPORT_SYMBOL(DeleteDC, 4)) = (void*)&FakeDeleteDC;
}
