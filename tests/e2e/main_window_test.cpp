// The main window as a user first sees it, and its small handlers.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "tests/e2e/driver.h"

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

}  // namespace
}  // namespace e2e
