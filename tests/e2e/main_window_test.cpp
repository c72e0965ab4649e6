// The main window as a user first sees it, and its small handlers.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_layout.h"
#include "tests/e2e/about_driver.h"
#include "tests/support/driver.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

using tavrel::ControlKind;
using tavrel::ControlSpec;

TEST(MainWindow, ShowsEveryControlWhereTheLayoutPutsIt) {
    ProgramFolder folder;
    App app(folder);
    EXPECT_EQ(app.text(app.main()), L"Tavrel for RMXP");

    LONG style = GetWindowLongW(app.main(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);

    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "positions are checked at 96 dpi";

    RECT client;
    GetClientRect(app.main(), &client);
    EXPECT_EQ(client.right, 383);
    EXPECT_EQ(client.bottom, 253);

    // Centred on the screen, within a pixel of rounding.
    RECT outer;
    GetWindowRect(app.main(), &outer);
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((outer.left + outer.right) - screenW), 2) << outer.left << "," << outer.right;
    EXPECT_LE(std::abs((outer.top + outer.bottom) - screenH), 2) << outer.top << "," << outer.bottom;

    for (const ControlSpec& row : tavrel::mainWindowControls()) {
        HWND c = GetDlgItem(app.main(), static_cast<int>(row.id));
        std::string name(row.caption.empty() ? "the list" : row.caption);
        ASSERT_NE(c, nullptr) << name;
        if (row.kind != ControlKind::ListBox) {
            EXPECT_EQ(app.text(c), widen(std::string(row.caption))) << name;
        }
        EXPECT_TRUE(IsWindowVisible(c)) << name;
        EXPECT_TRUE(IsWindowEnabled(c)) << name;
        tavrel::TwipRect twips = tavrel::clientRectTwips(row);
        RECT r = childRect(c);
        EXPECT_NEAR(r.left, twips.left / 15, 1) << name;
        EXPECT_NEAR(r.top, twips.top / 15, 1) << name;
        EXPECT_NEAR(r.right - r.left, twips.width / 15, 1) << name;
        EXPECT_NEAR(r.bottom - r.top, twips.height / 15, 1) << name;
    }

    // Start values.
    EXPECT_FALSE(app.checked(L"This window always on top"));
    EXPECT_TRUE(app.checked(L"No keysend sound on play"));
    EXPECT_FALSE(app.checked(L"Original"));
    EXPECT_TRUE(app.checked(L"Surpressed (recommended)"));
    EXPECT_FALSE(app.checked(L"Ultra-surpressed"));
    EXPECT_TRUE(app.listItems().empty());
}

TEST(MainWindow, TabOrderFollowsTheLayout) {
    ProgramFolder folder;
    App app(folder);
    // The z-order of the children is the dialog manager's tab order.
    std::vector<int> ids;
    for (HWND c = GetWindow(app.main(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(c);
        if (id >= static_cast<int>(tavrel::ControlId::ChkOnTop)) ids.push_back(id);
    }
    std::vector<int> expected;
    for (const ControlSpec& row : tavrel::mainWindowControls()) expected.push_back(static_cast<int>(row.id));
    EXPECT_EQ(ids, expected);
}

TEST(MainWindow, OnTopBoxMakesTheWindowTopmostAndBack) {
    ProgramFolder folder;
    App app(folder);
    RECT before;
    GetWindowRect(app.main(), &before);
    auto topmost = [&] { return (GetWindowLongW(app.main(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    EXPECT_FALSE(topmost());

    app.click(L"This window always on top");
    EXPECT_TRUE(waitUntil(topmost)) << "checking the box did not make the window topmost";
    EXPECT_TRUE(app.checked(L"This window always on top"));
    // Hovering over a control shows its tool tip; that must not cost the window its place.
    RECT r;
    GetWindowRect(app.button(L"Record"), &r);
    SetCursorPos((r.left + r.right) / 2 - 1, (r.top + r.bottom) / 2);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    HWND tip = app.waitForWindow(L"tooltips_class32", L"Record keystrokes", 10s);
    EXPECT_NE(tip, nullptr) << "no tool tip appeared over Record";
    ASSERT_TRUE(app.responsive());
    EXPECT_TRUE(topmost()) << "the window lost its topmost place while tool tips showed";

    app.click(L"This window always on top");
    EXPECT_TRUE(waitUntil([&] { return !topmost(); })) << "unchecking did not return the window to normal order";
    RECT after;
    GetWindowRect(app.main(), &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
}

// With no window manager on the test display, Wine leaves title bars to the
// missing manager unless told to draw them itself, as it does on a Wine
// desktop. Told here for tavrel.exe alone, while a test needs it.
class WineDrawsTitleBars {
public:
    WineDrawsTitleBars() {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) == 0)
            RegSetValueExW(key_, L"Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    }
    ~WineDrawsTitleBars() {
        if (!key_) return;
        RegDeleteValueW(key_, L"Decorated");
        RegCloseKey(key_);
    }
    WineDrawsTitleBars(const WineDrawsTitleBars&) = delete;
    WineDrawsTitleBars& operator=(const WineDrawsTitleBars&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\tavrel.exe\\X11 Driver";
    HKEY key_ = nullptr;
};

// Wine draws the close box as the character "r" of the Marlett font: a
// cross. Where the prefix lacks Marlett, another font stands in and the box
// shows the letter r, which is not mirror-symmetric; the cross is, both ways.
TEST(MainWindow, TheCloseBoxShowsACrossNotALetter) {
    const WineDrawsTitleBars drawn;
    ProgramFolder folder;
    App app(folder);
    ASSERT_TRUE(app.responsive());
    RECT window;
    GetWindowRect(app.main(), &window);
    const Capture shot = captureScreen(window);
    POINT origin{0, 0};
    ClientToScreen(app.main(), &origin);
    const int border = origin.x - window.left;
    const int captionBottom = origin.y - window.top;
    // The close box: the last button of the caption, at its right end.
    const RECT box{shot.width - border - GetSystemMetrics(SM_CXSIZE), border, shot.width - border, captionBottom};

    // The glyph is drawn in the button text colour; the box's edges are greys.
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    std::vector<POINT> glyph;
    RECT bounds{box.right, box.bottom, box.left, box.top};
    for (LONG y = box.top; y < box.bottom; ++y)
        for (LONG x = box.left; x < box.right; ++x)
            if (shot.at(x, y) == ink) {
                glyph.push_back({x, y});
                bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
                          std::max(bounds.bottom, y)};
            }
    // The box as text: '#' the glyph's colour, '+' other dark pixels (a
    // smoothed letter), '.' the rest.
    std::string picture;
    for (LONG y = box.top; y < box.bottom; ++y) {
        for (LONG x = box.left; x < box.right; ++x) {
            const COLORREF c = shot.at(x, y);
            picture += c == ink ? '#' : GetRValue(c) + GetGValue(c) + GetBValue(c) < 300 ? '+' : '.';
        }
        picture += '\n';
    }
    ASSERT_GE(glyph.size(), 8u) << "no cross in the close box (is Marlett missing?):\n" << picture;
    // A box all of the glyph's colour is no drawn box (the bare black screen).
    const auto area = static_cast<std::size_t>((box.right - box.left) * (box.bottom - box.top));
    ASSERT_LT(glyph.size(), area / 3) << "no title bar was drawn there:\n" << picture;
    auto mirrored = [&](bool leftRight) {
        int matched = 0;
        for (POINT p : glyph) {
            const LONG x = leftRight ? bounds.left + bounds.right - p.x : p.x;
            const LONG y = leftRight ? p.y : bounds.top + bounds.bottom - p.y;
            matched += shot.at(x, y) == ink;
        }
        return 100 * matched / static_cast<int>(glyph.size());
    };
    EXPECT_GE(mirrored(true), 90) << "the close box shows no cross (is Marlett missing?):\n" << picture;
    EXPECT_GE(mirrored(false), 90) << "the close box shows no cross (is Marlett missing?):\n" << picture;
}

}  // namespace
}  // namespace e2e
