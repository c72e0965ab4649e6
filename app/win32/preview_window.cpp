#include "app/win32/preview_window.h"

#include "app/win32/window_support.h"

namespace tavrel::win32 {

void runPreviewWindow(HINSTANCE instance, HWND owner, const KeystrokeList&) {
    static const bool registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TavrelPreview";
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) return;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"TavrelPreview", L"Preview", WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                                  CW_USEDEFAULT, CW_USEDEFAULT, 480, 360, owner, nullptr, instance, nullptr);
    if (window) runModal(window, owner);
}

}  // namespace tavrel::win32
