#include <gtest/gtest.h>

#include "platform/shell_windows.h"

namespace tavrel {
namespace {

// The desktop's and the taskbars' classes, by exact name only.
TEST(ShellWindowClass, DesktopAndTaskbarsButNoOtherWindow) {
    const struct {
        const char* className;
        bool shell;
    } cases[] = {
        {"Progman", true},      {"WorkerW", true},        {"Shell_TrayWnd", true}, {"Shell_SecondaryTrayWnd", true},
        {"#32770", false},      {"RGSS Player", false},   {"progman", false},      {"WorkerW2", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isShellWindowClass(c.className), c.shell) << c.className;
}

}  // namespace
}  // namespace tavrel
