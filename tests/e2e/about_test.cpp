// The About window, opened from the main window's About button: how it
// replaces the main window, where it stands, and how it closes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <utility>

#include "tests/e2e/about_driver.h"
#include "tests/support/input.h"
#include "tests/support/processes.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

using tavrel::AboutId;

std::string nameOf(AboutId id) {
    switch (id) {
        case AboutId::Label5: return "Label5";
        case AboutId::Label3: return "Label3";
        case AboutId::Label4: return "Label4";
        case AboutId::Command1: return "Command1";
        case AboutId::Label1: return "Label1";
        case AboutId::Image1: return "Image1";
    }
    return "control " + std::to_string(static_cast<int>(id));
}

TEST(About, ReplacesTheMainWindowAndShowsTheSameVersionLineEachTime) {
    ProgramFolder folder;
    App app(folder);
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening));
        std::string seen;
        HWND about = openAbout(app, seen);
        ASSERT_NE(about, nullptr) << seen;
        EXPECT_EQ(app.text(about), L"About");
        EXPECT_FALSE(IsWindowVisible(app.main()));
        EXPECT_EQ(app.text(aboutControl(about, AboutId::Label4)), kVersionLine);

        PostMessageW(aboutControl(about, AboutId::Command1), BM_CLICK, 0, 0);
        ASSERT_TRUE(waitForMainBack(app, about, seen)) << seen;
    }
}

TEST(About, IsASmallToolWindowCentredOnTheMainWindowWithItsControlsInPlace) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_EQ(screenDpi(), 96) << "sizes are checked at 96 dpi";
    RECT mainRect;
    GetWindowRect(app.main(), &mainRect);
    std::string seen;
    HWND about = openAbout(app, seen);
    ASSERT_NE(about, nullptr) << seen;

    LONG style = GetWindowLongW(about, GWL_STYLE);
    LONG exStyle = GetWindowLongW(about, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "not a tool window";
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW) << "it would get a taskbar button";
    EXPECT_EQ(GetWindow(about, GW_OWNER), app.main()) << "About must belong to the main window";
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU) << "no close box";
    EXPECT_FALSE(style & WS_THICKFRAME) << "About must not be resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);

    RECT client;
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 354);
    EXPECT_EQ(client.bottom, 199);

    RECT outer;
    GetWindowRect(about, &outer);
    EXPECT_LE(std::abs((outer.left + outer.right) - (mainRect.left + mainRect.right)), 2)
        << "About " << describe(outer) << " is not centred on the main window " << describe(mainRect);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - (mainRect.top + mainRect.bottom)), 2)
        << "About " << describe(outer) << " is not centred on the main window " << describe(mainRect);

    for (const tavrel::AboutControl& row : tavrel::kAboutControls) {
        std::string name = nameOf(row.id);
        HWND c = aboutControl(about, row.id);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_TRUE(IsWindowVisible(c)) << name;
        RECT r = childRect(c);
        EXPECT_NEAR(r.left, row.rect.left / 15, 1) << name;
        EXPECT_NEAR(r.top, row.rect.top / 15, 1) << name;
        bool fitsItsText = (row.flags & tavrel::kFitText) != 0;
        if (!fitsItsText) {
            EXPECT_NEAR(r.right - r.left, row.rect.width / 15, 1) << name;
            EXPECT_NEAR(r.bottom - r.top, row.rect.height / 15, 1) << name;
        }
        EXPECT_LE(r.right, client.right) << name << " runs past the window's edge: " << describe(r);
        EXPECT_LE(r.bottom, client.bottom) << name << " runs past the window's edge: " << describe(r);
    }
    // The version line is far wider than its 555-twip box: it must not be cut to it.
    RECT version = childRect(aboutControl(about, AboutId::Label4));
    EXPECT_GT(version.right - version.left, 555 / 15 * 2) << describe(version);

    EXPECT_EQ(app.text(aboutControl(about, AboutId::Label3)), kAddress);
    EXPECT_EQ(app.text(aboutControl(about, AboutId::Label4)), kVersionLine);
    EXPECT_EQ(app.text(aboutControl(about, AboutId::Label5)), widen(std::string(tavrel::kCreditLine)));
    EXPECT_EQ(app.text(aboutControl(about, AboutId::Label1)), widen(std::string(tavrel::kDescription)));
    EXPECT_EQ(app.text(aboutControl(about, AboutId::Command1)), L"OK");

    // "OK" is the only control that takes the focus; it has it and is the default.
    HWND ok = aboutControl(about, AboutId::Command1);
    EXPECT_EQ(focusOfThread(about), ok);
    EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    std::vector<int> order;
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        order.push_back(GetDlgCtrlID(c));
        if (c != ok) {
            EXPECT_FALSE(GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) << nameOf(static_cast<AboutId>(GetDlgCtrlID(c)));
        }
    }
    std::vector<int> expected;
    for (const tavrel::AboutControl& row : tavrel::kAboutControls) expected.push_back(static_cast<int>(row.id));
    EXPECT_EQ(order, expected) << "the tab order differs";
}

TEST(About, OkEnterAndTheCloseBoxEachBringTheMainWindowBackUnchanged) {
    ProgramFolder folder;
    App app(folder);
    folder.write(L"TavrelXP.txt", "UP\r\nLEFT\r\nDOWN\r\nRIGHT\r\n");
    app.click(L"Load");
    const std::vector<std::wstring> list{L"UP", L"LEFT", L"DOWN", L"RIGHT"};
    ASSERT_TRUE(waitUntil([&] { return app.listItems() == list; })) << "the list file did not load";
    // Every setting away from its start value.
    app.click(L"Ultra-surpressed");
    app.click(L"No keysend sound on play");
    app.click(L"This window always on top");
    auto settingsChanged = [&] {
        return app.checked(L"Ultra-surpressed") && !app.checked(L"Surpressed (recommended)") &&
               !app.checked(L"Original") && !app.checked(L"No keysend sound on play") &&
               app.checked(L"This window always on top");
    };
    ASSERT_TRUE(waitUntil(settingsChanged)) << "the settings did not take their new values";

    struct Closer {
        const char* name;
        std::function<bool(HWND about)> close;
    };
    const Closer closers[] = {
        {"OK clicked",
         [](HWND about) { return PostMessageW(aboutControl(about, AboutId::Command1), BM_CLICK, 0, 0) != 0; }},
        {"Enter pressed",
         [](HWND about) {
             if (!focus(about)) return false;
             if (focusOfThread(about) != aboutControl(about, AboutId::Command1)) return false;
             tapKey(VK_RETURN);
             return true;
         }},
        {"close box", [](HWND about) { return PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0) != 0; }},
    };
    for (const Closer& closer : closers) {
        SCOPED_TRACE(closer.name);
        std::string seen;
        HWND about = openAbout(app, seen);
        ASSERT_NE(about, nullptr) << seen;
        ASSERT_TRUE(closer.close(about)) << "could not reach About (or \"OK\" did not have the focus)";
        ASSERT_TRUE(waitForMainBack(app, about, seen)) << seen;
        EXPECT_EQ(app.listItems(), list);
        EXPECT_TRUE(settingsChanged()) << "a setting changed while About was open";
        EXPECT_TRUE(GetWindowLongW(app.main(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "the main window lost its place on top";
        EXPECT_TRUE(noMessageBox(app));
    }
}

}  // namespace
}  // namespace e2e
