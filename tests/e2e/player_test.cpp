// Play driven through the button, with the keys going into the receiving
// dialog: the countdown, what the keys press there, what stays usable while
// they go, and how playback ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "tests/e2e/message_checks.h"
#include "tests/e2e/player_support.h"
#include "tests/support/driver.h"
#include "tests/support/receiver.h"

namespace e2e {
namespace {

struct ModeRow {
    int mode;
    const char* name;
    std::size_t entries;
    double pieceWait;  // seconds before every piece
};

// Ultra-surpressed waits 0.05 s before each of the ~4 pieces of an average
// entry, so its path is kept shorter to keep the suite within minutes.
const ModeRow kModes[] = {
    {0, "Original", 240, 0.0},
    {1, "Surpressed", 240, 0.01},
    {2, "UltraSurpressed", 100, 0.05},
};

class Player : public testing::TestWithParam<ModeRow> {};

TEST_P(Player, PlaysEveryEntryIntoTheFocusedDialog) {
    const ModeRow& row = GetParam();
    const std::vector<std::string> entries = mixedPath(row.entries);
    const std::vector<std::string> expectedPresses = withKeys(entries);
    const std::vector<std::string> expectedEvents = expectedReceiverEvents(entries);

    ProgramFolder folder;
    folder.write(kSettingsFile, "0\r\n1\r\n" + std::to_string(row.mode) + "\r\n");
    Receiver receiver;
    App app(folder);
    ASSERT_TRUE(app.checked(kOptionCaptions[row.mode])) << "the settings file did not select the mode";
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, entries));
    const MainControls controls(app);
    ASSERT_EQ(controls.actionsNot(true), "");

    std::vector<std::wstring> captions;
    ASSERT_TRUE(playsThroughCountdown(app, controls, receiver.dialog(), &captions));
    EXPECT_EQ(captions, kCountdown) << joined(captions);

    // While the keys go: actions locked, the rest usable. The no-sound box is
    // clicked once keys have started to arrive and must change at once.
    ASSERT_TRUE(waitUntil(
        [&] { return receiver.log().count("PRESS") > 0 || app.findWindow(L"#32770", L"Tavrel") != nullptr; }))
        << "no key reached the receiver";
    const bool midway = controls.actionsNot(false).empty() && app.findWindow(L"#32770", L"Tavrel") == nullptr;
    std::printf("[ mode %d ] %zu of %zu presses had arrived when the sending was first seen%s\n", row.mode,
                receiver.log().count("PRESS"), expectedPresses.size(), midway ? "" : ", after it had ended");
    std::fflush(stdout);
    if (midway) {
        EXPECT_EQ(controls.disabledOfTheRest(), "") << "controls outside the actions were disabled while sending";
        const bool soundWasOff = app.checked(kNoSound);
        app.click(kNoSound);
        EXPECT_TRUE(waitUntil([&] { return app.checked(kNoSound) != soundWasOff; }, 10s))
            << "the no-sound box did not change when clicked during playback";
        EXPECT_EQ(controls.actionsNot(false), "") << "the box changed only after playback had ended";
    }

    // The selection follows playback, forwards only.
    std::vector<int> selections;
    // Four times the waits the mode asks for, on top of the usual margin.
    const double pacedMs = static_cast<double>(piecesOf(entries)) * row.pieceWait * 1000;
    const Millis doneWait = kWait + Millis(static_cast<long long>(4 * pacedMs));
    ASSERT_TRUE(waitUntil(
        [&] {
            const int selection = app.listSelection();
            if (selections.empty() || selections.back() != selection) selections.push_back(selection);
            return app.findWindow(L"#32770", L"Tavrel") != nullptr;
        },
        doneWait))
        << "no \"DONE!\" within " << doneWait.count() << " ms; " << receiver.log().count("PRESS") << " of "
        << expectedPresses.size() << " presses had arrived";
    EXPECT_TRUE(std::is_sorted(selections.begin(), selections.end())) << "the selection moved backwards";

    // The frame is enabled before the box shows, and the closing wait has let
    // the receiver handle every key before that.
    EXPECT_EQ(controls.actionsNot(true), "") << "were still disabled while \"DONE!\" showed";
    const ReceiverLog atDone = receiver.log();
    EXPECT_EQ(atDone.presses(), expectedPresses)
        << "when \"DONE!\" showed: " << firstDifference(atDone.presses(), expectedPresses);

    ASSERT_TRUE(boxSays(app, L"DONE!", kExclamationIcon));

    EXPECT_EQ(app.listSelection(), static_cast<int>(entries.size()) - 1) << "the last entry is not selected";
    EXPECT_EQ(controls.actionsNot(true), "");
    EXPECT_EQ(captionOf(controls.play), L"Play");
    EXPECT_EQ(app.listItems(), widened(entries)) << "playback changed the list";

    ASSERT_TRUE(markEndOfInput(receiver));
    const ReceiverLog log = receiver.log();
    EXPECT_TRUE(log.malformed.empty()) << log.malformed.front();
    EXPECT_EQ(log.presses(), expectedPresses) << firstDifference(log.presses(), expectedPresses);
    const std::vector<std::string> events = eventsBeforeMarker(log);
    EXPECT_EQ(events, expectedEvents) << firstDifference(events, expectedEvents);
    EXPECT_EQ(receiver.focusedControl(), L"Move Down") << "the focus did not end where it started";
    if (log.lines.size() > 1) {
        std::printf("[ mode %d ] %zu key events arrived over %.3f s\n", row.mode, log.lines.size(),
                    static_cast<double>(log.lines.back().micros - log.lines.front().micros) / 1e6);
        std::fflush(stdout);
    }
}

std::string modeName(const testing::TestParamInfo<ModeRow>& mode) { return mode.param.name; }

INSTANTIATE_TEST_SUITE_P(, Player, testing::ValuesIn(kModes), modeName);

TEST_F(Player, SaysDoneOnlyOnceTheDialogHasTakenEveryKey) {
    // The editor may be busy redrawing while keys arrive. Here, in the
    // fastest mode, the receiver's thread stops for a moment near the end
    // of the path: the playback waits for it rather than queue keys ahead.
    const std::vector<std::string> entries = mixedPath(240);
    const std::vector<std::string> expectedPresses = withKeys(entries);
    const int last = static_cast<int>(entries.size()) - 1;

    ProgramFolder folder;
    folder.write(kSettingsFile, "0\r\n1\r\n0\r\n");
    Receiver receiver;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, entries));
    const MainControls controls(app);

    ASSERT_TRUE(playsThroughCountdown(app, controls, receiver.dialog()));

    ASSERT_TRUE(waitUntil([&] { return app.listSelection() >= last - 60; }))
        << "playback stalled at entry " << app.listSelection();
    ASSERT_TRUE(receiver.suspend());
    const int suspendedAt = app.listSelection();
    // The playback holds its next key back until the dialog took the last:
    // through a stall shorter than the 2 s it allows an answer, it gets no
    // further than the entry of the key on its way, and says nothing.
    const bool reachedEnd = waitUntil(
        [&] { return app.listSelection() == last || app.findWindow(L"#32770", L"Tavrel") != nullptr; }, 800ms);
    const int resumedAt = app.listSelection();
    ASSERT_TRUE(receiver.resume());
    ASSERT_FALSE(reachedEnd) << "playback ran on to entry " << resumedAt << " while the receiver was stopped";
    EXPECT_LE(resumedAt - suspendedAt, 1) << "playback ran ahead of the stopped receiver";
    const std::size_t queuedPresses = expectedPresses.size() - receiver.log().count("PRESS");
    std::printf("the receiver stopped from entry %d to entry %d; %zu presses were still to come\n", suspendedAt,
                resumedAt, queuedPresses);
    std::fflush(stdout);

    ASSERT_TRUE(waitUntil([&] { return app.findWindow(L"#32770", L"Tavrel") != nullptr; }, 60s)) << "no \"DONE!\"";
    const ReceiverLog atDone = receiver.log();
    EXPECT_EQ(atDone.presses(), expectedPresses)
        << "when \"DONE!\" showed: " << firstDifference(atDone.presses(), expectedPresses);
    ASSERT_TRUE(boxSays(app, L"DONE!", kExclamationIcon));
    ASSERT_TRUE(waitUntil([&] { return receiver.log().count("PRESS") >= expectedPresses.size(); }));
    EXPECT_EQ(receiver.log().presses(), expectedPresses);
}

TEST_F(Player, EmptyListSaysNothingToPlayAndStartsNoCountdown) {
    ProgramFolder folder;
    App app(folder);
    const MainControls controls(app);
    app.click(L"Play");
    ASSERT_NE(app.waitForWindow(L"#32770", L"Tavrel"), nullptr) << "no message for the empty list";
    EXPECT_EQ(controls.actionsNot(true), "") << "were disabled while the message showed";
    EXPECT_EQ(captionOf(controls.play), L"Play");
    ASSERT_TRUE(boxSays(app, L"Nothing to play.", kExclamationIcon));

    // A countdown would change the caption within a second; watching longer
    // than that shows none started once the message was dismissed.
    std::wstring caption;
    std::string disabled;
    const bool changed = waitUntil(
        [&] {
            caption = captionOf(controls.play);
            disabled = controls.actionsNot(true);
            return caption != L"Play" || !disabled.empty() || !noMessageBox(app);
        },
        1500ms);
    EXPECT_FALSE(changed) << "after the message: caption \"" << narrow(caption) << "\", disabled:" << disabled;
    EXPECT_TRUE(app.listItems().empty());
}

TEST_F(Player, EntriesWithoutKeysRunTheCountdownSendNothingAndSayDone) {
    ProgramFolder folder;
    Receiver receiver;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, kTextsWithoutKeys));
    const MainControls controls(app);

    std::vector<std::wstring> captions;
    EXPECT_TRUE(playsThroughCountdown(app, controls, receiver.dialog(), &captions));
    EXPECT_EQ(captions, kCountdown) << joined(captions);

    ASSERT_TRUE(boxSays(app, L"DONE!", kExclamationIcon)) << "after the countdown";
    EXPECT_EQ(app.listSelection(), static_cast<int>(kTextsWithoutKeys.size()) - 1);
    EXPECT_EQ(controls.actionsNot(true), "");

    ASSERT_TRUE(markEndOfInput(receiver));
    const std::vector<std::string> events = eventsBeforeMarker(receiver.log());
    EXPECT_TRUE(events.empty()) << "keys reached the receiver: " << events.front();
}

TEST_F(Player, ClosingTheWindowWhileSendingEndsTheProgramThere) {
    const std::vector<std::string> entries = mixedPath(400);
    const std::vector<std::string> expectedEvents = expectedReceiverEvents(entries);
    const std::size_t allPresses = withKeys(entries).size();

    ProgramFolder folder;  // no settings file: the defaults, "Surpressed (recommended)"
    Receiver receiver;
    App app(folder);
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, entries));
    const MainControls controls(app);

    ASSERT_TRUE(playsThroughCountdown(app, controls, receiver.dialog()));

    // A change the settings file must then show.
    app.click(kNoSound);
    ASSERT_TRUE(waitUntil([&] { return !app.checked(kNoSound); }, 10s)) << "the no-sound box did not change";
    ASSERT_TRUE(waitUntil([&] { return receiver.log().count("PRESS") >= 10; }))
        << "only " << receiver.log().count("PRESS") << " presses arrived";
    ASSERT_TRUE(app.findWindow(L"#32770", L"Tavrel") == nullptr) << "playback ended before the close";
    PostMessageW(app.main(), WM_CLOSE, 0, 0);

    bool sawBox = false;
    ASSERT_TRUE(waitUntil([&] {
        sawBox = sawBox || !noMessageBox(app);
        return !app.running();
    })) << "the program still runs after the close";
    EXPECT_FALSE(sawBox) << "a message box showed after the close";

    bool exists = false;
    EXPECT_EQ(folder.read(kSettingsFile, &exists), "0\r\n0\r\n1\r\n");
    EXPECT_TRUE(exists) << "no settings file was written";

    // The keys stop where the close came: what arrived is the start of the
    // path, cut short, and the marker follows it.
    ASSERT_TRUE(markEndOfInput(receiver));
    const ReceiverLog log = receiver.log();
    const std::vector<std::string> events = eventsBeforeMarker(log);
    ASSERT_LT(events.size(), expectedEvents.size()) << "the whole path arrived despite the close";
    const std::vector<std::string> start(expectedEvents.begin(),
                                         expectedEvents.begin() + static_cast<std::ptrdiff_t>(events.size()));
    EXPECT_EQ(events, start) << firstDifference(events, start);
    EXPECT_LT(log.presses().size(), allPresses);
    EXPECT_EQ(log.events().size(), events.size() + 2) << "more arrived after the marker key";
}

}  // namespace
}  // namespace e2e
