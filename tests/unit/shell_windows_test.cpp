#include <gtest/gtest.h>

#include "platform/shell_windows.h"

// The desktop's and the taskbars' classes, by exact name only.
TEST(ShellWindowClass, DesktopAndTaskbarsButNoOtherWindow) {
    for (const char* shell : {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"})
        EXPECT_TRUE(tavrel::isShellWindowClass(shell)) << shell;
    for (const char* other : {"#32770", "RGSS Player", "progman", "WorkerW2", ""})
        EXPECT_FALSE(tavrel::isShellWindowClass(other)) << other;
}
