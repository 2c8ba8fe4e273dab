// Test fixture that runs the real window code: each test gets a fresh working
// directory, the program's state at its initial values (ResetAppState), the fakes reset, and a
// main window created by the program's own set-up function.
#pragma once

#include "app/Win32.h"

#include <gtest/gtest.h>

#include <string>

// Closes the logs and puts every process-wide variable back to its start
// value, all but the names and the instance handle that start-up fills once.
void ResetAppState();

// Reads a whole file; empty if it does not exist.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// Compares two texts line by line. A difference is reported as the first line
// that differs, with its number and both versions, not as the whole texts.
::testing::AssertionResult SameLines(const std::string& actual, const std::string& expected);

// Dispatches the window's messages for about `ms` milliseconds. Bounded on
// purpose: in Line mode the window stays invalid, so the queue never empties.
void PumpMessages(int ms = 30);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window as the program does (CreateMainWindow).
    void CreateWindowUnderTest(int showCommand = SW_SHOWNORMAL);
    // Destroys it and consumes the WM_QUIT that WM_DESTROY posts; returns its wParam.
    int DestroyWindowUnderTest();

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The colour at a client point, read back from the window's surface.
    COLORREF PixelAt(int x, int y);
    RECT ClientRect();

    HWND m_hwnd = nullptr;
    std::string m_dir;
    std::string m_oldDir;
};
