#include "platform/win32/input_drain.h"

namespace tavrel::win32 {

void Win32InputDrain::mark(WindowId target) {
    window_ = reinterpret_cast<HWND>(target);
    // A thread is handed WM_PAINT only when no input waits in its queue, so a
    // pixel invalidated now and found painted later marks the moment its
    // input ran dry. A sent message alone cannot tell: sent messages are
    // handled ahead of queued input. Measured under Wine 8 with the receiving
    // dialog stalled while the last 60 entries went out: the sent message
    // came back with 50 to 100 presses still queued.
    RECT corner{0, 0, 1, 1};
    if (!window_ || !InvalidateRect(window_, &corner, FALSE)) window_ = nullptr;
}

InputDrained Win32InputDrain::drained() {
    // A window gone has nothing left to take.
    if (!window_ || !IsWindow(window_)) return InputDrained::Yes;
    return GetUpdateRect(window_, nullptr, FALSE) ? InputDrained::NotYet : InputDrained::Yes;
}

bool Win32InputDrain::answers() {
    // The answer says nothing about the keys; it tells a busy thread from a
    // hung one. A thread that takes longer than 100 ms between two messages
    // is asked again later.
    DWORD_PTR ignored = 0;
    return window_ && SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored) != 0;
}

}  // namespace tavrel::win32
