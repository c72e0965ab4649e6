#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/command_dispatch.h"
#include "app/main_commands.h"
#include "app/main_handlers.h"
#include "tests/fakes/fake_world.h"
#include "tests/fakes/first_pump.h"
#include "tests/fakes/key_presses.h"

namespace tavrel {
namespace {

using namespace fakes;

struct FakeWindows final : ModalWindows {
    explicit FakeWindows(FakeWorld& w) : world(w) {}
    void showPreview() override { world.log.push_back("preview"); }
    void showAbout() override { world.log.push_back("about"); }
    FakeWorld& world;
};

// The handlers in a fake world, the keystroke list's menu run and shown
// through the window's own dispatcher: a command greyed in the menu must not
// run from its id either.
struct HandlersRig {
    void load(const std::string& folder = "C:\\Games\\Tavrel") {
        handlers.start(folder);
        world.log.clear();
    }

    double sinceRecord() const { return world.clock.now - recordStart; }
    // A recording in which LEFT is held from 0.5 s and DOWN from 1.5 s after
    // Record, 0.1 s each; each of `steps` runs once, at the first pump where
    // it applies; Stop comes at the first pump at or after 2 s once they all
    // have run.
    void recordLeftThenDown(std::vector<AtFirstPump> steps = {}) {
        recordStart = world.clock.now;
        const std::vector<Press> presses = {{kLeft, 0.5, 0.6}, {kDown, 1.5, 1.6}};
        world.keys.timeline = [this, presses](int key, double) -> std::int16_t {
            return held(presses, key, sinceRecord()) ? 1 : 0;
        };
        const std::vector<AtFirstPump> given = steps;
        steps.emplace_back(
            // Stop is one of the actions a playback takes away.
            [this, given] {
                return sinceRecord() >= 2.0 && !handlers.busy() &&
                       std::all_of(given.begin(), given.end(), [](const AtFirstPump& s) { return s.done(); });
            },
            [this] { handlers.stop(); });
        world.events.onPump = [steps](int) {
            for (const AtFirstPump& step : steps) step();
        };
        handlers.record();
        world.events.onPump = nullptr;
    }
    // A step of recordLeftThenDown at `seconds` after Record.
    AtFirstPump at(double seconds, std::function<void()> act) {
        return AtFirstPump([this, seconds] { return sinceRecord() >= seconds; }, std::move(act));
    }

    bool available(MenuId id) {
        for (const MenuItem& item : menuItems(listMenuCommands(), handlers))
            if (item.id == static_cast<int>(id)) return item.enabled;
        throw std::out_of_range("no such item");
    }
    void run(MenuId id) { EXPECT_TRUE(runCommand(listMenuCommands(), static_cast<int>(id), handlers)); }
    // The window's loop, as long as a playback runs.
    void loop() {
        world.runWhile([this] { return handlers.busy(); });
    }
    // The menu items that are not greyed, in the menu's order.
    std::vector<MenuId> availableItems() {
        std::vector<MenuId> out;
        for (const MenuItem& item : menuItems(listMenuCommands(), handlers))
            if (item.enabled) out.push_back(static_cast<MenuId>(item.id));
        return out;
    }
    void loadFile() {
        world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\nUP\r\nRIGHT\r\n";
        handlers.load();
    }

    FakeWorld world;
    Services services = world.services();
    FakeWindows windows{world};
    MainHandlers handlers{world.list, world.controls, services, windows};
    double recordStart = 0;
};

class MainHandlersTest : public testing::Test, public HandlersRig {};

TEST(AppDir, HasExactlyOneTrailingBackslash) {
    EXPECT_EQ(appDirFrom("C:\\Games\\Tavrel"), "C:\\Games\\Tavrel\\");
    EXPECT_EQ(appDirFrom("C:\\"), "C:\\");
    EXPECT_EQ(appDirFrom("\\\\server\\share\\t"), "\\\\server\\share\\t\\");
}

TEST_F(MainHandlersTest, StartWithoutSettingsKeepsTheDefaults) {
    handlers.start("C:\\Games\\Tavrel");
    EXPECT_EQ(handlers.appDir(), "C:\\Games\\Tavrel\\");
    EXPECT_EQ(world.log, (Log{"read C:\\Games\\Tavrel\\TavrelXP.vmi"}));
    EXPECT_EQ(world.controls.onTopValue, 0);
    EXPECT_EQ(world.controls.noSoundValue, 1);
    EXPECT_EQ(world.controls.mode, SpeedMode::Surpressed);
}

TEST_F(MainHandlersTest, StoredSettingsAreRestoredThroughTheOnTopClick) {
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.vmi"] = "1\r\n0\r\n2\r\n";
    handlers.start("C:\\Games\\Tavrel");
    EXPECT_EQ(world.controls.onTopValue, 1);
    EXPECT_EQ(world.controls.noSoundValue, 0);
    EXPECT_EQ(world.controls.mode, SpeedMode::UltraSurpressed);
    EXPECT_EQ(world.logOnly({"top"}), (Log{"top -1"}));
}

TEST_F(MainHandlersTest, ProgramAtADriveRootUsesOneBackslash) {
    world.files.files["D:\\TavrelXP.vmi"] = "0\r\n0\r\n0\r\n";
    handlers.start("D:\\");
    EXPECT_EQ(handlers.appDir(), "D:\\");
    EXPECT_EQ(world.controls.mode, SpeedMode::Original);
}

TEST_F(MainHandlersTest, UnloadWritesTheThreeSettings) {
    load();
    handlers.finish();
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "0\r\n1\r\n1\r\n");
    handlers.setOnTop(1);
    handlers.setNoSound(2);
    handlers.setSpeedMode(SpeedMode::Original);
    handlers.finish();
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "1\r\n2\r\n0\r\n");
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

TEST_F(MainHandlersTest, UnloadThatCannotWriteSaysWhyAndKeepsTheOldFile) {
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.vmi"] = "1\r\n1\r\n2\r\n";
    load();
    world.files.writeErrors["C:\\Games\\Tavrel\\TavrelXP.vmi"] = "Access is denied.";
    handlers.finish();
    Log messages = world.logOnly({"message"});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("message 16 ", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("Access is denied."), std::string::npos) << messages[0];
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "1\r\n1\r\n2\r\n");
}

TEST_F(MainHandlersTest, SaveWritesTheListInTheProgramFolder) {
    load();
    world.setEntries({"UP", "UP", "RIGHT"});
    handlers.save();
    EXPECT_EQ(world.files.currentFolder, "C:\\Games\\Tavrel");
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "UP\r\nUP\r\nRIGHT\r\n");
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

TEST_F(MainHandlersTest, SaveThatFailsReportsAndKeepsListAndFile) {
    load();
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "OLD\r\n";
    world.files.writeErrors["C:\\Games\\Tavrel\\TavrelXP.txt"] = "Access is denied.";
    world.setEntries({"LEFT"});
    handlers.save();
    EXPECT_EQ(world.logOnly({"message"}), (Log{"message 16 Access is denied."}));
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "OLD\r\n");
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"LEFT"}));
}

TEST_F(MainHandlersTest, LoadReplacesTheListWithTheFile) {
    load();
    world.setEntries({"DOWN", "DOWN"});
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\n up\rRIGHT";
    handlers.load();
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"UP", " up", "RIGHT"}));
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

TEST(MainHandlers, LoadThatFailsReportsAndLeavesTheListAlone) {
    const std::string outOfMemory = "message 16 Not enough memory resources are available.";
    const struct {
        const char* name;
        bool fileThere, readRunsOut, listRunsOut;
        std::string message;
        int viewResets;  // the list is touched only once the file is in
    } cases[] = {
        {"no list file", false, false, false, "message 16 The system cannot find the file specified.", 0},
        {"out of memory while reading", true, true, false, outOfMemory, 0},
        {"out of memory while taking the new list", true, false, true, outOfMemory, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HandlersRig rig;
        FakeWorld& world = rig.world;
        rig.load();
        world.setEntries({"DOWN", "LEFT"}, 1);
        if (c.fileThere) world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = std::string(50, 'U') + "\r\nUP\r\n";
        world.files.outOfMemory = c.readRunsOut;
        world.listView.outOfMemory = c.listRunsOut;
        rig.handlers.load();
        EXPECT_EQ(world.logOnly({"message"}), (Log{c.message}));
        EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"DOWN", "LEFT"}));
        EXPECT_EQ(world.list.selected(), 1);
        EXPECT_TRUE(world.logOnly({"clear", "select"}).empty());
        EXPECT_EQ(world.listView.resets, c.viewResets);
    }
}

TEST_F(MainHandlersTest, LoadOfAnEmptyFileEmptiesTheList) {
    load();
    world.setEntries({"DOWN"});
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "";
    handlers.load();
    EXPECT_TRUE(world.list.entries().empty());
}

TEST_F(MainHandlersTest, LoadKeepsTheFirst32767LinesAndSaysSo) {
    load();
    std::string bytes;
    for (int i = 0; i < kListCapacity + 3; ++i) bytes += "L" + std::to_string(i) + "\r\n";
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = bytes;
    handlers.load();
    ASSERT_EQ(world.list.count(), kListCapacity);
    EXPECT_EQ(world.list.entries().back(), "L" + std::to_string(kListCapacity - 1));
    Log messages = world.logOnly({"message"});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("message 48 ", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("32770"), std::string::npos) << messages[0];
}

TEST_F(MainHandlersTest, ExploreOpensTheProgramFolderQuoted) {
    struct Row {
        const char* folder;
        const char* launched;
    } rows[] = {
        {"C:\\Games\\Tavrel", "launch 1 explorer.exe \"C:\\Games\\Tavrel\""},
        {"C:\\", "launch 1 explorer.exe \"C:\\\""},
        {"C:\\My Games", "launch 1 explorer.exe \"C:\\My Games\""},
    };
    for (const Row& r : rows) {
        load(r.folder);
        handlers.explore();
        EXPECT_EQ(world.log, (Log{r.launched}));
    }
}

TEST_F(MainHandlersTest, ExploreThatCannotStartSaysSoAndGoesOn) {
    load();
    world.shell.failWith = "The system cannot find the file specified.";
    handlers.explore();
    Log messages = world.logOnly({"message"});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("message 16 ", 0), 0u);
    EXPECT_NE(messages[0].find("cannot find the file"), std::string::npos);
}

TEST_F(MainHandlersTest, OnTopClickFollowsTheBox) {
    load();
    for (int value : {1, 0, 2, 0}) {
        handlers.setOnTop(value);
    }
    EXPECT_EQ(world.logOnly({"top"}), (Log{"top -1", "top 0", "top -1", "top 0"}));
}

TEST_F(MainHandlersTest, PreviewAndAboutOpenTheirWindows) {
    load();
    handlers.preview();
    handlers.about();
    EXPECT_EQ(world.log, (Log{"preview", "about"}));
}

// Handlers clicked from inside a recording's event pump, with "UP", "UP" in
// the list file.
class DuringRecording : public MainHandlersTest {
protected:
    void record(double seconds, std::function<void()> handler) {
        load();
        world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\nUP\r\n";
        recordLeftThenDown({at(seconds, std::move(handler))});
    }
};

TEST_F(DuringRecording, LoadReplacesTheListAndRecordingGoesOnAppending) {
    record(1.0, [&] { handlers.load(); });
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"UP", "UP", "DOWN"}));
    EXPECT_EQ(world.logOnly({"message"}), (Log{"message 64 Recording halted."}));
}

TEST_F(DuringRecording, SaveWritesTheEntriesRecordedSoFar) {
    record(1.0, [&] { handlers.save(); });
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "LEFT\r\n");
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"LEFT", "DOWN"}));
}

TEST_F(DuringRecording, PlayRunsWholeInsideThePumpWhilePollingWaits) {
    record(1.0, [&] { handlers.play(); });
    // DOWN went down and up again during the countdown, while the recording
    // waited in its pump: it is not recorded.
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"LEFT"}));
    EXPECT_EQ(world.logOnly({"message", "append", "send", "actions"}),
              (Log{"append LEFT", "actions off", "send {DOWN}", "send  ", "send {UP}", "actions on", "message 48 DONE!",
                   "message 64 Recording halted."}));
}

TEST_F(DuringRecording, ArrowsThatMoveThroughTheListMenuAreNotRecorded) {
    record(1.0, [&] {
        handlers.trackingMenu([&] {
            world.keys.tap(40);
            world.keys.tap(39);
        });
    });
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"LEFT", "DOWN"}));
}

TEST_F(DuringRecording, PreviewPausesTheLoopUntilItCloses) {
    record(1.0, [&] { handlers.preview(); });
    EXPECT_EQ(world.logOnly({"preview", "append", "message"}),
              (Log{"append LEFT", "preview", "append DOWN", "message 64 Recording halted."}));
}

TEST_F(DuringRecording, ClosingEndsItWithTheSettingsWrittenAndNothingMore) {
    record(1.0, [&] {
        handlers.finish();
        world.ended = true;
    });
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "0\r\n1\r\n1\r\n");
    EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"LEFT"}));
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

}  // namespace
}  // namespace tavrel

namespace tavrel {
namespace {

// The keystroke list's menu.
class ListMenu : public MainHandlersTest {
protected:
    using Entries = std::vector<std::string>;
    const Entries kLoaded{"UP", "UP", "RIGHT"};
};

TEST_F(ListMenu, GreysWhatCannotApply) {
    using enum MenuId;
    load();
    const std::vector<MenuId> inserts{InsertUp, InsertDown, InsertLeft, InsertRight};
    auto with = [&](std::vector<MenuId> items) {
        items.insert(items.begin() + (items.empty() || items[0] != PlayFromHere ? 0 : 1), inserts.begin(),
                     inserts.end());
        return items;
    };
    EXPECT_EQ(availableItems(), with({}));
    loadFile();
    EXPECT_EQ(availableItems(), with({Reverse, AppendWayBack, Undo}));
    world.list.select(1);
    EXPECT_EQ(availableItems(), with({PlayFromHere, Delete, Reverse, AppendWayBack, Undo}));
    run(Undo);
    EXPECT_EQ(availableItems(), with({Redo}));
    // Everything but Resume, so that each greyed item below is greyed for
    // the playback's or the recording's sake.
    run(Redo);
    world.list.select(1);
    run(InsertUp);
    run(Undo);
    const std::vector<MenuId> ready = with({PlayFromHere, Delete, Reverse, AppendWayBack, Undo, Redo});
    ASSERT_EQ(availableItems(), ready);
    // A playback greys everything, and its ids run nothing.
    std::optional<std::vector<MenuId>> duringPlayback;
    world.events.onPump = [&](int) {
        if (duringPlayback) return;
        duringPlayback = availableItems();
        for (const MainCommand& row : listMenuCommands()) runCommand(listMenuCommands(), row.id, handlers);
    };
    handlers.play();
    loop();
    EXPECT_EQ(duringPlayback, std::optional(std::vector<MenuId>{}));
    EXPECT_EQ(world.list.entries(), kLoaded);
    EXPECT_EQ(world.logOnly({"message"}), (Log{"message 48 DONE!"}));
    // A recording greys Undo and Redo; an entry recorded and selected can
    // be played or deleted.
    world.list.select(1);
    ASSERT_EQ(availableItems(), ready);
    std::vector<MenuId> duringRecording;
    recordLeftThenDown({at(1.0, [&] {
        world.list.select(0);
        duringRecording = availableItems();
    })});
    EXPECT_EQ(duringRecording, with({PlayFromHere, Delete, Reverse, AppendWayBack}));
}

TEST_F(ListMenu, InsertDeleteAndUndoEditTheListSaveLeavesTheHistory) {
    using enum MenuId;
    load();
    loadFile();
    world.list.select(2);
    run(InsertLeft);
    run(InsertDown);
    EXPECT_EQ(world.list.entries(), (Entries{"UP", "UP", "LEFT", "DOWN", "RIGHT"}));
    world.list.select(0);
    run(Delete);
    EXPECT_EQ(world.list.entries(), (Entries{"UP", "LEFT", "DOWN", "RIGHT"}));
    EXPECT_EQ(world.list.selected(), 0);
    handlers.save();
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "UP\r\nLEFT\r\nDOWN\r\nRIGHT\r\n");
    world.log.clear();
    run(Undo);
    EXPECT_EQ(world.list.entries(), (Entries{"UP", "UP", "LEFT", "DOWN", "RIGHT"}));
    // The list box redraws one line, not the whole list.
    EXPECT_EQ(world.logOnly({"clear", "append", "insert", "erase"}), Log{"insert 0 UP"});
    run(Undo);
    run(Undo);
    EXPECT_EQ(world.list.entries(), kLoaded);
    run(Undo);
    EXPECT_TRUE(world.list.entries().empty());
    run(Redo);
    EXPECT_EQ(world.list.entries(), kLoaded);
}

TEST_F(ListMenu, RecordByMistakeIsUndoneWhole) {
    load();
    loadFile();
    recordLeftThenDown();
    EXPECT_EQ(world.list.entries(), (Entries{"LEFT", "DOWN"}));
    run(MenuId::Undo);
    EXPECT_EQ(world.list.entries(), kLoaded);
    run(MenuId::Redo);
    EXPECT_EQ(world.list.entries(), (Entries{"LEFT", "DOWN"}));
}

// Play from here and Resume as the menu runs them, also from inside a
// recording's pump: what reaches the dialog, and what the recording keeps.
TEST(ListMenuPlayback, PlayFromHereAndResumeThroughTheHandlers) {
    using enum MenuId;
    const Log up = {"send {DOWN}", "send {DOWN}", "send {DOWN}", "send  ", "send {UP}", "send {UP}", "send {UP}"};
    const Log right = {"send {DOWN}", "send {DOWN}", "send  ", "send {UP}", "send {UP}"};
    const Log left = {"send {DOWN}", "send  ", "send {UP}"};
    const auto plus = [](Log a, const Log& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const auto escAfterSends = [](HandlersRig& r, std::size_t n) {
        return AtFirstPump([&r, n] { return r.handlers.busy() && r.world.logOnly({"send "}).size() == n; },
                           [&r] { r.world.stopKey.down = true; });
    };
    const struct {
        const char* name;
        std::function<void(HandlersRig&)> act;  // on the loaded "UP", "UP", "RIGHT"
        Log sent;
        std::vector<std::string> entries;  // afterwards
        Log messages;
    } cases[] = {
        {"play from the second entry",
         [](HandlersRig& r) {
             r.world.list.select(1);
             r.run(PlayFromHere);
             r.loop();
         },
         plus(up, right), {"UP", "UP", "RIGHT"}, {"message 48 DONE!"}},
        {"resume after Esc inside the second entry",
         [&](HandlersRig& r) {
             const AtFirstPump esc = escAfterSends(r, 9);
             r.world.events.onPump = [esc](int) { esc(); };
             r.handlers.play();
             r.loop();
             r.world.events.onPump = nullptr;
             r.run(Resume);
             r.loop();
         },
         plus(plus(plus(up, {"send {DOWN}", "send {DOWN}", "send {UP}", "send {UP}"}), up), right),
         {"UP", "UP", "RIGHT"},
         {"message 48 Playback stopped at entry 2 of 3: Esc was pressed.", "message 48 DONE!"}},
        // LEFT and DOWN recorded by 1.7 s; the played keys are not recorded.
        {"play from the first entry recorded, inside the recording",
         [](HandlersRig& r) {
             r.recordLeftThenDown({r.at(1.7, [&r] {
                 r.world.list.select(0);
                 r.run(PlayFromHere);
             })});
         },
         plus(left, {"send  "}), {"LEFT", "DOWN"}, {"message 48 DONE!", "message 64 Recording halted."}},
        // DOWN goes down and up during the countdown: not recorded either.
        // Resume comes some passes after the one that played, as a click would.
        {"resume inside the recording",
         [&](HandlersRig& r) {
             auto playedInPump = std::make_shared<std::optional<int>>();
             const AtFirstPump play = r.at(1.0, [&r, playedInPump] {
                 r.handlers.play();
                 *playedInPump = r.world.events.calls;
             });
             const AtFirstPump resume(
                 [&r, playedInPump] {
                     return *playedInPump && !r.handlers.busy() && r.world.events.calls > **playedInPump + 2;
                 },
                 [&r] {
                     r.world.stopKey.down = false;
                     EXPECT_TRUE(r.available(Resume));
                     r.run(Resume);
                 });
             r.recordLeftThenDown({play, escAfterSends(r, 1), resume});
         },
         plus({"send {DOWN}", "send {UP}"}, left), {"LEFT"},
         {"message 48 Playback stopped at entry 1 of 1: Esc was pressed.", "message 48 DONE!",
          "message 64 Recording halted."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HandlersRig rig;
        rig.load();
        rig.loadFile();
        c.act(rig);
        EXPECT_EQ(rig.world.logOnly({"send "}), c.sent);
        EXPECT_EQ(rig.world.list.entries(), c.entries);
        EXPECT_EQ(rig.world.logOnly({"message"}), c.messages);
    }
}

TEST_F(ListMenu, AnyEditWithdrawsTheResumeOfAStoppedPlayback) {
    load();
    // Each leaves the list as it was at the stop, and still withdraws it.
    const std::vector<std::function<void()>> edits{
        [&] { run(MenuId::InsertUp), run(MenuId::Undo); },
        [&] { run(MenuId::Delete), run(MenuId::Undo); },
        [&] { loadFile(); },
    };
    for (const auto& edit : edits) {
        loadFile();
        world.events.onPump = [&](int) {
            if (world.logOnly({"send"}).size() == 2) world.stopKey.down = true;
        };
        handlers.play();
        loop();
        world.events.onPump = nullptr;
        ASSERT_TRUE(available(MenuId::Resume));
        world.list.select(0);
        edit();
        EXPECT_EQ(world.list.entries(), kLoaded);
        EXPECT_FALSE(available(MenuId::Resume));
        world.log.clear();
    }
}

}  // namespace
}  // namespace tavrel
