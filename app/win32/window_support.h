// Small helpers shared by the program's windows.
#pragma once

#include <string_view>

#include <windows.h>

namespace tavrel::win32 {

// Gives `control` of `window` the tool tip `text` in the tool-tip window
// `toolTips`; does nothing when there is no tool-tip window.
void addToolTip(HWND toolTips, HWND window, HWND control, std::string_view text);

// Dots per inch of the window (or of the screen before it exists).
int windowDpi(HWND hwnd);

// Outer window size for a client area, with the window's styles.
SIZE windowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

}  // namespace tavrel::win32
