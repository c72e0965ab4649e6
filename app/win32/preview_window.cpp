#include "app/win32/preview_window.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "app/win32/window.h"
#include "app/win32/window_support.h"
#include "core/preview_geometry.h"

namespace tavrel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TavrelPreview";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kClientWidthTwips = 6990;
constexpr int kClientHeightTwips = 4890;

// Far outside any bitmap, yet well inside what GDI takes as a coordinate.
constexpr int kFarPixel = 1 << 20;

float pixelsToTwips(int pixels, int dpi) {
    return static_cast<float>(static_cast<double>(pixels) * 1440.0 / static_cast<double>(dpi));
}

// Every segment moves along one axis only, so clamping each coordinate
// keeps exactly the part that can show.
POINT toPixels(Point twips, int dpi) {
    return POINT{std::clamp(twipsToPixels(twips.x, dpi), -kFarPixel, kFarPixel),
                 std::clamp(twipsToPixels(twips.y, dpi), -kFarPixel, kFarPixel)};
}

// The list is read afresh each time: the preview keeps nothing between
// redraws. Only absurd client sizes make the geometry give up, and then an
// empty picture is better than an exception loose in a window procedure.
std::vector<Segment> pathFor(const PathModel& list, int width, int height, int dpi) noexcept {
    try {
        std::vector<std::string> entries;
        const int count = list.count();
        entries.reserve(static_cast<std::size_t>(std::max(count, 0)));
        for (int i = 0; i < count; ++i) entries.push_back(list.entry(i));
        return previewPath(pixelsToTwips(width, dpi), pixelsToTwips(height, dpi), entries);
    } catch (const std::exception&) {
        return {};
    }
}

void drawPicture(HDC dc, int width, int height, const std::vector<Segment>& path, int dpi) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (const Segment& segment : path) {
        const POINT from = toPixels(segment.from, dpi);
        const POINT to = toPixels(segment.to, dpi);
        if (from.x != to.x || from.y != to.y) {
            MoveToEx(dc, from.x, from.y, nullptr);
            LineTo(dc, to.x, to.y);
        }
        // LineTo stops short of its end point; a segment that goes nowhere
        // would otherwise leave no mark at all.
        SetPixel(dc, to.x, to.y, ink);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// Clears and draws the whole client area in one blit, so a resize never
// shows the cleared background on its own.
void redraw(HWND window, HDC target, const PathModel& list) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return;
    const int dpi = windowDpi(window);
    const std::vector<Segment> path = pathFor(list, width, height, dpi);

    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(target, width, height) : nullptr;
    if (!bitmap) {
        // Short of memory the picture still appears, if with a flicker.
        if (memory) DeleteDC(memory);
        drawPicture(target, width, height, path, dpi);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    drawPicture(memory, width, height, path, dpi);
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

class FrmPreview final : public Window {
public:
    explicit FrmPreview(const PathModel& list) : list_(list) {}

    bool create(HINSTANCE instance, HWND owner) {
        const int dpi = windowDpi(owner);
        const SIZE size = windowSizeFor(twipsToPixels(kClientWidthTwips, dpi),
                                        twipsToPixels(kClientHeightTwips, dpi), kStyle, kExStyle);
        return createWindow(instance, {kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)}, L"Preview",
                            {kStyle, kExStyle, {CW_USEDEFAULT, CW_USEDEFAULT}, size, owner});
    }

private:
    // Clears the window and draws the whole path anew.
    void redrawPath() {
        HDC dc = GetDC(hwnd());
        if (!dc) return;
        redraw(hwnd(), dc, list_);
        ReleaseDC(hwnd(), dc);
    }

    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_ACTIVATE: {
                LRESULT result = DefWindowProcW(hwnd(), msg, wParam, lParam);
                if (LOWORD(wParam) != WA_INACTIVE) redrawPath();
                return result;
            }
            case WM_SIZE: redrawPath(); return 0;
            case WM_ERASEBKGND:
                // WM_PAINT covers every pixel; erasing first would only flicker.
                return 1;
            case WM_PAINT: {
                // Drawn here too: where the system keeps no copy of the window,
                // an uncovered part would otherwise stay blank until the next
                // activation or resize.
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(hwnd(), &ps);
                if (dc) redraw(hwnd(), dc, list_);
                EndPaint(hwnd(), &ps);
                return 0;
            }
            default: return Window::handle(msg, wParam, lParam);
        }
    }

    const PathModel& list_;
};

}  // namespace

bool runPreviewWindow(HINSTANCE instance, HWND owner, const PathModel& list) {
    FrmPreview preview(list);
    return !preview.create(instance, owner) || runModal(preview, owner);
}

}  // namespace tavrel::win32
