// Test entry: the program's own start-up before the window (title, class name,
// class registration), once for all tests.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitMainWindowClass(GetModuleHandleW(nullptr));
    return RUN_ALL_TESTS();
}
