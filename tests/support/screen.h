// Pixels read back from the screen, so that whatever covers a window is
// seen too, as a user would see it.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include <windows.h>

namespace e2e {

struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // row by row, top row first

    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }
    COLORREF at(int x, int y) const { return pixels[index(x, y)]; }
    void set(int x, int y, COLORREF c) { pixels[index(x, y)] = c; }
    // How many pixels of `colour` lie in [left, right) x [top, bottom).
    int count(RECT area, COLORREF colour) const;
    // How many pixels in the area differ from `colour`.
    int countOther(RECT area, COLORREF colour) const;
};

// Pixels per logical inch of the screen; sizes are checked at 96.
int screenDpi();

// What `draw` paints on a `width` x `height` bitmap.
Capture captureDrawing(int width, int height, const std::function<void(HDC)>& draw);
// A part of the screen, in screen coordinates.
Capture captureScreen(RECT area);
// A window's client area as it shows on the screen.
Capture captureClient(HWND window);

}  // namespace e2e
