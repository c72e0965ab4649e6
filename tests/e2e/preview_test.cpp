// The Preview window driven from the main window's button: how it opens and
// closes, and what it draws, read back from the screen pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "macro/preview_geometry.h"
#include "tests/e2e/driver.h"

namespace e2e {
namespace {

const std::wstring kListFile = L"TavrelXP.txt";
const std::wstring kPreviewClass = L"TavrelPreview";
const std::wstring kPreviewCaption = L"Preview";

// What the screen shows of a window's client area, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[index(x, y)]; }
    void set(int x, int y, COLORREF c) { pixels[index(x, y)] = c; }
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }
};

COLORREF background() { return GetSysColor(COLOR_BTNFACE) & 0xFFFFFF; }
COLORREF ink() { return GetSysColor(COLOR_BTNTEXT) & 0xFFFFFF; }

std::string hex(COLORREF c) {
    std::ostringstream out;
    out << "#" << std::hex << std::setw(6) << std::setfill('0')
        << (((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    return out.str();
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

// The client area as it is on the screen, so whatever covers it is seen too.
Image captureClient(HWND window) {
    Image image;
    SIZE size = clientSize(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    if (size.cx <= 0 || size.cy <= 0) return image;
    image.width = size.cx;
    image.height = size.cy;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, size.cx, size.cy, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* raw = static_cast<const DWORD*>(bits);
    image.pixels.resize(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        DWORD p = raw[i];  // 0x00RRGGBB
        image.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return image;
}

// Twips to pixels at 96 dpi. A whole number of twips is never exactly half
// way between two pixels at 15 twips per pixel, so rounding is unambiguous.
int px(std::int32_t twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / 15.0)); }

// What the preview should show for `entries` in a client area of this size:
// the background, and every pixel of every segment, both ends included, in
// the text colour.
Image expectedImage(int width, int height, const std::vector<std::string>& entries) {
    Image image;
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
std::string difference(const Image& seen, const Image& expected) {
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

std::string listFileBytes(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const std::string& e : entries) bytes += e + "\r\n";
    return bytes;
}

void loadList(const ProgramFolder& folder, const App& app, const std::vector<std::string>& entries) {
    folder.write(kListFile, listFileBytes(entries));
    app.click(L"Load");
    ASSERT_TRUE(waitUntil([&] { return app.listCount() == static_cast<int>(entries.size()); }))
        << "the list holds " << app.listCount() << " entries after Load, expected " << entries.size();
    ASSERT_TRUE(noMessageBox(app)) << "Load reported something";
}

HWND openPreview(const App& app) {
    app.click(L"Preview");
    return app.waitForWindow(kPreviewClass, kPreviewCaption);
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

// Waits until the screen shows `entries` drawn in the preview at its current
// size; on failure says how the last look differed.
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

void setClientSize(HWND window, int x, int y, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, x, y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void closePreview(const App& app, HWND preview) {
    PostMessageW(preview, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(preview); })) << "the preview was not destroyed on close";
    EXPECT_TRUE(app.responsive()) << "the main window does not answer after the preview closed";
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

const std::vector<std::string> kShortWalk = {"UP", "UP", "RIGHT", "DOWN", "LEFT", "LEFT"};

TEST(Preview, OpensAsAResizableToolWindowOverTheDisabledMainWindow) {
    ASSERT_EQ(screenDpi(), 96) << "sizes are checked at 96 dpi";
    ProgramFolder folder;
    App app(folder);
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";

    EXPECT_EQ(app.text(preview), L"Preview");
    LONG style = GetWindowLongW(preview, GWL_STYLE);
    LONG exStyle = GetWindowLongW(preview, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "a tool window has the small caption and no taskbar button";
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW) << "it must not ask for a taskbar button";
    EXPECT_TRUE(style & WS_THICKFRAME) << "the user must be able to resize it";
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU) << "it needs its close box";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetClassLongPtrW(preview, GCLP_HICON), ULONG_PTR{0}) << "it has no icon of its own";
    EXPECT_EQ(GetClassLongPtrW(preview, GCLP_HICONSM), ULONG_PTR{0}) << "it has no icon of its own";
    EXPECT_EQ(GetWindow(preview, GW_OWNER), app.main()) << "owned by the main window, so it stays above it";

    SIZE client = clientSize(preview);
    EXPECT_EQ(client.cx, 466) << "6990 twips";
    EXPECT_EQ(client.cy, 326) << "4890 twips";

    // Modal: the main window stays in view but takes no input.
    EXPECT_TRUE(IsWindowVisible(app.main()));
    EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(app.main()); })) << "the main window is still enabled";
    EXPECT_TRUE(IsWindowVisible(preview));

    closePreview(app, preview);
}

TEST(Preview, ClosingGivesControlBackAndTheNextClickOpensAFreshWindow) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, kShortWalk));
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == preview; }))
        << "the preview did not take the activation";
    setClientSize(preview, 10, 10, 300, 200);
    ASSERT_TRUE(waitUntil([&] { return clientSize(preview).cx == 300; }));

    closePreview(app, preview);
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(app.main()); })) << "the main window stays disabled";
    EXPECT_TRUE(IsWindowVisible(app.main()));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == app.main(); }))
        << "the activation went to " << GetForegroundWindow() << ", not back to the main window " << app.main();

    // The main window works again: Load takes another list.
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, {"DOWN", "RIGHT"}));

    // A new window, at the initial size again, drawing the list as it is now.
    HWND again = openPreview(app);
    ASSERT_NE(again, nullptr) << "the second Preview click showed no window";
    SIZE client = clientSize(again);
    EXPECT_EQ(client.cx, 466);
    EXPECT_EQ(client.cy, 326);
    EXPECT_TRUE(showsPath(again, {"DOWN", "RIGHT"}));
    closePreview(app, again);
}

TEST(Preview, DrawsThePathFromTheMiddleOfTheWindow) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, kShortWalk));
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";
    ASSERT_EQ(clientSize(preview).cx, 466);
    ASSERT_EQ(clientSize(preview).cy, 326);
    EXPECT_TRUE(showsPath(preview, kShortWalk));

    // The same, worked out by hand: start (3495, 2445) twips = (233, 163),
    // step 49 twips; up twice to y 2347 (156), right to x 3544 (236), down
    // to y 2396 (160), left twice to x 3446 (230).
    Image seen = captureClient(preview);
    ASSERT_EQ(seen.width, 466);
    struct Spot {
        int x, y;
        bool inked;
    } spots[] = {{233, 163, true},  {233, 156, true},  {236, 156, true},  {236, 160, true},
                 {230, 160, true},  {233, 164, false}, {233, 155, false}, {237, 156, false},
                 {229, 160, false}, {234, 163, false}, {0, 0, false},     {465, 325, false}};
    for (const Spot& s : spots) {
        EXPECT_EQ(seen.at(s.x, s.y), s.inked ? ink() : background())
            << "at (" << s.x << "," << s.y << "): " << hex(seen.at(s.x, s.y));
    }
    closePreview(app, preview);
}

TEST(Preview, ResizingRedrawsTheWholePathRecentredWithANewStep) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, kShortWalk));
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";
    ASSERT_TRUE(showsPath(preview, kShortWalk));

    // Taller than wide: the step comes from the width, 4500 / 100 = 45
    // twips, three pixels; the start moves to (150, 210).
    setClientSize(preview, 10, 10, 300, 420);
    ASSERT_TRUE(waitUntil([&] {
        SIZE s = clientSize(preview);
        return s.cx == 300 && s.cy == 420;
    })) << "the preview did not take the new size";
    EXPECT_TRUE(showsPath(preview, kShortWalk));
    Image tall = captureClient(preview);
    EXPECT_EQ(tall.at(150, 210), ink()) << "the start is not in the middle";
    EXPECT_EQ(tall.at(150, 204), ink()) << "two steps up are six pixels";
    EXPECT_EQ(tall.at(150, 203), background());

    // Wider than tall, and the step 3750 / 100 = 37.5 rounds to 38 twips.
    setClientSize(preview, 10, 10, 600, 250);
    ASSERT_TRUE(waitUntil([&] {
        SIZE s = clientSize(preview);
        return s.cx == 600 && s.cy == 250;
    })) << "the preview did not take the new size";
    EXPECT_TRUE(showsPath(preview, kShortWalk));

    // Smaller again: nothing of the larger picture may stay behind.
    setClientSize(preview, 10, 10, 200, 150);
    ASSERT_TRUE(waitUntil([&] {
        SIZE s = clientSize(preview);
        return s.cx == 200 && s.cy == 150;
    })) << "the preview did not take the new size";
    EXPECT_TRUE(showsPath(preview, kShortWalk));
    closePreview(app, preview);
}

TEST(Preview, AnEmptyListShowsABlankWindow) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_EQ(app.listCount(), 0);
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "Preview with an empty list showed no window";
    EXPECT_TRUE(showsPath(preview, {}));
    Image seen = captureClient(preview);
    int inked = 0;
    for (COLORREF c : seen.pixels) inked += c != background();
    EXPECT_EQ(inked, 0) << "pixels that are not the background";
    closePreview(app, preview);
}

TEST(Preview, EntriesThatDoNotMoveStillMarkTheStart) {
    ProgramFolder folder;
    App app(folder);
    const std::vector<std::string> still = {"JUMP", "up", "UP ", "", "Right"};
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, still));
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";
    EXPECT_TRUE(showsPath(preview, still));
    Image seen = captureClient(preview);
    ASSERT_EQ(seen.width, 466);
    EXPECT_EQ(seen.at(233, 163), ink()) << "the point segments leave no mark at the start";
    int inked = 0;
    for (COLORREF c : seen.pixels) inked += c == ink();
    EXPECT_EQ(inked, 1) << "only the start is marked";
    closePreview(app, preview);
}

TEST(Preview, APathLeavingTheWindowIsCutOffAtItsEdge) {
    ProgramFolder folder;
    App app(folder);
    // Steps of 49 twips from (3495, 2445): 60 up leave the top (the 50th
    // already does), 40 left run along above it, 90 down come back in
    // across the top edge at x 1535, and 120 right leave by the right side
    // at y 3915.
    std::vector<std::string> walk(60, "UP");
    walk.insert(walk.end(), 40, "LEFT");
    walk.insert(walk.end(), 90, "DOWN");
    walk.insert(walk.end(), 120, "RIGHT");
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, walk));
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";
    EXPECT_TRUE(showsPath(preview, walk));
    Image seen = captureClient(preview);
    ASSERT_EQ(seen.width, 466);
    EXPECT_EQ(seen.at(233, 0), ink()) << "the way up reaches the top edge";
    EXPECT_EQ(seen.at(102, 0), ink()) << "the way down comes in at the top edge";
    EXPECT_EQ(seen.at(465, 261), ink()) << "the way right reaches the right edge";
    closePreview(app, preview);
}

// A plain window of the test's own, to lay over the preview.
HWND createCover(const RECT& onScreen) {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
        wc.lpszClassName = L"PreviewTestCover";
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) return nullptr;
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"PreviewTestCover", L"", WS_POPUP, onScreen.left,
                                 onScreen.top, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (cover) {
        ShowWindow(cover, SW_SHOWNOACTIVATE);
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return cover;
}

void pumpOwnMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(Preview, APartThatWasCoveredShowsThePathAgain) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, kShortWalk));
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";
    ASSERT_TRUE(showsPath(preview, kShortWalk));

    // Over the middle of the client area, where the path lies.
    RECT middle{150, 100, 320, 230};
    MapWindowPoints(preview, nullptr, reinterpret_cast<POINT*>(&middle), 2);
    HWND cover = createCover(middle);
    ASSERT_NE(cover, nullptr);
    int covered = 0;
    bool seenCovered = waitUntil([&] {
        pumpOwnMessages();
        Image seen = captureClient(preview);
        covered = 0;
        for (int y = 100; y < 230; ++y)
            for (int x = 150; x < 320; ++x) covered += seen.at(x, y) == RGB(255, 0, 255);
        return covered == 170 * 130;
    });
    ASSERT_TRUE(seenCovered) << "the cover showed over only " << covered << " of " << 170 * 130 << " pixels";
    DestroyWindow(cover);
    pumpOwnMessages();
    EXPECT_TRUE(showsPath(preview, kShortWalk)) << "after the cover went away";

    // Where the system keeps no copy of the window's pixels, whatever lay
    // on top is still there until the window paints the part again. Leave
    // such leftovers there, then ask for the repaint the system would ask for.
    const RECT part{150, 100, 320, 230};
    HDC dc = GetDC(preview);
    ASSERT_NE(dc, nullptr);
    HBRUSH leftover = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &part, leftover);
    DeleteObject(leftover);
    ReleaseDC(preview, dc);
    ASSERT_TRUE(waitUntil([&] { return captureClient(preview).at(233, 163) == RGB(255, 0, 255); }))
        << "the leftover pixels never showed";
    RedrawWindow(preview, &part, nullptr, RDW_INVALIDATE | RDW_ERASE);
    EXPECT_TRUE(showsPath(preview, kShortWalk)) << "after the uncovered part was repainted";
    RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    EXPECT_TRUE(showsPath(preview, kShortWalk)) << "after the whole window was repainted";
    closePreview(app, preview);
}

}  // namespace
}  // namespace e2e
