// The compiled resources: menu, accelerators, strings, About box, icons and
// manifest, all in US English; and the version resource of both built
// executables.
#include "res/resource.h"

#include "KovrinVersion.h"

#include "app/Win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const WORD US_ENGLISH = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

const BYTE* Resource(LPCWSTR type, int id, DWORD* size = nullptr) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC r = FindResourceExW(module, type, MAKEINTRESOURCEW(id), US_ENGLISH);
    if (!r)
        return nullptr;
    if (size)
        *size = SizeofResource(module, r);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, r)));
}

std::wstring MenuText(HMENU menu, UINT position) {
    WCHAR text[100] = {};
    GetMenuStringW(menu, position, text, 100, MF_BYPOSITION);
    return text;
}

// Reader for the little-endian, WORD-aligned dialog template.
struct TemplateReader {
    const BYTE* p;
    WORD Word() {
        WORD w = *reinterpret_cast<const WORD*>(p);
        p += 2;
        return w;
    }
    DWORD Dword() {
        DWORD d = *reinterpret_cast<const DWORD*>(p);
        p += 4;
        return d;
    }
    short Short() {
        return (short)Word();
    }
    // A string, or an ordinal (0xFFFF n) returned as "#n".
    std::wstring SzOrOrd() {
        if (*reinterpret_cast<const WORD*>(p) == 0xFFFF) {
            p += 2;
            return L"#" + std::to_wstring(Word());
        }
        std::wstring s(reinterpret_cast<const WCHAR*>(p));
        p += 2 * (s.size() + 1);
        return s;
    }
    void AlignDword(const BYTE* base) {
        while ((p - base) % 4)
            p++;
    }
};

} // namespace

TEST(ResourceTest, MenuHasThreePopupsWithTheCommandsInOrder) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(MenuText(menu, 0), L"&File");
    EXPECT_EQ(MenuText(menu, 1), L"&DumpLog");
    EXPECT_EQ(MenuText(menu, 2), L"&Help");

    struct Item {
        UINT id;
        const wchar_t* text;
    };
    const std::vector<std::vector<Item>> expected = {{{IDM_EXIT, L"E&xit"},
                                                      {IDM_TOUCH, L"Touch"},
                                                      {IDM_GESTURE, L"Gesture"},
                                                      {IDM_LINE, L"Line (press ESC key to clear)"},
                                                      {IDM_GUIDED_TEST, L"Guided Test"},
                                                      {IDM_FULLSCREEN, L"FullScreen (SPACE key)"}},
                                                     {{IDM_DUMP_START, L"Start"}, {IDM_DUMP_STOP, L"Stop"}},
                                                     {{IDM_ABOUT, L"&About ..."}}};
    for (int p = 0; p < 3; p++) {
        HMENU popup = GetSubMenu(menu, p);
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), (int)expected[p].size());
        for (size_t i = 0; i < expected[p].size(); i++) {
            EXPECT_EQ(GetMenuItemID(popup, (int)i), expected[p][i].id);
            EXPECT_EQ(MenuText(popup, (UINT)i), expected[p][i].text);
            UINT state = GetMenuState(popup, (UINT)i, MF_BYPOSITION);
            EXPECT_EQ(state & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR), 0u);
        }
    }
    DestroyMenu(menu);
    EXPECT_NE(Resource(RT_MENU, IDR_MAIN), nullptr);
}

TEST(ResourceTest, AcceleratorsAreAltWithTheCharactersQuestionMarkAndSlash) {
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4];
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 2);
    EXPECT_EQ(entries[0].key, 63);
    EXPECT_EQ(entries[1].key, 47);
    for (const ACCEL& a : {entries[0], entries[1]}) {
        EXPECT_EQ(a.cmd, IDM_ABOUT);
        EXPECT_EQ(a.fVirt & ~0x80, FALT); // a character code: no FVIRTKEY
    }
    EXPECT_NE(Resource(RT_ACCELERATOR, IDR_MAIN), nullptr);
}

TEST(ResourceTest, StringTableHoldsTitleAndClassName) {
    WCHAR text[100];
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_WINDOW_TITLE, text, 100), 0);
    EXPECT_STREQ(text, L"kovrin");
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_WINDOW_CLASS, text, 100), 0);
    EXPECT_STREQ(text, L"KOVRIN");
    // Strings 97..112 share block 7.
    EXPECT_NE(Resource(RT_STRING, IDS_WINDOW_TITLE / 16 + 1), nullptr);
}

TEST(ResourceTest, AboutDialogTemplateIsExtendedWithFourControls) {
    const BYTE* base = Resource(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(base, nullptr);
    TemplateReader r{base};
    EXPECT_EQ(r.Word(), 1);      // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF); // signature: extended template
    r.Dword();                   // helpID
    EXPECT_EQ(r.Dword(), 0u);    // exStyle
    EXPECT_EQ(r.Dword(), (DWORD)(DS_MODALFRAME | DS_SETFONT | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(r.Word(), 4); // controls
    EXPECT_EQ(r.Short(), 22);
    EXPECT_EQ(r.Short(), 17);
    EXPECT_EQ(r.Short(), 230);
    EXPECT_EQ(r.Short(), 75);
    EXPECT_EQ(r.SzOrOrd(), L""); // no menu
    EXPECT_EQ(r.SzOrOrd(), L""); // default class
    EXPECT_EQ(r.SzOrOrd(), L"About");
    EXPECT_EQ(r.Word(), 8); // point size
    EXPECT_EQ(r.Word(), 0); // weight
    EXPECT_EQ(*r.p++, 0);   // italic
    EXPECT_EQ(*r.p++, 0);   // character set
    EXPECT_EQ(r.SzOrOrd(), L"System");

    struct Control {
        DWORD style;
        short x, y, cx, cy;
        DWORD id;
        const wchar_t* cls;
        const wchar_t* name;
        const wchar_t* text;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Control expected[4] = {
        {child | SS_ICON, 14, 9, 20, 20, 2, L"#130", L"STATIC", L"#107"},
        {child | WS_GROUP | SS_NOPREFIX | SS_LEFT, 49, 10, 119, 8, (DWORD)-1, L"#130", L"STATIC",
         L"kovrin Version 1.7.0322.0"},
        {child | WS_GROUP | SS_LEFT, 49, 20, 119, 8, (DWORD)-1, L"#130", L"STATIC", nullptr},
        {child | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 195, 6, 30, 11, IDOK, L"#128", L"BUTTON", L"OK"},
    };
    for (const Control& c : expected) {
        r.AlignDword(base);
        r.Dword(); // helpID
        EXPECT_EQ(r.Dword(), 0u);
        EXPECT_EQ(r.Dword(), c.style);
        EXPECT_EQ(r.Short(), c.x);
        EXPECT_EQ(r.Short(), c.y);
        EXPECT_EQ(r.Short(), c.cx);
        EXPECT_EQ(r.Short(), c.cy);
        EXPECT_EQ(r.Dword(), c.id);
        // The class as an ordinal, or by name as some resource compilers store it.
        std::wstring cls = r.SzOrOrd();
        CharUpperW(&cls[0]);
        EXPECT_TRUE(cls == c.cls || cls == c.name) << "class " << std::string(cls.begin(), cls.end());
        std::wstring text = r.SzOrOrd();
        if (c.text)
            EXPECT_EQ(text, c.text);
        else
            EXPECT_FALSE(text.empty()); // the description line
        WORD extra = r.Word();
        r.p += extra;
    }
}

TEST(ResourceTest, IconGroupsHoldTheEightImages) {
    for (int id : {IDI_APP, IDI_APP_SMALL}) {
        const BYTE* group = Resource(RT_GROUP_ICON, id);
        ASSERT_NE(group, nullptr) << id;
        const WORD* header = reinterpret_cast<const WORD*>(group);
        EXPECT_EQ(header[1], 1); // icon
        ASSERT_EQ(header[2], 8);
        const int expected[8][2] = {{16, 4}, {16, 8},  {16, 32}, {32, 4},
                                    {32, 8}, {32, 32}, {48, 8},  {48, 32}};
        for (int i = 0; i < 8; i++) {
            const BYTE* entry = group + 6 + 14 * i; // GRPICONDIRENTRY, packed
            EXPECT_EQ(entry[0], expected[i][0]);
            EXPECT_EQ(entry[1], expected[i][0]);
            EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), expected[i][1]);
            WORD imageId = *reinterpret_cast<const WORD*>(entry + 12);
            EXPECT_NE(Resource(RT_ICON, imageId), nullptr);
        }
    }
}

TEST(ResourceTest, ManifestAsksForTheInvokersRightsWithoutUiAccess) {
    DWORD size = 0;
    const BYTE* data = Resource(RT_MANIFEST, 1, &size);
    ASSERT_NE(data, nullptr);
    std::string manifest(reinterpret_cast<const char*>(data), size);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
}

TEST(ResourceTest, BothExecutablesCarryTheProjectVersion) {
    const DWORD high = MAKELONG(KOVRIN_VERSION_MINOR, KOVRIN_VERSION_MAJOR),
                low = MAKELONG(0, KOVRIN_VERSION_PATCH);
    for (std::wstring path : {KOVRIN_EXE, KOVRIN_REPORT_EXE}) {
        std::vector<BYTE> data(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        ASSERT_FALSE(data.empty()) << path.size();
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, (DWORD)data.size(), data.data()));
        // Filed under US English, where Explorer's Details look; the lookups below take any language.
        HMODULE image = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(FindResourceExW(image, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), US_ENGLISH), nullptr);
        FreeLibrary(image);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", (void**)&fixed, &length));
        EXPECT_EQ(std::vector<DWORD>({fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                      fixed->dwProductVersionMS, fixed->dwProductVersionLS}),
                  std::vector<DWORD>({high, low, high, low}));
        // US English, Unicode; nullptr: any text.
        const wchar_t* strings[][2] = {{L"FileVersion", TEXT(KOVRIN_VERSION)},
                                       {L"ProductVersion", TEXT(KOVRIN_VERSION)},
                                       {L"ProductName", L"kovrin"},
                                       {L"OriginalFilename", path.c_str() + path.find_last_of(L'/') + 1},
                                       {L"FileDescription", nullptr},
                                       {L"LegalCopyright", nullptr}};
        for (auto& [key, value] : strings) {
            wchar_t* text = nullptr;
            std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
            ASSERT_TRUE(VerQueryValueW(data.data(), query.c_str(), (void**)&text, &length)) << key;
            EXPECT_TRUE(value ? text == std::wstring(value) : length > 1) << key;
        }
    }
}
