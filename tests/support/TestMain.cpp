// Test entry: loads the window title and class name from the resources and
// registers the main window class once, as the program's entry does.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "res/resource.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadStringW(instance, IDS_WINDOW_TITLE, g_title, TITLE_CHARS);
    LoadStringW(instance, IDS_WINDOW_CLASS, g_windowClass, TITLE_CHARS);
    RegisterMainWindowClass(instance);
    return RUN_ALL_TESTS();
}
