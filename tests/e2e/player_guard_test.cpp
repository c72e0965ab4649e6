// Playback that keeps its keys out of every window but the one it started
// in: a second dialog taking the focus, Esc (which first walks the focus
// back up), and Play with the focus left on Tavrel itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>

#include "tests/e2e/message_checks.h"
#include "tests/e2e/player_support.h"
#include "tests/support/driver.h"
#include "tests/support/receiver.h"

namespace e2e {
namespace {

// The events that entries before `entry` (1-based) leave, and those that
// entries up to and including it leave: a stop just before one of its pieces
// lies between the two.
std::pair<std::size_t, std::size_t> eventsAround(const std::vector<std::string>& entries, int entry) {
    const auto upTo = [&](int n) {
        return expectedReceiverEvents(std::vector<std::string>(entries.begin(), entries.begin() + n)).size();
    };
    return {upTo(entry - 1), upTo(entry)};
}

TEST(PlayerGuard, FocusTakenBySecondDialogStopsTheKeys) {
    const std::vector<std::string> entries = mixedPath(60);
    Receiver first;
    Receiver second;
    Session s(entries, 2);  // "Ultra-surpressed": a focus change falls between pieces
    const MainControls controls(s.app);
    ASSERT_TRUE(playsThroughCountdown(s.app, controls, first.dialog()));

    ASSERT_TRUE(waitUntil([&] { return first.log().count("PRESS") >= 3; })) << "no keys reached the first dialog";
    ASSERT_TRUE(second.bringForward()) << "the second dialog did not take the focus";
    const Stop stop = takeStop(s.app);
    EXPECT_EQ(stop.icon, 48);
    ASSERT_NE(stop.entry, 0) << "unexpected message: " << narrow(stop.text);
    EXPECT_EQ(stop.text, L"Playback stopped at entry " + std::to_wstring(stop.entry) +
                             L" of 60: the window receiving the keys lost the focus.");
    EXPECT_EQ(s.app.listSelection(), stop.entry - 1) << "the entry in progress is not selected";
    EXPECT_EQ(controls.actionsNot(true), "");
    EXPECT_EQ(captionOf(controls.play), L"Play");

    // The second dialog got nothing; the first exactly the start of the path,
    // up to the stop.
    ASSERT_TRUE(markEndOfInput(second));
    const std::vector<std::string> strayEvents = eventsBeforeMarker(second.log());
    EXPECT_TRUE(strayEvents.empty()) << strayEvents.size() << " events reached the second dialog, first "
                                     << strayEvents.front();
    ASSERT_TRUE(markEndOfInput(first));
    const std::vector<std::string> events = eventsBeforeMarker(first.log());
    const std::vector<std::string> expected = expectedReceiverEvents(entries);
    const auto [atLeast, below] = eventsAround(entries, stop.entry);
    EXPECT_GE(events.size(), atLeast) << "entries before the stop are missing";
    EXPECT_LT(events.size(), below) << "the whole entry arrived, though the stop came inside it";
    ASSERT_LE(events.size(), expected.size());
    const std::vector<std::string> start(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(events.size()));
    EXPECT_EQ(events, start) << firstDifference(events, start);
}

TEST(PlayerGuard, EscStopsPlaybackWalksTheFocusBackAndNeverReachesTheDialog) {
    const std::vector<std::string> entries = mixedPath(60);
    // Aimed at the first down-arrow of the second entry, so Esc comes in the
    // middle of an entry: the focus must be walked back to "Move Down".
    std::unique_ptr<StoppedRun> run;
    ASSERT_TRUE(stopInsideSecondEntry(entries, 2, StopBy::Esc, run));
    const auto& [receiver, s, controls, stop] = std::tie(run->receiver, run->session, run->controls, run->stop);
    EXPECT_EQ(stop.icon, 48);
    EXPECT_EQ(stop.text, L"Playback stopped at entry " + std::to_wstring(stop.entry) + L" of 60: Esc was pressed.");
    EXPECT_EQ(controls.actionsNot(true), "");

    // Esc would have closed the dialog, as it closes the editor's.
    EXPECT_TRUE(receiver.running() && IsWindow(receiver.dialog())) << "the dialog was closed";
    ASSERT_TRUE(markEndOfInput(receiver));
    const std::vector<std::string> events = eventsBeforeMarker(receiver.log());
    EXPECT_EQ(escPresses(events), 0) << "Esc reached the dialog";
    std::size_t resumeFrom = 0;
    int walk = 0;
    EXPECT_TRUE(walkedBackAfterEsc(events, entries, stop.entry, &resumeFrom, &walk));
    EXPECT_GE(walk, 1) << "Esc came between entries";
    EXPECT_EQ(receiver.focusedControl(), L"Move Down") << "the focus was not walked back";
    std::printf("Esc stopped at entry %d, %d down-arrows walked back; a resume would start at entry %zu\n",
                stop.entry, walk, resumeFrom + 1);
    std::fflush(stdout);

    // Esc is the user's again once playback has ended.
    tapKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !receiver.running(); })) << "Esc still taken after the playback";
}

// Another program holding Esc as its hot key: playback runs on the focus
// guard alone, and the title says so until it ends.
TEST(PlayerGuard, EscHeldElsewhereIsSaidInTheTitleUntilPlaybackEnds) {
    struct HeldEsc {
        bool held = RegisterHotKey(nullptr, 1, 0, VK_ESCAPE) != FALSE;
        ~HeldEsc() {
            if (held) UnregisterHotKey(nullptr, 1);
        }
    } esc;
    ASSERT_TRUE(esc.held) << "the driver could not take Esc";
    const std::vector<std::string> entries = mixedPath(8);
    Receiver receiver;
    Session s(entries, 2);
    const MainControls controls(s.app);
    ASSERT_TRUE(playsThroughCountdown(s.app, controls, receiver.dialog()));
    EXPECT_EQ(windowText(s.app.main()), L"Tavrel for RMXP - Esc cannot stop this playback");
    ASSERT_TRUE(boxSays(s.app, L"DONE!", kExclamationIcon, 30s));
    EXPECT_EQ(windowText(s.app.main()), L"Tavrel for RMXP");
    ASSERT_TRUE(markEndOfInput(receiver));
    EXPECT_EQ(eventsBeforeMarker(receiver.log()), expectedReceiverEvents(entries));
}

TEST(PlayerGuard, FocusLeftOnTavrelSendsNothingAndSaysSo) {
    Receiver bystander;
    Session s({"UP", "DOWN", "LEFT"}, 0);
    const MainControls controls(s.app);
    EXPECT_TRUE(playsThroughCountdown(s.app, controls, s.app.main()));

    // Once the refusal is up, the focus goes to the bystander and stays
    // there: any key a faulty guard sent after all would be typed into it.
    ASSERT_TRUE(waitUntil([&] { return !noMessageBox(s.app); })) << "no message after the countdown";
    ASSERT_TRUE(bystander.bringForward()) << "the bystander did not take the focus";
    const Stop stop = takeStop(s.app);
    EXPECT_EQ(stop.text, L"Nothing was sent: no other program's window had the focus when the countdown ended.");
    EXPECT_EQ(stop.icon, 48);
    EXPECT_TRUE(noMessageBox(s.app)) << "another message followed";
    EXPECT_EQ(controls.actionsNot(true), "");
    EXPECT_EQ(captionOf(controls.play), L"Play");
    ASSERT_TRUE(markEndOfInput(bystander));
    EXPECT_TRUE(eventsBeforeMarker(bystander.log()).empty());
}

}  // namespace
}  // namespace e2e
