// Whether another program's thread has taken all the input it was sent,
// and whether it answers at all: the closing wait and the dialog watch ask
// the same two questions.
#pragma once

#include <windows.h>

namespace tavrel::win32 {

// A thread is handed WM_PAINT only when no input waits in its queue, so a
// pixel invalidated now and found painted later marks the moment its input
// ran dry. False when the window cannot be marked.
inline bool markInputEnd(HWND window) {
    RECT corner{0, 0, 1, 1};
    return window && InvalidateRect(window, &corner, FALSE);
}

inline bool inputDrained(HWND window) { return !window || !GetUpdateRect(window, nullptr, FALSE); }

// A sent message is handled ahead of queued input, so the answer says
// nothing about the keys; it tells a busy thread from a hung one. A thread
// that takes longer than 100 ms between two messages is asked again later.
inline bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored) != 0;
}

}  // namespace tavrel::win32
