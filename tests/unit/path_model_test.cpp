// The path model: edits, the selection after each, and undo and redo of
// every kind of change, on the plain model.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/path_model.h"

namespace tavrel {
namespace {

using Entries = std::vector<std::string>;
using Op = std::function<void(PathModel&)>;

Op sel(int i) { return [i](PathModel& p) { p.select(i); }; }
Op ins(std::string e) { return [e](PathModel& p) { p.insert(e); }; }
Op del() { return [](PathModel& p) { p.eraseSelected(); }; }
Op undo() { return [](PathModel& p) { p.undo(); }; }
Op redo() { return [](PathModel& p) { p.redo(); }; }
Op load(Entries e) { return [e](PathModel& p) { p.assign(e); }; }
// A recording: one step that clears the list and appends every entry.
Op record(Entries e) {
    return [e](PathModel& p) {
        PathStep step(p);
        p.clear();
        for (const auto& x : e) p.append(x);
    };
}

// What a view is told, but the selection: "insert 1 RIGHT", "erase 0",
// "reset 3" (a whole new list of three).
struct LoggingView final : PathView {
    void reset(const std::vector<std::string>& entries) override {
        log.push_back("reset " + std::to_string(entries.size()));
    }
    void inserted(int index, const std::string& entry) override {
        log.push_back("insert " + std::to_string(index) + " " + entry);
    }
    void erased(int index) override { log.push_back("erase " + std::to_string(index)); }
    void selected(int) override {}
    Entries log;
};

struct Case {
    const char* name;
    Entries start;
    std::vector<Op> ops;
    Entries entries;
    int selected;
    // How many undos the history then holds, the set-up's Load counted.
    int undoSteps;
    bool canRedo;
    Entries view;
};

TEST(PathModel, EditsSelectionAndHistory) {
    const Entries abc{"UP", "LEFT", "DOWN"};
    const Case cases[] = {
        {"insert before the selected", abc, {sel(1), ins("RIGHT")}, {"UP", "RIGHT", "LEFT", "DOWN"}, 1, 2, false,
         {"insert 1 RIGHT"}},
        {"insert with none selected goes last", abc, {ins("RIGHT")}, {"UP", "LEFT", "DOWN", "RIGHT"}, 3, 2, false,
         {"insert 3 RIGHT"}},
        {"insert into an empty list", {}, {ins("UP")}, {"UP"}, 0, 1, false, {"insert 0 UP"}},
        {"delete selects the next", abc, {sel(1), del()}, {"UP", "DOWN"}, 1, 2, false, {"erase 1"}},
        {"delete of the last selects the new last", abc, {sel(2), del()}, {"UP", "LEFT"}, 1, 2, false, {"erase 2"}},
        {"delete of the only entry leaves none", {"UP"}, {sel(0), del()}, {}, -1, 2, false, {"erase 0"}},
        {"delete with none selected does nothing", abc, {del()}, abc, -1, 1, false, {}},
        {"insert undone", abc, {sel(1), ins("RIGHT"), undo()}, abc, 1, 1, true, {"insert 1 RIGHT", "reset 3"}},
        {"insert redone", abc, {sel(1), ins("RIGHT"), undo(), redo()}, {"UP", "RIGHT", "LEFT", "DOWN"}, 1, 2, false,
         {"insert 1 RIGHT", "reset 3", "reset 4"}},
        {"delete undone selects the entry back", abc, {sel(0), del(), undo()}, abc, 0, 1, true, {"erase 0", "reset 3"}},
        {"delete redone", abc, {sel(0), del(), undo(), redo()}, {"LEFT", "DOWN"}, 0, 2, false,
         {"erase 0", "reset 3", "reset 2"}},
        {"load undone brings the list back", abc, {load({"RIGHT"}), undo()}, abc, -1, 1, true, {"reset 1", "reset 3"}},
        {"load redone", abc, {load({"RIGHT"}), undo(), redo()}, {"RIGHT"}, -1, 2, false,
         {"reset 1", "reset 3", "reset 1"}},
        {"a whole recording is one step", abc, {record({"DOWN", "DOWN", "LEFT"}), undo()}, abc, -1, 1, true,
         {"reset 0", "insert 0 DOWN", "insert 1 DOWN", "insert 2 LEFT", "reset 3"}},
        {"a recording redone", abc, {record({"DOWN", "LEFT"}), undo(), redo()}, {"DOWN", "LEFT"}, -1, 2, false,
         {"reset 0", "insert 0 DOWN", "insert 1 LEFT", "reset 3", "reset 2"}},
        {"nested steps are one", abc, {[](PathModel& p) {
                                         PathStep outer(p);
                                         record({"UP"})(p);
                                         p.append("DOWN");
                                     }, undo()},
         abc, -1, 1, true, {"reset 0", "insert 0 UP", "insert 1 DOWN", "reset 3"}},
        {"steps undone in reverse order", abc, {sel(0), del(), ins("RIGHT"), undo(), undo()}, abc, 0, 1, true,
         {"erase 0", "insert 0 RIGHT", "reset 2", "reset 3"}},
        {"a new change drops what was undone", abc, {sel(0), del(), undo(), ins("UP")},
         {"UP", "UP", "LEFT", "DOWN"}, 0, 2, false, {"erase 0", "reset 3", "insert 0 UP"}},
        {"nothing to redo", abc, {redo()}, abc, -1, 1, false, {}},
        {"an unchanged list leaves no step", {}, {record({}), load({})}, {}, -1, 0, false, {"reset 0", "reset 0"}},
        {"selecting is no change", abc, {sel(2), sel(1)}, abc, 1, 1, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathModel path;
        path.assign(c.start);
        // The set-up is a step of its own (a Load), except for an empty start.
        LoggingView view;
        path.setView(&view);
        for (const Op& op : c.ops) op(path);
        EXPECT_EQ(path.entries(), c.entries);
        EXPECT_EQ(path.selected(), c.selected);
        EXPECT_EQ(path.canUndo(), c.undoSteps > 0);
        EXPECT_EQ(path.canRedo(), c.canRedo);
        EXPECT_EQ(view.log, c.view);
        int undone = 0;
        for (; path.canUndo() && undone <= static_cast<int>(kUndoSteps); ++undone) path.undo();
        EXPECT_EQ(undone, c.undoSteps);
    }
}

TEST(PathModel, HistoryKeepsTheLastHundredSteps) {
    PathModel path;
    for (int i = 0; i < 150; ++i) path.append(std::to_string(i));
    int undone = 0;
    while (path.canUndo()) {
        path.undo();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(kUndoSteps));
    EXPECT_EQ(path.count(), 50);
    EXPECT_EQ(path.entries().back(), "49");
}

TEST(PathModel, NoUndoWhileAStepIsOpenAndEveryChangeIsReported) {
    PathModel path;
    int changes = 0;
    path.onEntriesChanged = [&] { ++changes; };
    path.append("UP");
    path.beginStep();
    path.append("DOWN");
    EXPECT_FALSE(path.canUndo());
    path.undo();
    EXPECT_EQ(path.count(), 2);
    path.endStep();
    EXPECT_TRUE(path.canUndo());
    path.undo();
    EXPECT_EQ(path.entries(), Entries{"UP"}) << "the step was not undone whole";
    path.redo();
    path.select(0);
    path.eraseSelected();
    path.insert("LEFT");
    EXPECT_EQ(changes, 6);
}

TEST(PathModel, FullListTakesNoInsert) {
    PathModel path;
    path.assign(Entries(static_cast<std::size_t>(kListCapacity) + 5, "UP"));
    EXPECT_EQ(path.count(), kListCapacity);
    EXPECT_FALSE(path.insert("DOWN"));
    EXPECT_FALSE(path.append("DOWN"));
    EXPECT_EQ(path.count(), kListCapacity);
}

}  // namespace
}  // namespace tavrel
