#include "app/win32/window.h"

#include <set>
#include <string>

#include "platform/win32/services.h"

namespace tavrel::win32 {

Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool Window::createWindow(HINSTANCE instance, const Class& windowClass, std::wstring_view caption,
                          const Frame& frame) {
    static std::set<std::wstring> registered;
    if (!registered.count(windowClass.name)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = instance;
        wc.hIcon = windowClass.icon;
        wc.hIconSm = windowClass.smallIcon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = windowClass.background;
        wc.lpszClassName = windowClass.name;
        if (!RegisterClassExW(&wc)) return false;
        registered.insert(windowClass.name);
    }
    const std::wstring title(caption);
    CreateWindowExW(frame.exStyle, windowClass.name, title.c_str(), frame.style, frame.at.x, frame.at.y,
                    frame.size.cx, frame.size.cy, frame.owner, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT Window::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        unload();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void Window::unload() {
    if (modal_) {
        unloaded_ = true;
    } else if (hwnd_) {
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // Nothing reaches the object after this; it may outlive its window.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->handle(msg, wParam, lParam);
}

bool runModal(Window& window, HWND owner) {
    HWND hwnd = window.hwnd();
    if (!hwnd) return true;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    window.modal_ = true;
    window.unloaded_ = false;
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    for (;;) {
        pumpMessages();
        if (window.unloaded_ || !window.hwnd() || programEnding()) break;
        WaitMessage();
    }
    window.modal_ = false;
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (window.hwnd()) DestroyWindow(window.hwnd());
    return !programEnding();
}

}  // namespace tavrel::win32
