// Esc as a hot key while playback runs: taken from every other window, so
// it can never close the editor's dialog that the keys are going into.
#pragma once

#include <windows.h>

#include "platform/stop_key.h"

namespace tavrel::win32 {

class Win32StopKey final : public StopKey {
public:
    bool arm() override;
    void disarm() override;
    bool pressed() override { return pressed_; }

    // For the window that owns the hot key: its WM_HOTKEY handler.
    void onHotKey(WPARAM id);

    // The window WM_HOTKEY is posted to; the hot key lives as long as it.
    HWND window = nullptr;

private:
    static constexpr int kId = 1;
    bool armed_ = false;
    bool pressed_ = false;
};

}  // namespace tavrel::win32
