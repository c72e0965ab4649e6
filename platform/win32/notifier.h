// Message boxes with the program's title.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "platform/notifier.h"

namespace tavrel::win32 {

class Win32Notifier final : public Notifier {
public:
    // Once, when the main window exists: boxes carry `title` and belong to
    // the program's active window, or to `mainWindow` when none is active.
    void attach(HWND mainWindow, std::string title);
    void message(std::string_view text, Icon icon) override;

private:
    HWND main_ = nullptr;
    std::string title_ = "Tavrel";
};

}  // namespace tavrel::win32
