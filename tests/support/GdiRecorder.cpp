// Installed through the import table (ImportTable.h); every replacement passes
// the call on to the real gdi32 or user32 entry.
#include "support/GdiRecorder.h"

#include "support/ImportTable.h"

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

// Per kind: the call recorded, and the name given to the handle it returns
// (null for the calls that take one).
struct KindNames {
    const char* call;
    const char* handle;
};
const KindNames KIND_NAMES[] = {
    {"CreatePen", "pen"},
    {"CreateSolidBrush", "brush"},
    {"CreatePolygonRgn", "region"},
    {"CreateDIBSection", "bitmap"},
    {"SelectObject", nullptr},
    {"DeleteObject", nullptr},
    {"GetDC", "dc"},
    {"GetWindowDC", "dc"},
    {"ReleaseDC", nullptr},
    {"CreateCompatibleDC", "dc"},
    {"DeleteDC", nullptr},
    {"BeginPaint", "dc"},
    {"EndPaint", nullptr},
};

// The call that gives a DC back, per call that obtained it, and what obtains
// the DCs a call gives back.
Kind GiveBackOf(Kind obtained) {
    return obtained == CREATE_DC ? DELETE_DC : obtained == BEGIN_PAINT ? END_PAINT : RELEASE_DC;
}
const char* ObtainedBy(Kind givenBack) {
    return givenBack == DELETE_DC   ? "CreateCompatibleDC"
           : givenBack == END_PAINT ? "BeginPaint"
                                    : "GetDC or GetWindowDC";
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
    int dcs = 0, objects[4] = {};
    std::string out;
    for (const Event& e : events) {
        const KindNames& kind = KIND_NAMES[e.kind];
        bool dcCall = e.kind >= GET_DC;
        const void* handle = dcCall ? (const void*)e.dc : e.object;
        std::string name = handle ? "other" : "null";
        if (handle && kind.handle) {
            name = kind.handle + std::to_string(dcCall ? ++dcs : ++objects[e.kind]);
            names.push_back({handle, name});
        } else if (handle) {
            for (auto it = names.rbegin(); it != names.rend(); ++it)
                if (it->handle == handle) {
                    name = it->name;
                    break;
                }
        }
        if (!out.empty())
            out += ' ';
        out += kind.call;
        out += kind.handle ? "=" + name : "(" + name + ")";
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
    // A DC goes back through the call matching the one that gave it: ReleaseDC
    // for GetDC and GetWindowDC, DeleteDC for CreateCompatibleDC, EndPaint for
    // BeginPaint (a paint that got no DC is still ended).
    auto giveBack = [&](const Event& e) {
        const char* how = KIND_NAMES[e.kind].call;
        if (e.kind == END_PAINT && !e.dc)
            return;
        auto given = std::find_if(dcs.begin(), dcs.end(), [&](const Live& l) {
            return l.object == (HGDIOBJ)e.dc && GiveBackOf(l.kind) == e.kind;
        });
        if (!e.dc || given == dcs.end()) {
            problems << how << " of DC " << e.dc << " that " << ObtainedBy(e.kind) << " did not give; ";
            return;
        }
        dcs.erase(given);
        if (!e.succeeded)
            problems << how << " of DC " << e.dc << " failed; ";
        auto s = std::find_if(selections.begin(), selections.end(),
                              [&](const DcSelections& d) { return d.dc == e.dc; });
        if (s != selections.end()) {
            CheckRestored(*s, "before it went", problems);
            selections.erase(s);
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
        case DELETE_OBJECT: {
            if (e.deletedSelected)
                problems << "object " << e.object << " deleted while still selected; ";
            auto deleted = std::find_if(objects.begin(), objects.end(),
                                        [&](const Live& l) { return l.object == e.object; });
            if (e.succeeded && deleted != objects.end())
                objects.erase(deleted);
            break;
        }
        case GET_DC:
        case GET_WINDOW_DC:
        case CREATE_DC:
        case BEGIN_PAINT:
            if (e.dc)
                dcs.push_back({(HGDIOBJ)e.dc, e.kind});
            break;
        case RELEASE_DC:
        case DELETE_DC:
        case END_PAINT:
            giveBack(e);
            break;
        }
    }
    for (const Live& l : objects)
        problems << KIND_NAMES[l.kind].handle << " " << l.object << " never deleted; ";
    for (const Live& l : dcs)
        problems << "DC " << l.object << " from " << KIND_NAMES[l.kind].call << " never given back; ";
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
using gdirec::Kind;
using gdirec::recording;

// Notes a creation (null when it failed) and hands the handle on.
template <typename THandle> THandle Created(Kind kind, THandle handle, HDC dc = nullptr) {
    if (recording)
        gdirec::Note(kind, handle, dc);
    return handle;
}

// Notes a DC obtained (null when that failed) and hands it on.
HDC Obtained(Kind kind, HDC dc) {
    if (recording)
        gdirec::Note(kind, nullptr, dc);
    return dc;
}

// Notes a DC given back, with whether that worked.
template <typename TResult> TResult GivenBack(Kind kind, HDC dc, TResult result) {
    if (recording) {
        gdirec::Note(kind, nullptr, dc);
        events.back().succeeded = result != 0;
    }
    return result;
}

HPEN WINAPI FakeCreatePen(int style, int width, COLORREF color) {
    static auto real = RealEntry<HPEN(WINAPI*)(int, int, COLORREF)>(L"gdi32.dll", "CreatePen");
    HPEN pen = Created(gdirec::CREATE_PEN, real(style, width, color));
    if (recording) {
        events.back().color = color;
        events.back().style = style;
        events.back().width = width;
    }
    return pen;
}

HBRUSH WINAPI FakeCreateSolidBrush(COLORREF color) {
    static auto real = RealEntry<HBRUSH(WINAPI*)(COLORREF)>(L"gdi32.dll", "CreateSolidBrush");
    HBRUSH brush = Created(gdirec::CREATE_BRUSH, gdirec::brushFails ? nullptr : real(color));
    if (recording)
        events.back().color = color;
    return brush;
}

HRGN WINAPI FakeCreatePolygonRgn(const POINT* points, int count, int mode) {
    static auto real = RealEntry<HRGN(WINAPI*)(const POINT*, int, int)>(L"gdi32.dll", "CreatePolygonRgn");
    return Created(gdirec::CREATE_REGION, gdirec::regionFails ? nullptr : real(points, count, mode));
}

HBITMAP WINAPI FakeCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                    DWORD offset) {
    using Proc = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
    static Proc real = RealEntry<Proc>(L"gdi32.dll", "CreateDIBSection");
    if (gdirec::dibSectionFails && bits)
        *bits = nullptr;
    HBITMAP bitmap = gdirec::dibSectionFails ? nullptr : real(dc, info, usage, bits, section, offset);
    return Created(gdirec::CREATE_BITMAP, bitmap, dc);
}

HGDIOBJ WINAPI FakeSelectObject(HDC dc, HGDIOBJ object) {
    static auto real = RealEntry<HGDIOBJ(WINAPI*)(HDC, HGDIOBJ)>(L"gdi32.dll", "SelectObject");
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
    static auto real = RealEntry<BOOL(WINAPI*)(HGDIOBJ)>(L"gdi32.dll", "DeleteObject");
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
    static auto real = RealEntry<HDC(WINAPI*)(HWND)>(L"user32.dll", "GetDC");
    return Obtained(gdirec::GET_DC, real(hwnd));
}

HDC WINAPI FakeGetWindowDC(HWND hwnd) {
    static auto real = RealEntry<HDC(WINAPI*)(HWND)>(L"user32.dll", "GetWindowDC");
    return Obtained(gdirec::GET_WINDOW_DC, real(hwnd));
}

int WINAPI FakeReleaseDC(HWND hwnd, HDC dc) {
    static auto real = RealEntry<int(WINAPI*)(HWND, HDC)>(L"user32.dll", "ReleaseDC");
    return GivenBack(gdirec::RELEASE_DC, dc, real(hwnd, dc));
}

HDC WINAPI FakeCreateCompatibleDC(HDC dc) {
    static auto real = RealEntry<HDC(WINAPI*)(HDC)>(L"gdi32.dll", "CreateCompatibleDC");
    return Obtained(gdirec::CREATE_DC, real(dc));
}

BOOL WINAPI FakeDeleteDC(HDC dc) {
    static auto real = RealEntry<BOOL(WINAPI*)(HDC)>(L"gdi32.dll", "DeleteDC");
    return GivenBack(gdirec::DELETE_DC, dc, real(dc));
}

HDC WINAPI FakeBeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    static auto real = RealEntry<HDC(WINAPI*)(HWND, PAINTSTRUCT*)>(L"user32.dll", "BeginPaint");
    return Obtained(gdirec::BEGIN_PAINT, real(hwnd, paint));
}

BOOL WINAPI FakeEndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    static auto real = RealEntry<BOOL(WINAPI*)(HWND, const PAINTSTRUCT*)>(L"user32.dll", "EndPaint");
    return GivenBack(gdirec::END_PAINT, paint->hdc, real(hwnd, paint));
}

// Every test starts with the recorder stopped, empty and nothing failing.
class ResetEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        gdirec::Reset();
    }
};

const bool installed = (::testing::UnitTest::GetInstance()->listeners().Append(new ResetEachTest), true);

} // namespace

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
void* impBeginPaint __asm__(IMPORT_SYMBOL(BeginPaint, 8)) = (void*)&FakeBeginPaint;
void* impEndPaint __asm__(IMPORT_SYMBOL(EndPaint, 8)) = (void*)&FakeEndPaint;
}
