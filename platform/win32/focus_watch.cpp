#include "platform/win32/focus_watch.h"

#include "platform/shell_windows.h"

namespace tavrel::win32 {

namespace {

// The integrity level (its RID: 0x2000 medium, 0x3000 high, ...) of a
// process, or -1 when it cannot be read.
long integrityLevel(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return -1;
    long level = -1;
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size >= sizeof(TOKEN_MANDATORY_LABEL)) {
        // Aligned for the label and the SID that follows it.
        auto* label = static_cast<TOKEN_MANDATORY_LABEL*>(HeapAlloc(GetProcessHeap(), 0, size));
        if (label && GetTokenInformation(token, TokenIntegrityLevel, label, size, &size) &&
            IsValidSid(label->Label.Sid)) {
            const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
            if (count > 0) level = static_cast<long>(*GetSidSubAuthority(label->Label.Sid, count - 1u));
        }
        if (label) HeapFree(GetProcessHeap(), 0, label);
    }
    CloseHandle(token);
    return level;
}

}  // namespace

WindowId Win32FocusWatch::foreground() { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

bool Win32FocusWatch::otherProgram(WindowId window) {
    HWND w = reinterpret_cast<HWND>(window);
    if (!w || !IsWindow(w)) return false;
    // The desktop, the shell's desktop window and the taskbars take the
    // focus when the user clicks them, but no dialog of theirs walks a path.
    if (w == GetDesktopWindow() || w == GetShellWindow()) return false;
    char cls[64] = {};
    if (GetClassNameA(w, cls, sizeof cls) && isShellWindowClass(cls)) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    return process != 0 && process != GetCurrentProcessId();
}

bool Win32FocusWatch::runsHigher(WindowId window) {
    DWORD id = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &id);
    if (id == 0) return false;
    // Limited information is granted across integrity levels; whether the
    // token of a higher process can then be opened depends on its security,
    // and where it cannot, the level counts as unknown and playback goes on.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return false;
    const long theirs = integrityLevel(process);
    CloseHandle(process);
    const long ours = integrityLevel(GetCurrentProcess());
    return theirs >= 0 && ours >= 0 && theirs > ours;
}

}  // namespace tavrel::win32
