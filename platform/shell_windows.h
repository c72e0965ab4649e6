// Windows that take the focus when the user clicks them but hold no dialog
// that could walk a path: the desktop (also after Win+D or under a slide-show
// wallpaper) and the taskbars. Keys sent there would go to desktop icons.
#pragma once

#include <array>
#include <string_view>

namespace tavrel {

inline constexpr std::array<std::string_view, 4> kShellWindowClasses = {
    "Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"};

// By the window's class name, compared exactly, as the system names them.
inline bool isShellWindowClass(std::string_view className) {
    for (std::string_view shell : kShellWindowClasses)
        if (className == shell) return true;
    return false;
}

}  // namespace tavrel
