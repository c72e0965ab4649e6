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

struct Case {
    const char* name;
    Entries start;
    std::vector<Op> ops;
    Entries entries;
    int selected;
    bool canUndo;
    bool canRedo;
};

TEST(PathModel, EditsSelectionAndHistory) {
    const Entries abc{"UP", "LEFT", "DOWN"};
    const Case cases[] = {
        {"insert before the selected", abc, {sel(1), ins("RIGHT")}, {"UP", "RIGHT", "LEFT", "DOWN"}, 1, true, false},
        {"insert with none selected goes last", abc, {ins("RIGHT")}, {"UP", "LEFT", "DOWN", "RIGHT"}, 3, true, false},
        {"insert into an empty list", {}, {ins("UP")}, {"UP"}, 0, true, false},
        {"delete selects the next", abc, {sel(1), del()}, {"UP", "DOWN"}, 1, true, false},
        {"delete of the last selects the new last", abc, {sel(2), del()}, {"UP", "LEFT"}, 1, true, false},
        {"delete of the only entry leaves none", {"UP"}, {sel(0), del()}, {}, -1, true, false},
        {"delete with none selected does nothing", abc, {del()}, abc, -1, true, false},
        {"insert undone", abc, {sel(1), ins("RIGHT"), undo()}, abc, 1, true, true},
        {"insert redone", abc, {sel(1), ins("RIGHT"), undo(), redo()}, {"UP", "RIGHT", "LEFT", "DOWN"}, 1, true,
         false},
        {"delete undone selects the entry back", abc, {sel(0), del(), undo()}, abc, 0, true, true},
        {"delete redone", abc, {sel(0), del(), undo(), redo()}, {"LEFT", "DOWN"}, 0, true, false},
        {"load undone brings the list back", abc, {load({"RIGHT"}), undo()}, abc, -1, true, true},
        {"load redone", abc, {load({"RIGHT"}), undo(), redo()}, {"RIGHT"}, -1, true, false},
        {"a whole recording is one step", abc, {record({"DOWN", "DOWN", "LEFT"}), undo()}, abc, -1, true, true},
        {"a recording redone", abc, {record({"DOWN", "LEFT"}), undo(), redo()}, {"DOWN", "LEFT"}, -1, true, false},
        {"nested steps are one", abc, {[](PathModel& p) {
                                         PathStep outer(p);
                                         record({"UP"})(p);
                                         p.append("DOWN");
                                     }, undo()},
         abc, -1, true, true},
        {"steps undone in reverse order", abc, {sel(0), del(), ins("RIGHT"), undo(), undo()}, abc, 0, true, true},
        {"a new change drops what was undone", abc, {sel(0), del(), undo(), ins("UP")},
         {"UP", "UP", "LEFT", "DOWN"}, 0, true, false},
        {"nothing to redo", abc, {redo()}, abc, -1, true, false},
        {"an unchanged list leaves no step", {}, {record({}), load({})}, {}, -1, false, false},
        {"selecting is no change", abc, {sel(2), sel(1)}, abc, 1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathModel path;
        path.assign(c.start);
        // The set-up is a step of its own (a Load), except for an empty start.
        for (const Op& op : c.ops) op(path);
        EXPECT_EQ(path.entries(), c.entries);
        EXPECT_EQ(path.selected(), c.selected);
        EXPECT_EQ(path.canUndo(), c.canUndo);
        EXPECT_EQ(path.canRedo(), c.canRedo);
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
