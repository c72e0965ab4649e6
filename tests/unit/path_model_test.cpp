// The path model: edits, the selection after each, and undo and redo of
// every kind of change, on the plain model.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/path_model.h"

// Every allocation of the test program counts down here while a test has
// set it; the one that reaches zero fails as an exhausted heap would.
namespace {
thread_local long allocationsBeforeFailure = -1;
}  // namespace

void* operator new(std::size_t size) {
    if (allocationsBeforeFailure == 0) throw std::bad_alloc();
    if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Through a pointer the optimiser cannot see into: inlined, a new paired with
// free() looks like a mismatch to it.
void (*volatile releaseMemory)(void*) = std::free;
void operator delete(void* p) noexcept { releaseMemory(p); }
void operator delete(void* p, std::size_t) noexcept { releaseMemory(p); }

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
Op rev() { return [](PathModel& p) { p.reverse(); }; }
Op wayBack() { return [](PathModel& p) { p.appendWayBack(); }; }
// A recording: one step that clears the list and appends every entry.
Op record(Entries e) {
    return [e](PathModel& p) {
        PathStep step(p);
        p.clear();
        for (const auto& x : e) p.append(x);
    };
}

// A list box in miniature: it shows what it is told, moves its selection as
// a list box does, and can fail to show one kind of change. Its log holds
// what it showed, but the selection: "insert 1 RIGHT", "erase 0", "reset 3"
// (a whole new list of three).
struct Shown final : PathView {
    Entries entries;
    int selection = -1;
    std::optional<PathChange::Kind> failOn;
    Entries log;
    void changed(const PathChange& c) override {
        if (failOn == c.kind) throw std::bad_alloc();
        log.push_back(c.kind == PathChange::Kind::Reset      ? "reset " + std::to_string(c.entries.size())
                      : c.kind == PathChange::Kind::Inserted ? "insert " + std::to_string(c.index) + " " + c.entries[0]
                                                             : "erase " + std::to_string(c.index));
        try {
            show(c);
        } catch (...) {
            log.pop_back();
            throw;
        }
    }
    void show(const PathChange& c) {
        switch (c.kind) {
            case PathChange::Kind::Reset:
                entries.assign(c.entries.begin(), c.entries.end());
                selection = -1;
                break;
            case PathChange::Kind::Inserted:
                entries.insert(entries.begin() + c.index, c.entries[0]);
                if (selection >= c.index) ++selection;
                break;
            case PathChange::Kind::Erased:
                entries.erase(entries.begin() + c.index);
                selection = selection == c.index ? -1 : selection - (selection > c.index);
                break;
        }
    }
    void selected(int index) override { selection = index; }
} shown;

// `op` with the view unable to show a change of `kind`; the failure is
// swallowed as the window's command dispatcher would report it.
Op failing(PathChange::Kind kind, Op op) {
    return [kind, op](PathModel& p) {
        shown.failOn = kind;
        EXPECT_THROW(op(p), std::bad_alloc);
        shown.failOn.reset();
    };
}

// `op` tried with its first allocation failing, then its second, and so on
// until it succeeds: each failure must leave the path and the view as they were.
Op everyAllocationFailing(Op op) {
    return [op](PathModel& p) {
        for (long k = 0;; ++k) {
            const Entries before = p.entries();
            const int selected = p.selected();
            const bool undo = p.canUndo(), redo = p.canRedo();
            allocationsBeforeFailure = k;
            try {
                op(p);
                allocationsBeforeFailure = -1;
                return;
            } catch (const std::bad_alloc&) {
                allocationsBeforeFailure = -1;
            }
            SCOPED_TRACE("allocation " + std::to_string(k) + " failed");
            EXPECT_EQ(p.entries(), before);
            EXPECT_EQ(p.selected(), selected);
            EXPECT_EQ(p.canUndo(), undo);
            EXPECT_EQ(p.canRedo(), redo);
            EXPECT_EQ(shown.entries, before);
        }
    };
}

struct Case {
    const char* name;
    Entries start;
    std::vector<Op> ops;
    Entries entries;
    int selected;
    // How many undos the history then holds, the set-up's Load counted.
    int undoSteps;
    bool canRedo;
    // What the view showed.
    Entries view;
};

TEST(PathModel, EditsSelectionAndHistory) {
    const Entries abc{"UP", "LEFT", "DOWN"};
    const std::string kLong = "a text of more than sixteen characters";
    using enum PathChange::Kind;
    const Case cases[] = {
        {"insert before the selected", abc, {sel(1), ins("RIGHT")}, {"UP", "RIGHT", "LEFT", "DOWN"}, 2, 2, false,
         {"insert 1 RIGHT"}},
        {"insert with none selected goes last", abc, {ins("RIGHT")}, {"UP", "LEFT", "DOWN", "RIGHT"}, -1, 2, false,
         {"insert 3 RIGHT"}},
        {"insert into an empty list", {}, {ins("UP")}, {"UP"}, -1, 1, false, {"insert 0 UP"}},
        {"inserts in a row keep their order", abc, {sel(2), ins("RIGHT"), ins("UP")},
         {"UP", "LEFT", "RIGHT", "UP", "DOWN"}, 4, 3, false, {"insert 2 RIGHT", "insert 3 UP"}},
        {"inserts in a row at the end keep their order", abc, {ins("RIGHT"), ins("UP")},
         {"UP", "LEFT", "DOWN", "RIGHT", "UP"}, -1, 3, false, {"insert 3 RIGHT", "insert 4 UP"}},
        {"delete selects the next", abc, {sel(1), del()}, {"UP", "DOWN"}, 1, 2, false, {"erase 1"}},
        {"delete of the last selects the new last", abc, {sel(2), del()}, {"UP", "LEFT"}, 1, 2, false, {"erase 2"}},
        {"delete of the only entry leaves none", {"UP"}, {sel(0), del()}, {}, -1, 2, false, {"erase 0"}},
        {"delete with none selected does nothing", abc, {del()}, abc, -1, 1, false, {}},
        // An insert or a delete undone or redone touches one line.
        {"insert undone", abc, {sel(1), ins("RIGHT"), undo()}, abc, 1, 1, true, {"insert 1 RIGHT", "erase 1"}},
        {"insert redone", abc, {sel(1), ins("RIGHT"), undo(), redo()}, {"UP", "RIGHT", "LEFT", "DOWN"}, 1, 2, false,
         {"insert 1 RIGHT", "erase 1", "insert 1 RIGHT"}},
        {"delete undone selects the entry back", abc, {sel(0), del(), undo()}, abc, 0, 1, true,
         {"erase 0", "insert 0 UP"}},
        {"delete redone", abc, {sel(0), del(), undo(), redo()}, {"LEFT", "DOWN"}, 0, 2, false,
         {"erase 0", "insert 0 UP", "erase 0"}},
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
         {"erase 0", "insert 0 RIGHT", "erase 0", "insert 0 UP"}},
        {"a new change drops what was undone", abc, {sel(0), del(), undo(), ins("UP")},
         {"UP", "UP", "LEFT", "DOWN"}, 1, 2, false, {"erase 0", "insert 0 UP", "insert 0 UP"}},
        {"nothing to redo", abc, {redo()}, abc, -1, 1, false, {}},
        {"an unchanged list leaves no step", {}, {record({}), load({})}, {}, -1, 0, false, {"reset 0", "reset 0"}},
        {"selecting is no change", abc, {sel(2), sel(1)}, abc, 1, 1, false, {}},
        {"a row the path does not have selects none", abc, {sel(1), sel(3), ins("RIGHT")},
         {"UP", "LEFT", "DOWN", "RIGHT"}, -1, 2, false, {"insert 3 RIGHT"}},
        {"reverse walks the path back", {"UP", "LEFT", "DOWN", "up"}, {sel(1), rev()},
         {"up", "UP", "RIGHT", "DOWN"}, -1, 2, false, {"reset 4"}},
        {"reverse undone", abc, {rev(), undo()}, abc, -1, 1, true, {"reset 3", "reset 3"}},
        {"way back appended", abc, {wayBack()}, {"UP", "LEFT", "DOWN", "UP", "RIGHT", "DOWN"}, -1, 2, false,
         {"reset 6"}},
        {"way back undone and redone", abc, {wayBack(), undo(), redo()},
         {"UP", "LEFT", "DOWN", "UP", "RIGHT", "DOWN"}, -1, 2, false, {"reset 6", "reset 3", "reset 6"}},
        {"no way back of nothing", {}, {wayBack(), rev()}, {}, -1, 0, false, {"reset 0"}},
        // A change that fails leaves the path, its history and the view as they were.
        {"a Load the view cannot show", abc, {sel(1), failing(Reset, load({"RIGHT"}))}, abc, 1, 1, false, {}},
        {"an insert the view cannot show leaves no step", abc, {sel(1), failing(Inserted, ins("RIGHT")), undo()},
         {}, -1, 0, true, {"reset 0"}},
        {"a delete the view cannot show", abc, {sel(0), failing(Erased, del())}, abc, 0, 1, false, {}},
        {"an undo the view cannot show stays to undo", abc, {sel(0), del(), failing(Inserted, undo())},
         {"LEFT", "DOWN"}, 0, 2, false, {"erase 0"}},
        {"a reverse the view cannot show", abc, {failing(Reset, rev()), undo()}, {}, -1, 0, true, {"reset 0"}},
        // And so does a copy that fails, whichever it is; the history then
        // holds exactly the change that succeeded. Texts too long to be held
        // inside a string need memory of their own.
        {"an insert out of memory", abc, {sel(1), everyAllocationFailing(ins(kLong)), undo(), undo()}, {}, -1, 0,
         true, {"insert 1 " + kLong, "erase 1", "reset 0"}},
        {"a delete out of memory", abc, {sel(0), everyAllocationFailing(del()), undo()}, abc, 0, 1, true,
         {"erase 0", "insert 0 UP"}},
        {"a Load out of memory", abc, {everyAllocationFailing(load({kLong, "LEFT"})), undo()}, abc, -1, 1, true,
         {"reset 2", "reset 3"}},
        {"an undo out of memory", abc, {sel(0), del(), everyAllocationFailing(undo())}, abc, 0, 1, true,
         {"erase 0", "insert 0 UP"}},
        {"a way back out of memory", abc, {everyAllocationFailing(wayBack()), undo()}, abc, -1, 1, true,
         {"reset 6", "reset 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathModel path;
        // The set-up is a step of its own (a Load), except for an empty start.
        path.assign(c.start);
        shown.entries = c.start;
        shown.selection = -1;
        shown.log.clear();
        path.setView(&shown);
        for (const Op& op : c.ops) op(path);
        EXPECT_EQ(shown.entries, path.entries());
        EXPECT_EQ(shown.selection, path.selected());
        EXPECT_EQ(path.entries(), c.entries);
        EXPECT_EQ(path.selected(), c.selected);
        EXPECT_EQ(path.canUndo(), c.undoSteps > 0);
        EXPECT_EQ(path.canRedo(), c.canRedo);
        EXPECT_EQ(shown.log, c.view);
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

TEST(PathModel, HistoryOfLargeListsIsCappedBySize) {
    // Twice as many Loads of a full list as kUndoBytes can keep, and fewer
    // than kUndoSteps.
    const int loads = static_cast<int>(2 * kUndoBytes / (kListCapacity * sizeof(std::string)));
    ASSERT_LT(loads, static_cast<int>(kUndoSteps));
    PathModel path;
    for (int i = 0; i < loads; ++i) path.assign(Entries(static_cast<std::size_t>(kListCapacity), std::to_string(i)));
    int undone = 0;
    while (path.canUndo()) {
        path.undo();
        ++undone;
    }
    EXPECT_GT(undone, 1);
    ASSERT_LT(undone, loads);
    EXPECT_EQ(path.entry(0), std::to_string(loads - 1 - undone));
}

TEST(PathModel, NoUndoWhileAStepIsOpenAndEveryChangeIsReported) {
    PathModel path;
    const auto start = path.revision();
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
    EXPECT_EQ(path.revision() - start, 6u);
}

TEST(PathModel, FullListTakesNoInsert) {
    PathModel path;
    path.assign(Entries(static_cast<std::size_t>(kListCapacity) + 5, "UP"));
    EXPECT_EQ(path.count(), kListCapacity);
    EXPECT_FALSE(path.insert("DOWN"));
    EXPECT_FALSE(path.append("DOWN"));
    EXPECT_FALSE(path.appendWayBack());
    EXPECT_EQ(path.count(), kListCapacity);
}

}  // namespace
}  // namespace tavrel
