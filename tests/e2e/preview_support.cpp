#include "tests/e2e/preview_support.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>

#include "core/preview_geometry.h"
#include "tests/e2e/player_support.h"
#include "tests/support/screen.h"

namespace e2e {

namespace {

const std::wstring kPreviewClass = L"TavrelPreview";
const std::wstring kPreviewCaption = L"Preview";

// Twips to pixels at 96 dpi. A whole number of twips is never exactly half
// way between two pixels at 15 twips per pixel, so rounding is unambiguous.
int px(std::int32_t twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / 15.0)); }

// What the preview should show for `entries` in a client area of this size:
// the background, and every pixel of every segment, both ends included, in
// the text colour.
Capture expectedImage(int width, int height, const std::vector<std::string>& entries) {
    Capture image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background());
    for (const tavrel::Segment& s :
         tavrel::previewPath(static_cast<float>(width * 15), static_cast<float>(height * 15), entries)) {
        int x0 = px(s.from.x), y0 = px(s.from.y), x1 = px(s.to.x), y1 = px(s.to.y);
        EXPECT_TRUE(x0 == x1 || y0 == y1) << "the geometry gave a slanted segment";
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
            for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
                if (x >= 0 && y >= 0 && x < width && y < height) image.set(x, y, ink());
    }
    return image;
}

// Empty when the two agree, else how they differ.
std::string difference(const Capture& seen, const Capture& expected) {
    if (seen.width != expected.width || seen.height != expected.height) {
        return "the client area is " + std::to_string(seen.width) + "x" + std::to_string(seen.height) + ", expected " +
               std::to_string(expected.width) + "x" + std::to_string(expected.height);
    }
    std::ostringstream out;
    int wrong = 0, missingInk = 0, strayInk = 0;
    for (int y = 0; y < seen.height; ++y) {
        for (int x = 0; x < seen.width; ++x) {
            COLORREF s = seen.at(x, y), e = expected.at(x, y);
            if (s == e) continue;
            if (e == ink()) ++missingInk;
            if (s == ink()) ++strayInk;
            if (++wrong <= 8) out << " (" << x << "," << y << ") is " << hex(s) << " not " << hex(e) << ";";
        }
    }
    if (wrong == 0) return {};
    std::ostringstream head;
    head << wrong << " pixels differ (" << missingInk << " of the path missing, " << strayInk
         << " inked off the path); background " << hex(background()) << ", ink " << hex(ink()) << ":";
    return head.str() + out.str();
}

// With no window manager nothing raises a window for us.
void bringToTop(HWND window) {
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Waits until the window has handled everything queued for it so far,
// painting included, so that what the screen shows afterwards is its work.
bool settled(HWND window) {
    return waitUntil([&] {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored)) return false;
        return !GetUpdateRect(window, nullptr, FALSE);
    });
}

}  // namespace

COLORREF background() { return GetSysColor(COLOR_BTNFACE) & 0xFFFFFF; }

COLORREF ink() { return GetSysColor(COLOR_BTNTEXT) & 0xFFFFFF; }

std::string hex(COLORREF c) {
    std::ostringstream out;
    out << "#" << std::hex << std::setw(6) << std::setfill('0')
        << (((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    return out.str();
}

HWND openPreview(const App& app) {
    app.click(L"Preview");
    return app.waitForWindow(kPreviewClass, kPreviewCaption);
}

HWND previewOf(const ProgramFolder& folder, const App& app, const std::vector<std::string>& entries) {
    loadList(folder, app, entries);
    if (::testing::Test::HasFatalFailure()) return nullptr;
    HWND preview = openPreview(app);
    if (!preview) ADD_FAILURE() << "no \"Preview\" window appeared";
    return preview;
}

::testing::AssertionResult showsPath(HWND preview, const std::vector<std::string>& entries) {
    if (!settled(preview)) return ::testing::AssertionFailure() << "the preview never finished painting";
    bringToTop(preview);
    std::string last = "nothing seen";
    bool same = waitUntil([&] {
        SIZE size = clientSize(preview);
        RECT onScreen{0, 0, size.cx, size.cy};
        MapWindowPoints(preview, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        if (onScreen.left < 0 || onScreen.top < 0 || onScreen.right > GetSystemMetrics(SM_CXSCREEN) ||
            onScreen.bottom > GetSystemMetrics(SM_CYSCREEN)) {
            last = "the client area is not wholly on the screen";
            return false;
        }
        last = difference(captureClient(preview), expectedImage(size.cx, size.cy, entries));
        return last.empty();
    });
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << last;
}

::testing::AssertionResult resized(HWND window, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 10, 10, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SIZE seen{};
    if (waitUntil([&] {
            seen = clientSize(window);
            return seen.cx == width && seen.cy == height;
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the window did not take the size " << width << "x" << height
                                         << "; its client area is " << seen.cx << "x" << seen.cy;
}

void closePreview(const App& app, HWND preview) {
    PostMessageW(preview, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(preview); })) << "the preview was not destroyed on close";
    EXPECT_TRUE(app.responsive()) << "the main window does not answer after the preview closed";
}

}  // namespace e2e
