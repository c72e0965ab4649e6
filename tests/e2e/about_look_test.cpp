// The About window's link, colours, picture and tool tips.
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

constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

std::wstring environment(const wchar_t* name) {
    wchar_t value[4096];
    DWORD n = GetEnvironmentVariableW(name, value, 4096);
    return n > 0 && n < 4096 ? std::wstring(value, n) : L"";
}

TEST(About, TheLinkStartsTheFileManagerOnTheAddressAndAboutStaysOpen) {
    // Wine's file manager passes a web address on to the host's browser; the
    // test wants the file manager started, not a browser on the host.
    ScopedEnvironment noBrowser(L"WINEDLLOVERRIDES", environment(L"WINEDLLOVERRIDES") + L";winebrowser.exe=d");
    ProgramFolder folder;
    App app(folder);
    std::string seen;
    HWND about = openAbout(app, seen);
    ASSERT_NE(about, nullptr) << seen;
    HWND link = aboutControl(about, AboutId::Label3);
    ASSERT_EQ(app.text(link), kAddress);

    // Pointed at first, the way a hand does it; its tool tip shows the
    // program has seen the pointer arrive.
    hover(link);
    ASSERT_NE(app.waitForWindow(L"tooltips_class32", L"Go to website"), nullptr) << "no tool tip over the link";
    std::set<DWORD> before;
    for (const ProcessSeen& p : processes()) before.insert(p.pid);
    clickCentre(link);

    // The file manager may live only a fraction of a second: look often, and
    // hold on to it as soon as it shows.
    DWORD child = 0;
    auto end = std::chrono::steady_clock::now() + kWait;
    while (!child && std::chrono::steady_clock::now() < end) {
        for (const ProcessSeen& p : processes()) {
            if (p.parent == app.pid() && !before.count(p.pid)) {
                child = p.pid;
                break;
            }
        }
        if (!child) Sleep(1);
    }
    if (!child) {
        POINT cursor{};
        GetCursorPos(&cursor);
        HWND under = WindowFromPoint(cursor);
        RECT linkOnScreen;
        GetWindowRect(link, &linkOnScreen);
        MessageBoxSeen box = takeMessageBox(app, 1s);
        FAIL() << "clicking the link started no program; the pointer is at " << cursor.x << "," << cursor.y
               << " over control " << GetDlgCtrlID(under) << (under == link ? " (the link)" : "") << ", the link is at "
               << describe(linkOnScreen) << "; message box: \"" << narrow(box.text) << "\"";
    }
    // Ended when the test is done with it, however the test ends.
    struct Started {
        HANDLE handle;
        ~Started() {
            if (!handle) return;
            if (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) TerminateProcess(handle, 0);
            WaitForSingleObject(handle, 10000);
            CloseHandle(handle);
        }
    } started{OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child)};
    ASSERT_NE(started.handle, nullptr) << "the started program ended before it could be looked at";
    // Its command line is in place once it has set itself up, well before it
    // has done anything.
    std::wstring commandLine;
    while (commandLine.empty() && WaitForSingleObject(started.handle, 0) == WAIT_TIMEOUT &&
           std::chrono::steady_clock::now() < end) {
        commandLine = commandLineOf(started.handle);
        if (commandLine.empty()) Sleep(1);
    }
    wchar_t image[MAX_PATH];
    DWORD imageLength = MAX_PATH;
    std::wstring program = QueryFullProcessImageNameW(started.handle, 0, image, &imageLength) ? image : L"";
    std::wstring programName = program.substr(program.find_last_of(L'\\') + 1);
    EXPECT_EQ(_wcsicmp(programName.c_str(), L"explorer.exe"), 0) << "it started " << narrow(program);
    EXPECT_EQ(commandLine, L"explorer.exe \"" + kAddress + L"\"");

    // The launch has returned once the program answers again; the file
    // manager may only be ended after that, or the launch would see it fail.
    ASSERT_TRUE(app.responsive());
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "About closed after the link was clicked";
    EXPECT_FALSE(IsWindowVisible(app.main())) << "the main window came back while About is open";
    EXPECT_TRUE(noMessageBox(app)) << "a message box came up although the file manager started";

    PostMessageW(aboutControl(about, AboutId::Command1), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitForMainBack(app, about, seen)) << seen;
}

TEST(About, IsGreyWithABlueLinkBlackTextAndThePicture) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_EQ(screenDpi(), 96) << "positions are checked at 96 dpi";
    std::string seen;
    HWND about = openAbout(app, seen);
    ASSERT_NE(about, nullptr) << seen;
    // No tool tip over the window while it is read off the screen.
    SetCursorPos(0, 0);
    RECT link = childRect(aboutControl(about, AboutId::Label3));
    RECT version = childRect(aboutControl(about, AboutId::Label4));
    RECT credit = childRect(aboutControl(about, AboutId::Label5));
    RECT description = childRect(aboutControl(about, AboutId::Label1));
    RECT picture = childRect(aboutControl(about, AboutId::Image1));

    // Spots no control covers: the corners, and the gaps between the blocks.
    const POINT background[] = {{1, 1}, {352, 1}, {1, 197}, {352, 197}, {4, 88}, {200, 88}, {150, 40}, {100, 185}};
    RECT pictureArea{picture.left, picture.top, picture.right, picture.bottom};
    // The controls paint one after another; wait until every one has and
    // two looks in a row see the same picture.
    Capture shot, previous;
    auto everythingDrawn = [&] {
        if (shot.width != 354 || shot.height != 199) return false;
        for (POINT p : background)
            if (shot.at(p.x, p.y) != kGrey) return false;
        return shot.count(link, kBlue) > 0 && shot.count(version, kBlack) > 0 && shot.count(credit, kBlack) > 0 &&
               shot.count(description, kBlack) > 0 && shot.countOther(pictureArea, kGrey) > 0;
    };
    bool painted = waitUntil([&] {
        previous = std::move(shot);
        shot = captureClient(about);
        return everythingDrawn() && shot.pixels == previous.pixels;
    });
    COLORREF corner = shot.width ? shot.at(1, 1) : 0;
    EXPECT_TRUE(painted) << "About did not show grey with all its parts drawn; " << shot.width << "x"
                         << shot.height << ", top-left pixel " << int{GetRValue(corner)} << ","
                         << int{GetGValue(corner)} << "," << int{GetBValue(corner)};
    ASSERT_EQ(shot.width, 354);
    ASSERT_EQ(shot.height, 199);
    for (POINT p : background) {
        COLORREF c = shot.at(p.x, p.y);
        EXPECT_EQ(c, kGrey) << "at " << p.x << "," << p.y << ": " << int{GetRValue(c)} << "," << int{GetGValue(c)}
                            << "," << int{GetBValue(c)};
    }

    EXPECT_GT(shot.count(link, kBlue), 20) << "the link's text is not pure blue";
    EXPECT_EQ(shot.count(link, kBlack), 0) << "black in the link";
    // The underline: one row of the link that is mostly blue.
    int longestBlueRow = 0;
    for (LONG y = link.top; y < link.bottom; ++y)
        longestBlueRow = std::max(longestBlueRow, shot.count(RECT{link.left, y, link.right, y + 1}, kBlue));
    EXPECT_GT(longestBlueRow, (link.right - link.left) * 3 / 4) << "the link is not underlined";

    for (auto [name, area] : {std::pair{"version line", version}, std::pair{"credit line", credit},
                              std::pair{"description", description}}) {
        EXPECT_GT(shot.count(area, kBlack), 20) << "no black text in the " << name;
        EXPECT_EQ(shot.count(area, kBlue), 0) << "blue in the " << name;
        EXPECT_GT(shot.count(area, kGrey), shot.countOther(area, kGrey)) << "the " << name << " is not on grey";
    }
    // The short labels fit their text: nothing is drawn in their last column,
    // so no glyph is cut off at their edge.
    for (auto [name, area] : {std::pair{"link", link}, std::pair{"version line", version},
                              std::pair{"credit line", credit}}) {
        RECT lastColumn{area.right - 1, area.top, area.right, area.bottom};
        EXPECT_EQ(shot.countOther(lastColumn, kGrey), 0) << "the " << name << " is cut off at " << describe(area);
    }
    // The picture fills most of its box with its own colours.
    EXPECT_GT(shot.countOther(pictureArea, kGrey), 128 * 69 * 9 / 10) << "the picture is missing";
}

TEST(About, ShowsToolTipsAndAClickOnThePictureDoesNothing) {
    ProgramFolder folder;
    App app(folder);
    // On top, so the test also sees that About's tool tips leave the main
    // window its place.
    app.click(L"This window always on top");
    auto topmost = [&] { return (GetWindowLongW(app.main(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    ASSERT_TRUE(waitUntil(topmost)) << "the main window did not go on top";
    std::string seen;
    HWND about = openAbout(app, seen);
    ASSERT_NE(about, nullptr) << seen;
    const std::pair<AboutId, const wchar_t*> tips[] = {{AboutId::Label3, L"Go to website"},
                                                       {AboutId::Label4, L"Application version"},
                                                       {AboutId::Label5, L"I made this"},
                                                       {AboutId::Image1, L"Click for more information"}};
    HWND tipWindow = nullptr;
    for (auto [id, tip] : tips) {
        hover(aboutControl(about, id));
        tipWindow = app.waitForWindow(L"tooltips_class32", tip);
        EXPECT_NE(tipWindow, nullptr) << "no tool tip \"" << narrow(tip) << "\"";
        // Tips stay up for half a minute from now on, so that only the click
        // below can put the last one away.
        if (tipWindow && id == AboutId::Label3)
            SendMessageW(tipWindow, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(32767, 0));
    }

    // The pointer rests on the picture with its tip showing; a click there
    // puts the tip away, which shows the click arrived.
    HWND pictureTip = app.findWindow(L"tooltips_class32", L"Click for more information");
    ASSERT_NE(pictureTip, nullptr) << "the picture's tool tip went away before the click";
    std::set<DWORD> before;
    for (const ProcessSeen& p : processes()) before.insert(p.pid);
    clickCentre(aboutControl(about, AboutId::Image1));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(pictureTip); }, 15s)) << "the click did not reach the picture";
    // Input is handled in order: once the tip over the version line shows,
    // the click before it has been handled.
    hover(aboutControl(about, AboutId::Label4));
    ASSERT_NE(app.waitForWindow(L"tooltips_class32", L"Application version"), nullptr)
        << "no tool tip over the version line after the click on the picture; About is "
        << (IsWindow(about) ? "open" : "closed");
    ASSERT_TRUE(app.responsive());
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "clicking the picture closed About";
    EXPECT_FALSE(IsWindowVisible(app.main()));
    EXPECT_TRUE(noMessageBox(app));
    for (const ProcessSeen& p : processes())
        EXPECT_FALSE(p.parent == app.pid() && !before.count(p.pid)) << "clicking the picture started "
                                                                     << narrow(p.exe);

    PostMessageW(aboutControl(about, AboutId::Command1), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitForMainBack(app, about, seen)) << seen;
    EXPECT_TRUE(topmost()) << "the main window lost its place on top";
}

}  // namespace
}  // namespace e2e
