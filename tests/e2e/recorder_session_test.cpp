// Record and Stop around the keys: Stop with nothing recording, nested
// recordings, an empty recording, and closing the window mid-recording.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/message_checks.h"
#include "tests/e2e/player_support.h"
#include "tests/e2e/recording_support.h"
#include "tests/support/receiver.h"

namespace e2e {
namespace {

TEST(Recorder, StopWithNothingRecordingSaysSoAndKeepsTheList) {
    ProgramFolder folder;
    App app(folder);
    preload(folder, app, "UP\r\nLEFT\r\nfree text\r\n", {kUp, kLeft, L"free text"});
    app.click(L"Stop");
    ASSERT_TRUE(boxSays(app, L"Nothing to stop.", kExclamationIcon)) << "Stop with nothing recording";
    EXPECT_EQ(app.listItems(), (Entries{kUp, kLeft, L"free text"})) << show(app.listItems());
    EXPECT_TRUE(noMessageBox(app));
}

TEST(Recorder, StopAfterARecordingEndedSaysNothingToStopAndKeepsTheEntries) {
    Recording r;
    ASSERT_TRUE(tap(r.sink, VK_DOWN));
    ASSERT_TRUE(listBecomes(r.app, {kDown}));
    ASSERT_TRUE(stopsWithHalted(r.app));

    r.app.click(L"Stop");
    ASSERT_TRUE(boxSays(r.app, L"Nothing to stop.", kExclamationIcon)) << "the second Stop";
    EXPECT_EQ(r.app.listItems(), (Entries{kDown})) << show(r.app.listItems());
}

TEST(Recorder, RecordThenStopWithoutKeysLeavesAnEmptyList) {
    ProgramFolder folder;
    App app(folder);
    preload(folder, app, "UP\r\nUP\r\n", {kUp, kUp});
    ASSERT_GE(clickRecord(app), 0) << "Record did not empty the list: " << show(app.listItems());
    ASSERT_TRUE(stopsWithHalted(app));
    EXPECT_TRUE(app.listItems().empty()) << show(app.listItems());
    EXPECT_TRUE(savesAs(folder, app, ""));
}

TEST(Recorder, RecordDuringARecordingNestsAndOneStopEndsBoth) {
    Recording r;
    ASSERT_TRUE(tap(r.sink, VK_LEFT));
    ASSERT_TRUE(listBecomes(r.app, {kLeft}));
    double seen = clickRecord(r.app);
    ASSERT_GE(seen, 0) << "the second Record did not empty the list: " << show(r.app.listItems());
    ASSERT_TRUE(takeForeground(r.sink));
    waitOutGrace(seen);
    ASSERT_TRUE(tap(r.sink, VK_UP));
    ASSERT_TRUE(listBecomes(r.app, {kUp}));

    ASSERT_TRUE(stopsWithHalted(r.app)) << "the inner recording";
    ASSERT_TRUE(boxSays(r.app, L"Recording halted.", kInformationIcon)) << "the outer recording";
    EXPECT_TRUE(noMessageBox(r.app));
    EXPECT_EQ(r.app.listItems(), (Entries{kUp})) << show(r.app.listItems());
}

// The played keys set the same "pressed since the last read" bits as the
// user's presses; the recording around the playback must not take them.
TEST(Recorder, PlayDuringARecordingRecordsNoneOfThePlayedKeys) {
    Recording r;
    ASSERT_TRUE(tap(r.sink, VK_LEFT));
    ASSERT_TRUE(listBecomes(r.app, {kLeft}));
    Receiver receiver;
    const MainControls controls(r.app);
    ASSERT_TRUE(playsThroughCountdown(r.app, controls, receiver.dialog()));
    ASSERT_TRUE(boxSays(r.app, L"DONE!", kExclamationIcon, 30s));
    ASSERT_TRUE(markEndOfInput(receiver));
    EXPECT_EQ(eventsBeforeMarker(receiver.log()), expectedReceiverEvents({"LEFT"}));

    ASSERT_TRUE(stopsWithHalted(r.app));
    EXPECT_EQ(r.app.listItems(), (Entries{kLeft})) << show(r.app.listItems());
}

TEST(Recorder, ClosingTheWindowDuringARecordingEndsTheProgramAndWritesTheSettings) {
    Recording r;
    ASSERT_TRUE(tap(r.sink, VK_RIGHT));
    ASSERT_TRUE(listBecomes(r.app, {kRight}));
    PostMessageW(r.app.main(), WM_CLOSE, 0, 0);
    if (!r.app.waitForExit()) {
        MessageBoxSeen box = takeMessageBox(r.app, 1s);
        FAIL() << "the program did not end; a box said \"" << narrow(box.text) << "\"";
    }
    bool exists = false;
    std::string settings = r.folder.read(kSettingsFile, &exists);
    EXPECT_TRUE(exists) << "no settings file";
    EXPECT_EQ(settings, "0\r\n1\r\n1\r\n") << showBytes(settings);
    // The recording is not saved: the list file is the one loaded at the start.
    EXPECT_EQ(r.folder.read(kListFile), "UP\r\n");
}

}  // namespace
}  // namespace e2e
