#include "platform/win32/key_wake.h"

#include <windows.h>

namespace tavrel::win32 {

namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;

// Made on first use and kept: its only work is to let WM_INPUT reach
// DefWindowProc, which frees the input's data.
HWND wakeWindow() {
    static const HWND window = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavrelKeyWake";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                               nullptr);
    }();
    return window;
}

bool registerKeyboard(DWORD flags, HWND target) {
    RAWINPUTDEVICE device{kGenericDesktopPage, kKeyboardUsage, flags, target};
    return RegisterRawInputDevices(&device, 1, sizeof device) != FALSE;
}

}  // namespace

bool startKeyWake() {
    const HWND window = wakeWindow();
    // Checked under Wine 8 as well: keys sent into a window of another
    // program of the same prefix reach us as WM_INPUT with RIM_INPUTSINK.
    return window && registerKeyboard(RIDEV_INPUTSINK, window);
}

void stopKeyWake() { registerKeyboard(RIDEV_REMOVE, nullptr); }

}  // namespace tavrel::win32
