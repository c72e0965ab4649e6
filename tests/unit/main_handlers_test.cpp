#include <gtest/gtest.h>

#include <functional>

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
    MainHandlersTest() {
        world.controls.onTopClick = [this] { handlers.ChkOnTop_Click(); };
    }
    void load(const std::string& folder = "C:\\Games\\Tavrel") {
        handlers.Form_Load(folder);
        world.log.clear();
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
    handlers.Form_Load("C:\\Games\\Tavrel");
    EXPECT_EQ(handlers.appDir(), "C:\\Games\\Tavrel\\");
    EXPECT_EQ(world.log, (Log{"read C:\\Games\\Tavrel\\TavrelXP.vmi"}));
    EXPECT_EQ(world.controls.onTopValue, 0);
    EXPECT_EQ(world.controls.noSoundValue, 1);
    EXPECT_EQ(world.controls.mode, kModeSurpressed);
}

TEST_F(MainHandlersTest, StoredSettingsAreRestoredThroughTheOnTopClick) {
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.vmi"] = "1\r\n0\r\n2\r\n";
    handlers.Form_Load("C:\\Games\\Tavrel");
    EXPECT_EQ(world.controls.onTopValue, 1);
    EXPECT_EQ(world.controls.noSoundValue, 0);
    EXPECT_EQ(world.controls.mode, kModeUltraSurpressed);
    EXPECT_EQ(world.logOnly({"top"}), (Log{"top -1"}));
}

TEST_F(MainHandlersTest, ProgramAtADriveRootUsesOneBackslash) {
    world.files.files["D:\\TavrelXP.vmi"] = "0\r\n0\r\n0\r\n";
    handlers.Form_Load("D:\\");
    EXPECT_EQ(handlers.appDir(), "D:\\");
    EXPECT_EQ(world.controls.mode, kModeOriginal);
}

TEST_F(MainHandlersTest, UnloadWritesTheThreeSettings) {
    load();
    handlers.Form_Unload();
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "0\r\n1\r\n1\r\n");
    world.controls.onTopValue = 1;
    world.controls.noSoundValue = 2;
    world.controls.mode = kModeOriginal;
    handlers.Form_Unload();
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "1\r\n2\r\n0\r\n");
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

TEST_F(MainHandlersTest, UnloadThatCannotWriteSaysWhyAndKeepsTheOldFile) {
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.vmi"] = "1\r\n1\r\n2\r\n";
    load();
    world.files.writeErrors["C:\\Games\\Tavrel\\TavrelXP.vmi"] = "Access is denied.";
    handlers.Form_Unload();
    Log messages = world.logOnly({"message"});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("message 16 ", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("Access is denied."), std::string::npos) << messages[0];
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "1\r\n1\r\n2\r\n");
}

TEST_F(MainHandlersTest, SaveWritesTheListInTheProgramFolder) {
    load();
    world.list.entries = {"UP", "UP", "RIGHT"};
    handlers.BtnSave_Click();
    EXPECT_EQ(world.files.currentFolder, "C:\\Games\\Tavrel");
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "UP\r\nUP\r\nRIGHT\r\n");
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

TEST_F(MainHandlersTest, SaveThatFailsReportsAndKeepsListAndFile) {
    load();
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "OLD\r\n";
    world.files.writeErrors["C:\\Games\\Tavrel\\TavrelXP.txt"] = "Access is denied.";
    world.list.entries = {"LEFT"};
    handlers.BtnSave_Click();
    EXPECT_EQ(world.logOnly({"message"}), (Log{"message 16 Access is denied."}));
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "OLD\r\n");
    EXPECT_EQ(world.list.entries, (std::vector<std::string>{"LEFT"}));
}

TEST_F(MainHandlersTest, LoadReplacesTheListWithTheFile) {
    load();
    world.list.entries = {"DOWN", "DOWN"};
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\n up\rRIGHT";
    handlers.BtnLoad_Click();
    EXPECT_EQ(world.list.entries, (std::vector<std::string>{"UP", " up", "RIGHT"}));
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
        handlers.Form_Load("C:\\Games\\Tavrel");
        world.list.entries = {"DOWN", "LEFT"};
        world.list.selected = 1;
        if (c.fileThere) world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = std::string(50, 'U') + "\r\nUP\r\n";
        world.files.outOfMemory = c.readRunsOut;
        world.list.outOfMemory = c.listRunsOut;
        handlers.BtnLoad_Click();
        EXPECT_EQ(world.logOnly({"message"}), (Log{c.message}));
        EXPECT_EQ(world.list.entries, (std::vector<std::string>{"DOWN", "LEFT"}));
        EXPECT_EQ(world.list.selected, 1);
        EXPECT_TRUE(world.logOnly({"clear", "select"}).empty());
    }
}

TEST_F(MainHandlersTest, LoadOfAnEmptyFileEmptiesTheList) {
    load();
    world.list.entries = {"DOWN"};
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "";
    handlers.BtnLoad_Click();
    EXPECT_TRUE(world.list.entries.empty());
}

TEST_F(MainHandlersTest, LoadKeepsTheFirst32767LinesAndSaysSo) {
    load();
    std::string bytes;
    for (int i = 0; i < kListCapacity + 3; ++i) bytes += "L" + std::to_string(i) + "\r\n";
    world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = bytes;
    handlers.BtnLoad_Click();
    ASSERT_EQ(world.list.count(), kListCapacity);
    EXPECT_EQ(world.list.entries.back(), "L" + std::to_string(kListCapacity - 1));
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
        handlers.Command5_Click();
        EXPECT_EQ(world.log, (Log{r.launched}));
    }
}

TEST_F(MainHandlersTest, ExploreThatCannotStartSaysSoAndGoesOn) {
    load();
    world.shell.failWith = "The system cannot find the file specified.";
    handlers.Command5_Click();
    Log messages = world.logOnly({"message"});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("message 16 ", 0), 0u);
    EXPECT_NE(messages[0].find("cannot find the file"), std::string::npos);
}

TEST_F(MainHandlersTest, OnTopClickFollowsTheBox) {
    load();
    for (int value : {1, 0, 2, 0}) {
        world.controls.onTopValue = value;
        handlers.ChkOnTop_Click();
    }
    EXPECT_EQ(world.logOnly({"top"}), (Log{"top -1", "top 0", "top -1", "top 0"}));
}

TEST_F(MainHandlersTest, PreviewAndAboutOpenTheirWindows) {
    load();
    handlers.BtnPreview_Click();
    handlers.Command4_Click();
    EXPECT_EQ(world.log, (Log{"preview", "about"}));
}

// Handlers clicked from inside a recording's event pump: LEFT is pressed at
// 0.5 s and DOWN at 1.5 s after Record; `at` runs the handler once, at the
// first pump after its time; Stop comes at 2 s.
class DuringRecording : public MainHandlersTest {
protected:
    void record(double at, std::function<void()> handler) {
        load();
        world.files.files["C:\\Games\\Tavrel\\TavrelXP.txt"] = "UP\r\nUP\r\n";
        const double start = world.clock.now;
        world.keys.timeline = [start](int key, double now) -> std::int16_t {
            double t = now - start;
            if (key == 37 && t >= 0.5 && t < 0.6) return 1;
            if (key == 40 && t >= 1.5 && t < 1.6) return 1;
            return 0;
        };
        bool done = false, stopped = false;
        world.events.onPump = [&, start, at](int) {
            double t = world.clock.now - start;
            if (!done && t >= at) {
                done = true;
                handler();
            }
            if (!stopped && t >= 2.0) {
                stopped = true;
                handlers.Command2_Click();
            }
        };
        handlers.Command1_Click();
    }
};

TEST_F(DuringRecording, LoadReplacesTheListAndRecordingGoesOnAppending) {
    record(1.0, [&] { handlers.BtnLoad_Click(); });
    EXPECT_EQ(world.list.entries, (std::vector<std::string>{"UP", "UP", "DOWN"}));
    EXPECT_EQ(world.logOnly({"message"}), (Log{"message 64 Recording halted."}));
}

TEST_F(DuringRecording, SaveWritesTheEntriesRecordedSoFar) {
    record(1.0, [&] { handlers.BtnSave_Click(); });
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.txt"), "LEFT\r\n");
    EXPECT_EQ(world.list.entries, (std::vector<std::string>{"LEFT", "DOWN"}));
}

TEST_F(DuringRecording, PlayRunsWholeInsideThePumpWhilePollingWaits) {
    record(1.0, [&] { handlers.Command3_Click(); });
    // DOWN went down and up again during the countdown, while the recording
    // waited in its pump: it is not recorded.
    EXPECT_EQ(world.list.entries, (std::vector<std::string>{"LEFT"}));
    EXPECT_EQ(world.logOnly({"message", "append", "send", "actions"}),
              (Log{"append LEFT", "actions off", "send {DOWN}", "send  ", "send {UP}", "sendwait ", "actions on",
                   "message 48 DONE!", "message 64 Recording halted."}));
}

TEST_F(DuringRecording, PreviewPausesTheLoopUntilItCloses) {
    record(1.0, [&] { handlers.BtnPreview_Click(); });
    EXPECT_EQ(world.logOnly({"preview", "append", "message"}),
              (Log{"append LEFT", "preview", "append DOWN", "message 64 Recording halted."}));
}

TEST_F(DuringRecording, ClosingEndsItWithTheSettingsWrittenAndNothingMore) {
    record(1.0, [&] {
        handlers.Form_Unload();
        world.ended = true;
    });
    EXPECT_EQ(world.files.files.at("C:\\Games\\Tavrel\\TavrelXP.vmi"), "0\r\n1\r\n1\r\n");
    EXPECT_EQ(world.list.entries, (std::vector<std::string>{"LEFT"}));
    EXPECT_TRUE(world.logOnly({"message"}).empty());
}

}  // namespace
}  // namespace tavrel
