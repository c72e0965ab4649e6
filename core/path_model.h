// The path: its entries, the selected entry and the history of its changes.
// Views only show it; every change goes through here, so every change can
// be undone.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/path_view.h"
#include "core/keystroke_list.h"

namespace tavrel {

// Undo reaches back this many steps; older ones are forgotten.
inline constexpr std::size_t kUndoSteps = 100;

class PathModel final : public KeystrokeList {
public:
    // One view at a time; nullptr for none. The view shows what changes
    // from now on.
    void setView(PathView* view);
    // Called after every change of the entries, not of the selection.
    std::function<void()> onEntriesChanged;

    // KeystrokeList, as the recorder, the player and Load use it.
    void clear() override;
    bool append(const std::string& entry) override;
    int count() const override { return static_cast<int>(entries_.size()); }
    std::string entry(int index) const override { return entries_.at(static_cast<std::size_t>(index)); }
    void select(int index) override;
    std::size_t assign(const std::vector<std::string>& entries) override;

    const std::vector<std::string>& entries() const { return entries_; }
    // -1 when no entry is selected.
    int selected() const { return selected_; }

    // Puts `entry` before the selected entry, or last when none is, and
    // selects it; false when the list is full.
    bool insert(const std::string& entry);
    // Removes the selected entry and selects the one after it, or the new
    // last one; false when none is selected.
    bool eraseSelected();

    bool canUndo() const { return !done_.empty() && openSteps_ == 0; }
    bool canRedo() const { return !undone_.empty() && openSteps_ == 0; }
    void undo();
    void redo();

    // Every change between the two, nested or not, is undone as one step.
    void beginStep();
    void endStep();

private:
    // One undo step. A grouped step keeps the whole list before and after
    // it: simpler than replaying thousands of appends, and no larger.
    struct Change {
        enum class Kind { Insert, Erase, Replace } kind;
        int index = 0;
        std::string entry;                // Insert, Erase
        std::vector<std::string> before;  // Replace
        std::vector<std::string> after;   // Replace
    };

    void record(Change change);
    void replace(std::vector<std::string> entries);
    // Applies `change` forward (redo) or backward (undo) and shows it.
    void apply(const Change& change, bool forward);
    int clamped(int index) const;

    std::vector<std::string> entries_;
    int selected_ = -1;
    PathView* view_ = nullptr;
    std::deque<Change> done_;
    std::deque<Change> undone_;
    // The list as the outermost open step found it.
    std::vector<std::string> stepBefore_;
    int openSteps_ = 0;
};

// Opens one undo step for its lifetime, however the scope is left.
class PathStep {
public:
    explicit PathStep(PathModel& path) : path_(path) { path_.beginStep(); }
    ~PathStep() { path_.endStep(); }
    PathStep(const PathStep&) = delete;
    PathStep& operator=(const PathStep&) = delete;

private:
    PathModel& path_;
};

}  // namespace tavrel
