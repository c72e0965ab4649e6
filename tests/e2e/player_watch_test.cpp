// Playback that watches the dialog, in the program as shipped, into the
// receiving dialog made a harder target by its options: slow presses, the
// focus elsewhere than on the first button, an arrow key lost, buttons in a
// focus order of their own or of a class of their own, and no buttons at all.
#include <gtest/gtest.h>

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

// The 1-based entry whose pieces hold the `n`-th arrow key of the path.
int entryOfArrow(const std::vector<std::string>& entries, int n) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto keys = tavrel::keyStringFor(entries[i]);
        if (!keys) continue;
        for (const std::string& piece : tavrel::splitKeyString(*keys))
            if (piece != " " && --n == 0) return static_cast<int>(i) + 1;
    }
    return 0;
}

TEST(PlayerWatch, ASlowDialogOrOneWithItsOwnFocusOrderGetsThePathWhole) {
    const std::vector<std::string> entries = mixedPath(40);
    for (const std::wstring options : {L"--busy 40", L"--own-order"}) {
        SCOPED_TRACE(narrow(options));
        Watched w(entries, 0, options);
        ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog()));
        ASSERT_TRUE(boxSays(w.s.app, L"DONE!", kExclamationIcon, 60s));
        // "DONE!" comes once the last key was taken: nothing is left to come.
        const std::vector<std::string> events = w.receiver.log().events();
        const std::vector<std::string> expected = expectedReceiverEvents(entries);
        // An "AHEAD" line would show a key that waited for a press to end.
        EXPECT_EQ(events, expected) << firstDifference(events, expected);
    }
}

TEST(PlayerWatch, AFocusOffTheFirstButtonGetsNothing) {
    const struct {
        const wchar_t* options;
        const wchar_t* message;
    } cases[] = {
        {L"--focus 2",
         L"Nothing was sent: the dialog's focus is on \"Move Right\", not on its first button \"Move Down\". Give the "
         L"dialog the focus by its title bar, not by a button."},
        {L"--focus list", L"Nothing was sent: the dialog's focus is on its list, not on its first button."},
        // Buttons of a toolkit's own class, the system's button underneath.
        {L"--superclass --focus 2",
         L"Nothing was sent: the dialog's focus is on \"Move Right\", not on its first button \"Move Down\". Give the "
         L"dialog the focus by its title bar, not by a button."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.options));
        Watched w(mixedPath(10), 0, c.options);
        ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog()));
        EXPECT_TRUE(boxSays(w.s.app, c.message, kExclamationIcon));
        EXPECT_EQ(w.controls.actionsNot(true), "");
        ASSERT_TRUE(markEndOfInput(w.receiver));
        const std::vector<std::string> events = eventsBeforeMarker(w.receiver.log());
        EXPECT_TRUE(events.empty()) << events.size() << " events reached the dialog, first " << events.front();
    }
}

TEST(PlayerWatch, ALostArrowStopsAtItsEntryAndResumeCompletesThePathOnce) {
    const std::vector<std::string> entries = mixedPath(30);
    constexpr int kLost = 5;
    Watched w(entries, 0, L"--drop " + std::to_wstring(kLost));
    ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog()));
    const Stop stop = takeStop(w.s.app, 30s);
    const int entry = entryOfArrow(entries, kLost);
    EXPECT_EQ(stop.text,
              L"Playback stopped at entry " + std::to_wstring(entry) + L" of 30: the dialog did not take a key.");
    EXPECT_EQ(stop.icon, kExclamationIcon);

    const auto resume = [&] {
        PostMessageW(w.s.app.main(), WM_COMMAND, static_cast<WPARAM>(tavrel::MenuId::Resume), 0);
    };
    ASSERT_TRUE(playsThroughCountdown(w.s.app, w.controls, w.receiver.dialog(), nullptr, resume));
    ASSERT_TRUE(boxSays(w.s.app, L"DONE!", kExclamationIcon, 60s)) << "after Resume";
    ASSERT_TRUE(markEndOfInput(w.receiver));
    const std::vector<std::string> events = eventsBeforeMarker(w.receiver.log());
    const std::vector<std::string> expected = expectedReceiverEvents(entries);
    EXPECT_EQ(events, expected) << firstDifference(events, expected);
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
