#include "platform/win32/focus_watch.h"

namespace tavrel::win32 {

WindowId Win32FocusWatch::foreground() { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

bool Win32FocusWatch::otherProgram(WindowId window) {
    HWND w = reinterpret_cast<HWND>(window);
    if (!w || !IsWindow(w)) return false;
    // The desktop, the shell's desktop window and the taskbar take the
    // focus when the user clicks them, but no dialog of theirs walks a path.
    if (w == GetDesktopWindow() || w == GetShellWindow()) return false;
    wchar_t cls[32] = {};
    if (GetClassNameW(w, cls, 32) && lstrcmpW(cls, L"Shell_TrayWnd") == 0) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    return process != 0 && process != GetCurrentProcessId();
}

}  // namespace tavrel::win32
