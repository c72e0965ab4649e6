#include "platform/win32/stop_key.h"

namespace tavrel::win32 {

bool Win32StopKey::arm() {
    pressed_ = false;
    // No MOD_NOREPEAT: systems before Windows 7 refuse it, and a repeated
    // press changes nothing here.
    if (!armed_) armed_ = RegisterHotKey(window, kId, 0, VK_ESCAPE) != FALSE;
    return armed_;
}

void Win32StopKey::disarm() {
    if (armed_) UnregisterHotKey(window, kId);
    armed_ = false;
}

void Win32StopKey::onHotKey(WPARAM id) {
    if (armed_ && id == kId) pressed_ = true;
}

}  // namespace tavrel::win32
