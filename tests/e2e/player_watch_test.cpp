// Playback that watches the dialog, in the program as shipped, into the
// receiving dialog made a harder target by its options: slow presses, the
// focus elsewhere than on the first button, a key lost, buttons in a focus
// order of their own or of a class of their own, and no buttons at all.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/main_commands.h"
#include "core/key_strings.h"
#include "tests/e2e/message_checks.h"
#include "tests/e2e/player_support.h"

namespace e2e {
namespace {

// Plays `entries` into a receiver started with `options` and returns the
// message that ended the playback.
struct Watched {
    Watched(const std::vector<std::string>& path, int mode, const std::wstring& options)
        : receiver(options), s(path, mode), controls(s.app) {}
    Receiver receiver;
    Session s;
    MainControls controls;
};

// The 1-based entry whose pieces hold the `n`-th arrow key of the path, or
// with `space` its `n`-th space.
int entryOfKey(const std::vector<std::string>& entries, int n, bool space = false) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (const tavrel::Key key : tavrel::keysFor(entries[i]))
            if ((key == tavrel::Key::Space) == space && --n == 0) return static_cast<int>(i) + 1;
    return 0;
}

// The lines of the receiver's route list: 0 when it has none, -1 when it
// does not answer.
LRESULT routeLines(const Receiver& receiver) {
    DWORD_PTR lines = 0;
    HWND list = findChild(receiver.dialog(), L"ListBox");
    if (list && !SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &lines)) return -1;
    return static_cast<LRESULT>(lines);
}

TEST(PlayerWatch, ASlowDialogOrOneWithItsOwnFocusOrderGetsThePathWhole) {
    const std::vector<std::string> entries = mixedPath(40);
    for (const std::wstring options : {L"--busy 40", L"--own-order"}) {
        SCOPED_TRACE(narrow(options));
        Watched w(entries, 0, options);
        const LRESULT routeBefore = routeLines(w.receiver);
        ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog()));
        ASSERT_TRUE(boxSays(w.s.app, L"DONE!", kExclamationIcon, 60s));
        // "DONE!" comes once the last key was taken: nothing is left to come.
        const std::vector<std::string> events = w.receiver.log().events();
        const std::vector<std::string> expected = expectedReceiverEvents(entries);
        // An "AHEAD" line would show a key that waited for a press to end.
        EXPECT_EQ(events, expected) << firstDifference(events, expected);
        if (options == L"--route") {
            EXPECT_EQ(routeLines(w.receiver), routeBefore + static_cast<LRESULT>(withKeys(entries).size()));
        }
    }
}

TEST(PlayerWatch, AFocusOffTheFirstButtonGetsNothing) {
    const std::wstring onTheThird = L"Tavrel for RMXP - the focus is on \"Move Right\", not on \"Move Down\"";
    const struct {
        const wchar_t* options;
        const wchar_t* message;
        std::wstring title;  // in the countdown, once the dialog has the focus
    } cases[] = {
        {L"--focus 2",
         L"Nothing was sent: the dialog's focus is on \"Move Right\", not on its first button \"Move Down\". Give the "
         L"dialog the focus by its title bar, not by a button.",
         onTheThird},
        {L"--focus list",
         L"Nothing was sent: the dialog's focus is on its list. Press Tab once to put it on \"Move Down\", then press "
         L"Play again.",
         L"Tavrel for RMXP - press Tab once: the focus is on its list"},
        // Buttons of a toolkit's own class, the system's button underneath.
        {L"--superclass --focus 2",
         L"Nothing was sent: the dialog's focus is on \"Move Right\", not on its first button \"Move Down\". Give the "
         L"dialog the focus by its title bar, not by a button.",
         onTheThird},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.options));
        Watched w(mixedPath(10), 0, c.options);
        std::vector<std::wstring> titles;
        ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog(), nullptr, nullptr, &titles));
        EXPECT_TRUE(boxSays(w.s.app, c.message, kExclamationIcon));
        EXPECT_TRUE(std::ranges::find(titles, c.title) != titles.end()) << "the titles read " << joined(titles);
        EXPECT_EQ(windowText(w.s.app.main()), L"Tavrel for RMXP");
        EXPECT_EQ(w.controls.actionsNot(true), "");
        ASSERT_TRUE(markEndOfInput(w.receiver));
        const std::vector<std::string> events = eventsBeforeMarker(w.receiver.log());
        EXPECT_TRUE(events.empty()) << events.size() << " events reached the dialog, first " << events.front();
    }
}

// Stops at a key the dialog did not take, then Resume: the dialog must get
// every key of the path once, whether the key was lost, taken late, or lost
// where the focus cannot show it.
TEST(PlayerWatch, AStopAtAKeyNotTakenThenResumeCompletesThePathOnce) {
    const std::vector<std::string> mixed = mixedPath(30);
    const std::vector<std::string> walk = {"LEFT", "DOWN", "RIGHT", "UP"};
    const std::wstring notTaken = L"the dialog did not take a key.";
    const struct {
        const char* fault;
        const std::vector<std::string>& entries;
        std::wstring options;
        bool escWhileWaiting;  // Esc once the dialog lost its key, before its 2 s are up
        int entry;
        std::vector<std::wstring> reasons;  // the stop gives one of them
    } cases[] = {
        {"a lost arrow", mixed, L"--drop 5", false, entryOfKey(mixed, 5), {notTaken}},
        // The up-arrow after the first press is lost.
        {"Esc while a lost arrow is awaited", walk, L"--drop 2", true, 1, {L"Esc was pressed."}},
        // The press is taken, late: it must not be pressed again.
        {"a first press that takes 3 s", walk, L"--busy-once 3000", false, 1,
         {L"the receiving window stopped responding.", notTaken}},
        // The focus stays on the button whether a space is lost or taken;
        // the route list shows which.
        {"a lost space", walk, L"--route --drop-press 2", false, entryOfKey(walk, 2, true), {notTaken}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Watched w(c.entries, 0, c.options);
        const auto everyEventOnce = [&](const char* when) {
            ASSERT_TRUE(markEndOfInput(w.receiver)) << when;
            const std::vector<std::string> events = eventsBeforeMarker(w.receiver.log());
            const std::vector<std::string> expected = expectedReceiverEvents(c.entries);
            std::string presses;
            for (const std::string& press : w.receiver.log().presses()) presses += " " + press;
            if (c.escWhileWaiting) {
                EXPECT_TRUE(wholePathOnceAfterEsc(events, c.entries)) << when << "; pressed:" << presses;
            } else {
                EXPECT_EQ(events, expected) << when << "; pressed:" << presses << "\n"
                                            << firstDifference(events, expected);
            }
        };
        ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog()));
        if (c.escWhileWaiting) {
            // The receiver's title counts the keys it lost: this one was sent.
            ASSERT_TRUE(waitUntil([&] { return windowText(w.receiver.dialog()) != L"Tavrel Receiver"; }, 30s))
                << "the dialog lost no key; its log:\n" << w.receiver.logText();
            tapKey(VK_ESCAPE);
        }
        const Stop stop = takeStop(w.s.app, 30s);
        const std::wstring at = L"Playback stopped at entry " + std::to_wstring(c.entry) + L" of " +
                                std::to_wstring(c.entries.size()) + L": ";
        EXPECT_TRUE(std::ranges::any_of(c.reasons, [&](const std::wstring& r) { return stop.text == at + r; }))
            << "the stop said \"" << narrow(stop.text) << "\", expected at entry " << c.entry;
        EXPECT_EQ(stop.icon, kExclamationIcon);
        if (stop.entry == 0) {
            everyEventOnce("without a stop");
            continue;
        }
        // A busy dialog ends its press first; Resume finds it as the stop left it.
        ASSERT_TRUE(answers(w.receiver.dialog(), 30s)) << "the dialog is still busy";
        const auto resume = [&] {
            PostMessageW(w.s.app.main(), WM_COMMAND, static_cast<WPARAM>(tavrel::MenuId::Resume), 0);
        };
        ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog(), nullptr, resume));
        EXPECT_TRUE(boxSays(w.s.app, L"DONE!", kExclamationIcon, 60s)) << "after Resume";
        everyEventOnce("after Resume");
    }
}

TEST(PlayerWatch, AWindowThatCannotBeWatchedIsPlayedBlindAndTheTitleSaysSo) {
    const std::vector<std::string> entries = mixedPath(20);
    Watched w(entries, 1, L"--no-buttons");
    ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog()));
    const std::wstring notWatching = L"Tavrel for RMXP - not watching this window";
    std::wstring title;
    EXPECT_TRUE(waitUntil([&] { return (title = windowText(w.s.app.main())) == notWatching; }))
        << "the title read \"" << narrow(title) << "\" during the playback";
    ASSERT_TRUE(boxSays(w.s.app, L"DONE!", kExclamationIcon, 60s));
    EXPECT_EQ(windowText(w.s.app.main()), L"Tavrel for RMXP");
    // Every key went, as a blind playback sends them; a list presses nothing.
    std::vector<std::string> expected;
    for (const std::string& event : expectedReceiverEvents(entries))
        if (event.rfind("PRESS", 0) != 0) expected.push_back(event);
    const std::vector<std::string> events = w.receiver.log().events();
    EXPECT_EQ(events, expected) << firstDifference(events, expected);
}

}  // namespace
}  // namespace e2e
