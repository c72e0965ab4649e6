#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

#include "app/main_commands.h"
#include "app/main_handlers.h"
#include "tests/fakes/fake_world.h"

namespace tavrel {
namespace {

using fakes::FakeWorld;
using fakes::Log;

struct FakeWindows final : ModalWindows {
    explicit FakeWindows(FakeWorld& w) : world(w) {}
    void showPreview() override { world.log.push_back("preview"); }
    void showAbout() override { world.log.push_back("about"); }
    FakeWorld& world;
};

class MainHandlersTest : public testing::Test {
protected:
    void load(const std::string& folder = "C:\\Games\\Tavrel") {
        handlers.start(folder);
        world.log.clear();
    }

    // A recording in which LEFT is pressed at 0.5 s and DOWN at 1.5 s after
    // Record; `handler` runs once, at the first pump at or after `at`; Stop
    // comes at 2 s.
    void recordLeftThenDown(double at = 0, std::function<void()> handler = {}) {
        const double start = world.clock.now;
        world.keys.timeline = [start](int key, double now) -> std::int16_t {
            double t = now - start;
            if (key == 37 && t >= 0.5 && t < 0.6) return 1;
            if (key == 40 && t >= 1.5 && t < 1.6) return 1;
            return 0;
        };
        bool done = !handler, stopped = false;
        world.events.onPump = [&, start, at](int) {
            double t = world.clock.now - start;
            if (!done && t >= at) {
                done = true;
                handler();
            }
            if (!stopped && t >= 2.0) {
                stopped = true;
                handlers.stop();
            }
        };
        handlers.record();
        world.events.onPump = nullptr;
    }

    FakeWorld world;
    Services services = world.services();
    FakeWindows windows{world};
    MainHandlers handlers{world.list, world.controls, services, windows};
};

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
    } cases[] = {
        {"no list file", false, false, false, "message 16 The system cannot find the file specified."},
        {"out of memory while reading", true, true, false, outOfMemory},
        {"out of memory while taking the new list", true, false, true, outOfMemory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWorld world;
        Services services = world.services();
        FakeWindows windows{world};
        MainHandlers handlers{world.list, world.controls, services, windows};
        handlers.start("C:\\Games\\Tavrel");
        world.setEntries({"DOWN", "LEFT"}, 1);
        if (c.fileThere) world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = std::string(50, 'U') + "\r\nUP\r\n";
        world.files.outOfMemory = c.readRunsOut;
        world.listView.outOfMemory = c.listRunsOut;
        handlers.load();
        EXPECT_EQ(world.logOnly({"message"}), (Log{c.message}));
        EXPECT_EQ(world.list.entries(), (std::vector<std::string>{"DOWN", "LEFT"}));
        EXPECT_EQ(world.list.selected(), 1);
        EXPECT_TRUE(world.logOnly({"clear", "select"}).empty());
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
    void record(double at, std::function<void()> handler) {
        load();
        world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\nUP\r\n";
        recordLeftThenDown(at, std::move(handler));
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
              (Log{"append LEFT", "actions off", "send {DOWN}", "send  ", "send {UP}", "sendwait ", "actions on",
                   "message 48 DONE!", "message 64 Recording halted."}));
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

// The keystroke list's menu, run through its rows as the window runs them.
class ListMenu : public MainHandlersTest {
protected:
    const MainCommand& row(MenuId id) {
        for (const MainCommand& r : listMenuCommands())
            if (r.id == static_cast<int>(id)) return r;
        throw std::out_of_range("no such row");
    }
    bool available(MenuId id) { return commandAvailable(row(id), handlers); }
    void run(MenuId id) {
        if (available(id)) (handlers.*row(id).action)();
    }
    // The menu items that are not greyed, in the menu's order.
    std::vector<MenuId> availableItems() {
        std::vector<MenuId> out;
        for (const MainCommand& r : listMenuCommands())
            if (commandAvailable(r, handlers)) out.push_back(static_cast<MenuId>(r.id));
        return out;
    }
    using Entries = std::vector<std::string>;
    const Entries kLoaded{"UP", "UP", "RIGHT"};
    void loadFile() {
        world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\nUP\r\nRIGHT\r\n";
        handlers.load();
    }
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
    // A playback greys everything; so does a recording, for Undo and Redo.
    std::vector<std::vector<MenuId>> seen;
    world.events.onPump = [&](int) {
        if (seen.empty()) seen.push_back(availableItems());
    };
    loadFile();
    handlers.play();
    world.events.onPump = [&](int) {
        if (seen.size() == 1) seen.push_back(availableItems());
        handlers.stop();
    };
    handlers.record();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::vector<MenuId>{});
    EXPECT_EQ(seen[1], with({}));
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
