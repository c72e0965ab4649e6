// Correcting a path in the program as shipped: an entry deleted from the
// keystroke list's menu and saved, a Record or a Load by mistake undone, the
// way back appended and saved, and a playback stopped by Esc inside an entry,
// or by the focus moving away, resumed from the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <tuple>

#include "tests/e2e/message_checks.h"
#include "tests/e2e/player_support.h"
#include "tests/e2e/recording_support.h"

namespace e2e {
namespace {

// The screen point in the middle of entry `index`, the list scrolled to its top.
POINT entryPoint(const App& app, int index) {
    const int height = static_cast<int>(SendMessageW(app.list(), LB_GETITEMHEIGHT, 0, 0));
    POINT p{20, index * height + height / 2};
    ClientToScreen(app.list(), &p);
    return p;
}

void rightClick(POINT at) {
    SetCursorPos(at.x, at.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, in, sizeof in[0]);
}

// The menu the program shows, once it shows (the class every menu has).
bool menuShows(const App& app) {
    return waitUntil([&] { return app.findWindow(L"#32768", L"") != nullptr; }, 10s);
}

// Resume chosen from the menu of the list's first entry, as a start for
// playsThroughCountdown.
std::function<void()> resumeFromTheMenu(const App& app) {
    return [&app] {
        ASSERT_TRUE(focus(app.main()));
        rightClick(entryPoint(app, 0));
        ASSERT_TRUE(menuShows(app)) << "no menu after a right click on the list";
        tapKey('R');
        // The countdown's watcher hands the receiver the focus, which would
        // cancel a menu that has not yet taken the key.
        ASSERT_TRUE(waitUntil([&] { return app.findWindow(L"#32768", L"") == nullptr; }, 10s))
            << "the menu stayed open after R";
    };
}

::testing::AssertionResult listBecomesAfter(const App& app, const Entries& expected, const char* what) {
    if (waitUntil([&] { return app.listItems() == expected; }, 10s)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " left " << show(app.listItems()) << ", not "
                                         << show(expected);
}

TEST(ListMenu, AnEntryDeletedFromTheMenuIsNotSaved) {
    Recording r;
    // One key at a time: Wine shows the program a press up to 50 ms late.
    ASSERT_TRUE(tap(r.sink, VK_LEFT));
    ASSERT_TRUE(listBecomes(r.app, {kLeft}));
    ASSERT_TRUE(tap(r.sink, VK_UP));
    ASSERT_TRUE(listBecomes(r.app, {kLeft, kUp}));
    ASSERT_TRUE(tap(r.sink, VK_RIGHT));
    ASSERT_TRUE(listBecomes(r.app, {kLeft, kUp, kRight}));
    ASSERT_TRUE(stopsWithHalted(r.app));
    ASSERT_TRUE(r.app.responsive());

    ASSERT_TRUE(focus(r.app.main()));
    rightClick(entryPoint(r.app, 1));
    ASSERT_TRUE(menuShows(r.app)) << "no menu after a right click on the list";
    ASSERT_TRUE(waitUntil([&] { return r.app.listSelection() == 1; }, 10s))
        << "the right click selected entry " << r.app.listSelection();
    // No other item shares Delete's access key, so D chooses it at once.
    tapKey('D');
    ASSERT_TRUE(listBecomesAfter(r.app, {kLeft, kRight}, "Delete"));
    EXPECT_EQ(r.app.listSelection(), 1) << "the entry after the deleted one is selected";
    EXPECT_TRUE(savesAs(r.folder, r.app, "LEFT\r\nRIGHT\r\n"));
    EXPECT_TRUE(noMessageBox(r.app));
}

TEST(ListMenu, RecordByMistakeOnALoadedPathIsUndoneWithCtrlZ) {
    ProgramFolder folder;
    App app(folder);
    const Entries loaded{kUp, kUp, kRight, L"free text"};
    preload(folder, app, "UP\r\nUP\r\nRIGHT\r\nfree text\r\n", loaded);
    ASSERT_GE(clickRecord(app), 0) << "Record did not empty the list: " << show(app.listItems());
    ASSERT_TRUE(stopsWithHalted(app));
    ASSERT_TRUE(app.responsive());

    // The accelerators work while the list has the focus.
    ASSERT_TRUE(focus(app.main()));
    clickCentre(app.list());
    ASSERT_TRUE(waitUntil([&] { return focusOfThread(app.main()) == app.list(); }, 10s)) << "the list has no focus";
    pressKey(VK_CONTROL, true);
    tapKey('Z');
    pressKey(VK_CONTROL, false);
    ASSERT_TRUE(listBecomesAfter(app, loaded, "Ctrl+Z"));

    // And from the keyboard's menu: Shift+F10, then Undo once more, which
    // takes back the Load.
    pressKey(VK_SHIFT, true);
    tapKey(VK_F10);
    pressKey(VK_SHIFT, false);
    ASSERT_TRUE(menuShows(app)) << "no menu after Shift+F10";
    tapKey('U');
    ASSERT_TRUE(listBecomesAfter(app, {}, "Undo from the menu"));
    EXPECT_TRUE(savesAs(folder, app, ""));
}

TEST(ListMenu, LoadClickedWithTheMouseIsUndoneWithCtrlZ) {
    ProgramFolder folder;
    App app(folder);
    const Entries walked{kUp, kLeft};
    preload(folder, app, "UP\r\nLEFT\r\n", walked);
    folder.write(kListFile, "DOWN\r\n");
    ASSERT_TRUE(focus(app.main()));
    const HWND load = app.button(L"Load");
    clickCentre(load);
    ASSERT_TRUE(listBecomesAfter(app, {kDown}, "Load clicked"));
    // Ctrl+Z works wherever the focus is in the window, here on the button.
    ASSERT_TRUE(waitUntil([&] { return focusOfThread(app.main()) == load; }, 10s)) << "Load has no focus";
    pressKey(VK_CONTROL, true);
    tapKey('Z');
    pressKey(VK_CONTROL, false);
    ASSERT_TRUE(listBecomesAfter(app, walked, "Ctrl+Z on the Load button"));
}

TEST(ListMenu, WayBackAppendedFromTheMenuIsSavedWithThePath) {
    ProgramFolder folder;
    App app(folder);
    preload(folder, app, "UP\r\nLEFT\r\nfree text\r\n", {kUp, kLeft, L"free text"});
    ASSERT_TRUE(focus(app.main()));
    rightClick(entryPoint(app, 0));
    ASSERT_TRUE(menuShows(app)) << "no menu after a right click on the list";
    tapKey('B');
    ASSERT_TRUE(listBecomesAfter(app, {kUp, kLeft, L"free text", L"free text", kRight, kDown}, "Append way back"));
    EXPECT_TRUE(savesAs(folder, app, "UP\r\nLEFT\r\nfree text\r\nfree text\r\nRIGHT\r\nDOWN\r\n"));
}

TEST(ListMenu, EscInsideAnEntryThenResumeGivesTheDialogTheWholePathOnce) {
    const std::vector<std::string> entries = mixedPath(30);
    // Aimed at the second down-arrow of the second entry, an "UP".
    std::unique_ptr<StoppedRun> run;
    ASSERT_TRUE(stopInsideSecondEntry(entries, 4, StopBy::Esc, run));
    const auto& [receiver, s, controls, stop] = std::tie(run->receiver, run->session, run->controls, run->stop);
    ASSERT_TRUE(s.app.responsive());

    ASSERT_TRUE(playsThroughCountdown(s.app, controls, receiver.dialog(), nullptr, resumeFromTheMenu(s.app)));
    ASSERT_TRUE(boxSays(s.app, L"DONE!", 48)) << "after Resume";

    ASSERT_TRUE(markEndOfInput(receiver));
    const std::vector<std::string> events = eventsBeforeMarker(receiver.log());
    EXPECT_EQ(escPresses(events), 0) << "Esc reached the dialog";
    EXPECT_TRUE(wholePathOnceAfterEsc(events, entries, 1)) << "stopped at entry " << stop.entry;
}

// The focus guard stops a playback between two pieces of an entry: Resume
// carries on with the very next piece, and leaves the focus where a whole
// playback would, so the next Play gives the same dialog the path again.
TEST(ListMenu, ResumeAfterTheFocusMovedAwayThenPlayAgainGivesTheDialogThePathTwice) {
    const std::vector<std::string> entries = mixedPath(30);
    std::unique_ptr<StoppedRun> run;
    ASSERT_TRUE(stopInsideSecondEntry(entries, 2, StopBy::FocusAway, run));
    const auto& [first, second, s, controls, stop] =
        std::tie(run->receiver, run->other, run->session, run->controls, run->stop);
    std::printf("the focus moved away at entry %d, after %zu key events\n", stop.entry, run->events.size());
    std::fflush(stdout);

    ASSERT_TRUE(playsThroughCountdown(s.app, controls, first.dialog(), nullptr, resumeFromTheMenu(s.app)));
    ASSERT_TRUE(boxSays(s.app, L"DONE!", 48)) << "after Resume";
    ASSERT_TRUE(playsThroughCountdown(s.app, controls, first.dialog()));
    ASSERT_TRUE(boxSays(s.app, L"DONE!", 48)) << "after Play";

    ASSERT_TRUE(markEndOfInput(second));
    EXPECT_EQ(eventsBeforeMarker(second.log()), std::vector<std::string>{}) << "keys reached the second dialog";
    ASSERT_TRUE(markEndOfInput(first));
    const std::vector<std::string> events = eventsBeforeMarker(first.log());
    const std::vector<std::string> once = expectedReceiverEvents(entries);
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(events, twice) << "stopped at entry " << stop.entry << ": " << firstDifference(events, twice);
}

}  // namespace
}  // namespace e2e
