// Small helpers shared by the program's windows.
#pragma once

#include <windows.h>

namespace tavrel::win32 {

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
