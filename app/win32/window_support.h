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

// The system's message font at the given dpi; the caller deletes it.
HFONT createMessageFont(int dpi);

// Outer window size for a client area, with the window's styles.
SIZE windowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

// Shows `window` modally: `owner` (if any) takes no input until `window` is
// destroyed; messages keep flowing meanwhile. Returns when it is gone. The
// window should enable its owner itself before it is destroyed, so that the
// system hands the activation back to the owner, not to another program.
void runModal(HWND window, HWND owner);

}  // namespace tavrel::win32
