#include "app/win32/about_window.h"

#include "app/win32/window_support.h"

namespace tavrel::win32 {

void runAboutWindow(HINSTANCE instance, HWND owner, const AppFacts&, Win32Services&) {
    static const bool registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TavrelAbout";
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) return;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"TavrelAbout", L"About", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 360, 220, owner, nullptr, instance, nullptr);
    if (window) runModal(window, owner);
}

}  // namespace tavrel::win32
