#include "platform/win32/input_drain.h"

#include "platform/win32/input_drained.h"

namespace tavrel::win32 {

void Win32InputDrain::mark(WindowId target) {
    window_ = reinterpret_cast<HWND>(target);
    // A sent message alone cannot tell: sent messages are handled ahead of
    // queued input. Measured under Wine 8 with the receiving dialog stalled
    // while the last 60 entries went out: the sent message came back with
    // 50 to 100 presses still queued.
    if (!markInputEnd(window_)) window_ = nullptr;
}

InputDrained Win32InputDrain::drained() {
    // A window gone has nothing left to take.
    if (!window_ || !IsWindow(window_)) return InputDrained::Yes;
    return inputDrained(window_) ? InputDrained::Yes : InputDrained::NotYet;
}

bool Win32InputDrain::answers() { return win32::answers(window_); }

}  // namespace tavrel::win32
