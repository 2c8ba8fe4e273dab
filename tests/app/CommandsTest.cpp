// Menu commands, hot keys and the About box on the real window: check marks,
// touch registration, the dump file, erase requests and the modal box.
#include "app/AppState.h"
#include "app/Commands.h"
#include "res/resource.h"
#include "support/ClientPixels.h"
#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using CommandsTest = WindowTest;

UINT MenuState(HWND hwnd, UINT id) {
    return GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND);
}

bool Checked(HWND hwnd, UINT id) {
    return (MenuState(hwnd, id) & MF_CHECKED) != 0;
}

bool Enabled(HWND hwnd, UINT id) {
    return (MenuState(hwnd, id) & (MF_DISABLED | MF_GRAYED)) == 0;
}

// The three check marks, as "T G L" with 1 for checked.
std::string Marks(HWND hwnd) {
    return std::string(Checked(hwnd, IDM_TOUCH) ? "1" : "0") + (Checked(hwnd, IDM_GESTURE) ? " 1" : " 0") +
           (Checked(hwnd, IDM_LINE) ? " 1" : " 0");
}

// Whole client area invalid (without looking at erase).
bool WholeClientInvalid(HWND hwnd) {
    RECT update, client;
    GetClientRect(hwnd, &client);
    return GetUpdateRect(hwnd, &update, FALSE) && EqualRect(&update, &client);
}

// Watches for the About box from another thread while the modal loop runs (a
// timer would starve in Line mode, where WM_PAINT is always pending), checks
// it and closes it with the given button. A box that never shows is closed too,
// so that a failing test does not hang.
class AboutWatch {
public:
    AboutWatch(HWND owner, WPARAM closeWith = IDOK) : m_owner(owner), m_closeWith(closeWith) {
        m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~AboutWatch() {
        Join();
    }
    void Join() {
        if (m_thread) {
            WaitForSingleObject(m_thread, INFINITE);
            CloseHandle(m_thread);
            m_thread = nullptr;
        }
    }

    bool m_seenVisible = false;
    bool m_ownedByWindow = false;
    bool m_showsVersion = false;

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<AboutWatch*>(self)->Watch();
        return 0;
    }
    void Watch() {
        HWND box = nullptr;
        for (int waited = 0; waited < 1500; waited += 10) {
            box = FindWindowW(L"#32770", L"About");
            if (box && IsWindowVisible(box)) {
                m_seenVisible = true;
                break;
            }
            Sleep(10);
        }
        if (!box)
            return;
        m_ownedByWindow = GetWindow(box, GW_OWNER) == m_owner;
        WCHAR text[64] = {};
        HWND child = nullptr;
        while ((child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr) {
            GetWindowTextW(child, text, 64);
            if (std::wstring(text) == L"kovrin Version 1.7.0322.0")
                m_showsVersion = true;
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(m_closeWith, BN_CLICKED), 0);
    }

    HWND m_owner;
    WPARAM m_closeWith;
    HANDLE m_thread = nullptr;
};

} // namespace

TEST_F(CommandsTest, EveryModeCommandFromEveryModeSetsFlagsMarksAndRegistration) {
    CreateWindowUnderTest();
    struct Mode {
        UINT command;
        BYTE line, touch;
        const char* marks;
        const char* registration; // the one call expected
    };
    const Mode modes[] = {{IDM_LINE, 1, 0, "0 0 1", "RegisterTouchWindow"},
                          {IDM_TOUCH, 0, 1, "1 0 0", "RegisterTouchWindow"},
                          {IDM_GESTURE, 0, 0, "0 1 0", "UnregisterTouchWindow"}};
    for (const Mode& from : modes) {
        for (const Mode& to : modes) {
            SCOPED_TRACE("from " + std::to_string(from.command) + " to " + std::to_string(to.command));
            ASSERT_EQ(Send(WM_COMMAND, from.command), 0);
            fakes::calls.clear();
            EXPECT_EQ(Send(WM_COMMAND, to.command), 0);
            EXPECT_EQ(g_lineMode, to.line);
            EXPECT_EQ(g_touchMode, to.touch);
            EXPECT_EQ(Marks(m_hwnd), to.marks);
            // Registration is renewed even when the window already has it.
            ASSERT_EQ(fakes::calls.size(), 1u);
            EXPECT_EQ(fakes::calls[0].name, to.registration);
            EXPECT_EQ(fakes::calls[0].args[0], (long long)(INT_PTR)m_hwnd);
            if (to.command != IDM_GESTURE) {
                EXPECT_EQ(fakes::calls[0].args[1], 0); // flags
            }
        }
    }
}

TEST_F(CommandsTest, NotificationCodeIsNotLookedAt) {
    CreateWindowUnderTest();
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(IDM_TOUCH, 1)), 0); // as from an accelerator
    EXPECT_EQ(g_touchMode, 1);
    EXPECT_EQ(Marks(m_hwnd), "1 0 0");
}

TEST_F(CommandsTest, ModeCommandsWorkWithoutAMenu) {
    CreateWindowUnderTest();
    HMENU menu = GetMenu(m_hwnd);
    SetMenu(m_hwnd, nullptr); // as in full screen
    Send(WM_COMMAND, IDM_GESTURE);
    EXPECT_EQ(g_lineMode, 0);
    EXPECT_EQ(g_touchMode, 0);
    EXPECT_EQ(fakes::CountCalls("UnregisterTouchWindow"), 1);
    Send(WM_COMMAND, IDM_DUMP_START);
    EXPECT_NE(g_dumpFile, nullptr);
    Send(WM_COMMAND, IDM_DUMP_STOP);
    EXPECT_EQ(g_dumpFile, nullptr);
    SetMenu(m_hwnd, menu);
    EXPECT_EQ(Marks(m_hwnd), "0 0 1"); // the menu was left alone
}

TEST_F(CommandsTest, TouchAndGestureInvalidateNothingButLineRequestsAnErase) {
    CreateWindowUnderTest();
    PaintOnce(m_hwnd); // Line mode never validates by itself
    ASSERT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE));
    Send(WM_COMMAND, IDM_TOUCH);
    EXPECT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE));
    Send(WM_COMMAND, IDM_GESTURE);
    EXPECT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE));

    // Line after Line: the whole client area, with the erase the next
    // stroke's BeginPaint carries out.
    Send(WM_COMMAND, IDM_LINE);
    PaintOnce(m_hwnd);
    Send(WM_COMMAND, IDM_LINE);
    EXPECT_TRUE(WholeClientInvalid(m_hwnd));
    RECT client = ClientRect();
    EXPECT_TRUE(ErasePendingAt(m_hwnd, client.right - 20, client.bottom - 20));
    EXPECT_TRUE(g_lineMode);
}

TEST_F(CommandsTest, EraseCheckTellsAnEraseFromAPlainInvalidation) {
    // The observation used above can fail: without erase the mark stays.
    CreateWindowUnderTest();
    PaintOnce(m_hwnd);
    InvalidateRect(m_hwnd, nullptr, FALSE);
    EXPECT_FALSE(ErasePendingAt(m_hwnd, 100, 100));
    InvalidateRect(m_hwnd, nullptr, TRUE);
    EXPECT_TRUE(ErasePendingAt(m_hwnd, 100, 100));
}

TEST_F(CommandsTest, DumpStartOpensAnEmptyFileAndSwapsTheItems) {
    CreateWindowUnderTest();
    FILE* old = fopen("logdump.txt", "w");
    fputs("an earlier dump\n", old);
    fclose(old);

    EXPECT_EQ(Send(WM_COMMAND, IDM_DUMP_START), 0);
    ASSERT_NE(g_dumpFile, nullptr);
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "");
    EXPECT_FALSE(Enabled(m_hwnd, IDM_DUMP_START));
    EXPECT_TRUE(Enabled(m_hwnd, IDM_DUMP_STOP));

    fputs("dumped\n", g_dumpFile); // "w+": text mode
    EXPECT_EQ(Send(WM_COMMAND, IDM_DUMP_STOP), 0);
    EXPECT_EQ(g_dumpFile, nullptr);
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "dumped\r\n");
    EXPECT_TRUE(Enabled(m_hwnd, IDM_DUMP_START));
    EXPECT_FALSE(Enabled(m_hwnd, IDM_DUMP_STOP));

    // Start again: emptied anew.
    Send(WM_COMMAND, IDM_DUMP_START);
    ASSERT_NE(g_dumpFile, nullptr);
    Send(WM_COMMAND, IDM_DUMP_STOP);
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "");
}

TEST_F(CommandsTest, StopWithoutADumpLeavesStopDisabledAndStartEnabled) {
    CreateWindowUnderTest();
    // Put the items the wrong way round, so the command has something to set.
    EnableMenuItem(GetMenu(m_hwnd), IDM_DUMP_START, MF_BYCOMMAND | MF_DISABLED);
    EnableMenuItem(GetMenu(m_hwnd), IDM_DUMP_STOP, MF_BYCOMMAND | MF_ENABLED);
    EXPECT_EQ(Send(WM_COMMAND, IDM_DUMP_STOP), 0);
    EXPECT_EQ(g_dumpFile, nullptr);
    EXPECT_TRUE(Enabled(m_hwnd, IDM_DUMP_START));
    EXPECT_FALSE(Enabled(m_hwnd, IDM_DUMP_STOP));
    EXPECT_FALSE(FileExists("logdump.txt"));
}

TEST_F(CommandsTest, StartThatCannotCreateTheFileChangesNothing) {
    CreateWindowUnderTest();
    ASSERT_TRUE(CreateDirectoryA("logdump.txt", nullptr));
    EXPECT_EQ(Send(WM_COMMAND, IDM_DUMP_START), 0);
    EXPECT_EQ(g_dumpFile, nullptr);
    EXPECT_TRUE(Enabled(m_hwnd, IDM_DUMP_START));
    EXPECT_FALSE(Enabled(m_hwnd, IDM_DUMP_STOP));
    RemoveDirectoryA("logdump.txt");

    // A file that another program holds open without sharing.
    FILE* f = fopen("logdump.txt", "w");
    fputs("kept\n", f);
    fclose(f);
    HANDLE held = CreateFileA("logdump.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Send(WM_COMMAND, IDM_DUMP_START);
    EXPECT_EQ(g_dumpFile, nullptr);
    EXPECT_TRUE(Enabled(m_hwnd, IDM_DUMP_START));
    EXPECT_FALSE(Enabled(m_hwnd, IDM_DUMP_STOP));
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes("logdump.txt"), "kept\r\n");

    // The user can simply try again once the file is free.
    Send(WM_COMMAND, IDM_DUMP_START);
    EXPECT_NE(g_dumpFile, nullptr);
    EXPECT_FALSE(Enabled(m_hwnd, IDM_DUMP_START));
}

TEST_F(CommandsTest, UnknownCommandGoesToDefaultProcessingAndChangesNothing) {
    CreateWindowUnderTest();
    fakes::calls.clear();
    PaintOnce(m_hwnd);
    for (WPARAM id : {0, 1, 103, 106, 32771, 32777, 32780, 65535}) {
        EXPECT_EQ(Send(WM_COMMAND, id), DefWindowProcW(m_hwnd, WM_COMMAND, id, 0)) << id;
    }
    EXPECT_EQ(g_lineMode, 1);
    EXPECT_EQ(g_touchMode, 0);
    EXPECT_EQ(Marks(m_hwnd), "0 0 1");
    EXPECT_EQ(g_dumpFile, nullptr);
    EXPECT_TRUE(fakes::calls.empty());
    EXPECT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE));
    EXPECT_TRUE(IsWindow(m_hwnd));
}

TEST_F(CommandsTest, ExitDestroysTheWindowAndQuitsWithZero) {
    CreateWindowUnderTest();
    Send(WM_COMMAND, IDM_DUMP_START);
    HWND hwnd = m_hwnd;
    EXPECT_EQ(Send(WM_COMMAND, IDM_EXIT), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    m_hwnd = nullptr;
    EXPECT_EQ(g_dumpFile, nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(CommandsTest, AboutCommandShowsTheModalBoxOwnedByTheWindowUntilOk) {
    CreateWindowUnderTest();
    // Line mode first: its window never stops asking for paint.
    for (UINT mode : {IDM_LINE, IDM_TOUCH, IDM_GESTURE}) {
        SCOPED_TRACE(mode);
        Send(WM_COMMAND, mode);
        AboutWatch watch(m_hwnd);
        EXPECT_EQ(Send(WM_COMMAND, IDM_ABOUT), 0); // returns once the box is closed
        watch.Join();
        EXPECT_TRUE(watch.m_seenVisible);
        EXPECT_TRUE(watch.m_ownedByWindow);
        EXPECT_TRUE(watch.m_showsVersion);
        EXPECT_EQ(FindWindowW(L"#32770", L"About"), nullptr);
        EXPECT_TRUE(IsWindowEnabled(m_hwnd)); // the owner is given back
    }
}

TEST_F(CommandsTest, AboutBoxEndsWithTheButtonPressed) {
    CreateWindowUnderTest();
    for (WPARAM button : {IDOK, IDCANCEL}) {
        AboutWatch watch(m_hwnd, button);
        INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), m_hwnd,
                                         AboutDialogProc, 0);
        watch.Join();
        EXPECT_EQ(result, (INT_PTR)button);
        EXPECT_TRUE(watch.m_seenVisible);
    }
}

TEST_F(CommandsTest, AboutDialogProcAnswersOnlyItsMessages) {
    EXPECT_EQ(AboutDialogProc(nullptr, WM_COMMAND, 3, 0), FALSE);
    EXPECT_EQ(AboutDialogProc(nullptr, WM_PAINT, 0, 0), FALSE);
    EXPECT_EQ(AboutDialogProc(nullptr, WM_CLOSE, 0, 0), FALSE);
}

TEST_F(CommandsTest, AltQuestionMarkAndAltSlashOpenTheAboutBox) {
    CreateWindowUnderTest();
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN));
    ASSERT_NE(table, nullptr);
    const LPARAM altDown = 0x20000001; // repeat count 1, context bit: Alt held
    // Wine looks at the thread's key state for Alt, Windows at the context bit: give both.
    BYTE keys[256], altKeys[256];
    GetKeyboardState(keys);
    memcpy(altKeys, keys, sizeof(keys));
    altKeys[VK_MENU] = altKeys[VK_LMENU] = 0x80;
    SetKeyboardState(altKeys);
    for (WPARAM ch : {L'?', L'/'}) {
        SCOPED_TRACE((char)ch);
        AboutWatch watch(m_hwnd);
        MSG msg = {m_hwnd, WM_SYSCHAR, ch, altDown};
        EXPECT_NE(TranslateAcceleratorW(m_hwnd, table, &msg), 0);
        watch.Join();
        EXPECT_TRUE(watch.m_seenVisible);
        EXPECT_TRUE(watch.m_ownedByWindow);
    }
    // Another character, or a virtual key, is not translated (and
    // TranslateAcceleratorW would only return once a box it opened closed).
    for (MSG msg : {MSG{m_hwnd, WM_SYSCHAR, L'.', altDown}, MSG{m_hwnd, WM_SYSKEYDOWN, VK_OEM_2, altDown}}) {
        EXPECT_EQ(TranslateAcceleratorW(m_hwnd, table, &msg), 0) << msg.message << " " << msg.wParam;
    }
    // Nor is the character without Alt.
    SetKeyboardState(keys);
    MSG plain = {m_hwnd, WM_CHAR, L'?', 1};
    EXPECT_EQ(TranslateAcceleratorW(m_hwnd, table, &plain), 0);
    DestroyAcceleratorTable(table);
}

TEST_F(CommandsTest, EscapeRequestsAnEraseOfTheWholeClientArea) {
    CreateWindowUnderTest();
    RECT client = ClientRect();
    for (UINT mode : {IDM_LINE, IDM_TOUCH, IDM_GESTURE}) {
        SCOPED_TRACE(mode);
        Send(WM_COMMAND, mode);
        PaintOnce(m_hwnd);
        // The hot-key id is not looked at.
        EXPECT_EQ(Send(WM_HOTKEY, 99, MAKELPARAM(0, VK_ESCAPE)), 0);
        EXPECT_TRUE(WholeClientInvalid(m_hwnd));
        EXPECT_TRUE(ErasePendingAt(m_hwnd, client.right - 30, client.bottom - 30));
    }
}

TEST_F(CommandsTest, OtherKeyCombinationsDoNothing) {
    CreateWindowUnderTest();
    PaintOnce(m_hwnd);
    const LPARAM others[] = {MAKELPARAM(MOD_SHIFT, VK_ESCAPE),
                             MAKELPARAM(MOD_CONTROL, VK_ESCAPE),
                             MAKELPARAM(0, 'S'),
                             MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'S'),
                             MAKELPARAM(MOD_ALT, VK_SPACE),
                             MAKELPARAM(0, VK_RETURN)};
    for (LPARAM keys : others) {
        EXPECT_EQ(Send(WM_HOTKEY, HOTKEY_ID_ESCAPE, keys), 0);
        EXPECT_FALSE(GetUpdateRect(m_hwnd, nullptr, FALSE)) << std::hex << keys;
    }
    EXPECT_FALSE(FileExists("picture"));
    EXPECT_EQ(fakes::CountCalls("ChangeDisplaySettingsW"), 0);
    EXPECT_EQ(g_fullScreen, 0);
}

namespace {

// Waits for an open popup menu, then delivers the Esc hot key to the window as
// the system would; if the menu is still open two seconds later, closes it with
// a plain Esc key so that a failing test does not hang.
struct EscapeWhileMenuOpen {
    HWND hwnd;
    bool menuSeen = false;
    bool closedByFallback = false;
};

DWORD WINAPI PressEscapeInMenu(void* param) {
    auto* job = static_cast<EscapeWhileMenuOpen*>(param);
    HWND popup = nullptr;
    for (int waited = 0; waited < 2000 && !popup; waited += 10) {
        popup = FindWindowW(L"#32768", nullptr);
        if (popup && !IsWindowVisible(popup))
            popup = nullptr;
        Sleep(10);
    }
    job->menuSeen = popup != nullptr;
    PostMessageW(job->hwnd, WM_HOTKEY, HOTKEY_ID_ESCAPE, MAKELPARAM(0, VK_ESCAPE));
    for (int waited = 0; waited < 2000; waited += 10) {
        if (!IsWindow(popup) || !IsWindowVisible(popup))
            return 0;
        Sleep(10);
    }
    job->closedByFallback = true;
    PostMessageW(job->hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
    return 0;
}

} // namespace

TEST_F(CommandsTest, EscapeClosesAnOpenMenu) {
    CreateWindowUnderTest(); // Line mode: the hot key must get past endless paint requests
    EscapeWhileMenuOpen job = {m_hwnd};
    HANDLE thread = CreateThread(nullptr, 0, PressEscapeInMenu, &job, 0, nullptr);
    HMENU file = GetSubMenu(GetMenu(m_hwnd), 0);
    TrackPopupMenu(file, TPM_LEFTALIGN | TPM_TOPALIGN, 50, 50, 0, m_hwnd, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(job.menuSeen);
    EXPECT_FALSE(job.closedByFallback);
    EXPECT_TRUE(WholeClientInvalid(m_hwnd));
}
