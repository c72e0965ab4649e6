#include "tests/support/screen.h"

namespace e2e {

int Capture::count(RECT area, COLORREF colour) const {
    int n = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) n += at(x, y) == colour;
    return n;
}

int Capture::countOther(RECT area, COLORREF colour) const {
    return static_cast<int>((area.right - area.left) * (area.bottom - area.top)) - count(area, colour);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

Capture captureDrawing(int width, int height, const std::function<void(HDC)>& draw) {
    Capture capture;
    if (width <= 0 || height <= 0) return capture;
    capture.width = width;
    capture.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    draw(dc);
    GdiFlush();
    const auto* raw = static_cast<const DWORD*>(bits);
    capture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < capture.pixels.size(); ++i) {
        const DWORD p = raw[i];  // 0x00RRGGBB
        capture.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return capture;
}

Capture captureScreen(RECT area) {
    return captureDrawing(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

Capture captureClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return captureScreen({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
}

}  // namespace e2e
