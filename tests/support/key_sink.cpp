#include "tests/support/key_sink.h"

#include <array>
#include <stdexcept>

#include "tests/support/input.h"

namespace e2e {

namespace {

std::array<int, 256>& keyDowns() {
    static std::array<int, 256> counts{};
    return counts;
}

LRESULT CALLBACK keySinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN) ++keyDowns()[wParam & 0xff];
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

KeySink::KeySink() {
    keyDowns().fill(0);
    WNDCLASSW wc{};
    wc.lpfnWndProc = keySinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavrelDriverKeySink";
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassW(&wc);  // fails harmlessly when an earlier sink registered it
    // Top left, away from the program's window in the middle of the screen.
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Keys typed by the driver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            240, 120, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd_) throw std::runtime_error("cannot create the window that takes the keys");
    pumpOwnMessages();
}

KeySink::~KeySink() {
    DestroyWindow(hwnd_);
    pumpOwnMessages();
}

bool KeySink::take() const {
    SetForegroundWindow(hwnd_);
    return pumpUntil([&] { return GetForegroundWindow() == hwnd_; }, 10s);
}

bool KeySink::tap(WORD vk) const {
    if (GetForegroundWindow() != hwnd_) return false;
    tapKey(vk);
    return true;
}

int KeySink::keyDownsOf(WORD vk) const { return keyDowns()[vk & 0xff]; }

bool passCompleted(const App& app) {
    for (int i = 0; i < 3; ++i) {
        if (!app.responsive()) return false;
        pumpOwnMessages();
    }
    return true;
}

}  // namespace e2e
