// The program's message boxes, read and dismissed from outside.
#pragma once

#include <string>

#include <windows.h>

#include "tests/support/program.h"

namespace e2e {

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    int icon = 0;  // 16, 48 or 64 when the icon's pixels match a system icon, else 0
};

// Waits for a message box of the process, reads it and dismisses it with OK.
// hwnd stays null when none came within the timeout.
MessageBoxSeen takeMessageBox(const App& app, Millis timeout = kWait);
// True when no message box of the process is open.
bool noMessageBox(const App& app);

}  // namespace e2e
