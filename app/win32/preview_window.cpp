#include "app/win32/preview_window.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "app/win32/window_support.h"
#include "macro/preview_geometry.h"

namespace tavrel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TavrelPreview";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kClientWidthTwips = 6990;
constexpr int kClientHeightTwips = 4890;

// Far outside any bitmap, yet well inside what GDI takes as a coordinate.
constexpr int kFarPixel = 1 << 20;

struct FrmPreview {
    const KeystrokeList* list = nullptr;
    HWND owner = nullptr;
    bool ownerWasEnabled = false;
};

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
std::vector<Segment> pathFor(const KeystrokeList& list, int width, int height, int dpi) noexcept {
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
void redraw(HWND window, HDC target, const FrmPreview& preview) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return;
    const int dpi = windowDpi(window);
    const std::vector<Segment> path = pathFor(*preview.list, width, height, dpi);

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

void Update(HWND window, const FrmPreview& preview) {
    HDC dc = GetDC(window);
    if (!dc) return;
    redraw(window, dc, preview);
    ReleaseDC(window, dc);
}

LRESULT CALLBACK previewProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* preview = reinterpret_cast<FrmPreview*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!preview) return DefWindowProcW(window, msg, wParam, lParam);
    switch (msg) {
        case WM_ACTIVATE: {
            LRESULT result = DefWindowProcW(window, msg, wParam, lParam);
            if (LOWORD(wParam) != WA_INACTIVE) Update(window, *preview);
            return result;
        }
        case WM_SIZE: Update(window, *preview); return 0;
        case WM_ERASEBKGND:
            // WM_PAINT covers every pixel; erasing first would only flicker.
            return 1;
        case WM_PAINT: {
            // Drawn here too: where the system keeps no copy of the window,
            // an uncovered part would otherwise stay blank until the next
            // activation or resize.
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            if (dc) redraw(window, dc, *preview);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_CLOSE:
            // Enabled before the window goes, so that the system hands the
            // activation back to the main window rather than to another program.
            if (preview->owner && preview->ownerWasEnabled) EnableWindow(preview->owner, TRUE);
            DestroyWindow(window);
            return 0;
        case WM_NCDESTROY: SetWindowLongPtrW(window, GWLP_USERDATA, 0); break;
        default: break;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

void runPreviewWindow(HINSTANCE instance, HWND owner, const KeystrokeList& list) {
    static const bool registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = previewProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) return;

    FrmPreview preview;
    preview.list = &list;
    preview.owner = owner;
    preview.ownerWasEnabled = owner && IsWindowEnabled(owner);

    const int dpi = windowDpi(owner);
    SIZE size =
        windowSizeFor(twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi), kStyle, kExStyle);
    HWND window = CreateWindowExW(kExStyle, kClassName, L"Preview", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                                  size.cy, owner, nullptr, instance, &preview);
    if (window) runModal(window, owner);
}

}  // namespace tavrel::win32
