// The path: its entries, the selected entry and the history of its changes.
// Views only show it; every change goes through here, so every change can
// be undone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/path_view.h"

namespace tavrel {

// Signed 16-bit count and indexes: at most 32,767 entries.
inline constexpr int kListCapacity = 32767;

// Undo reaches back this many steps; older ones are forgotten.
inline constexpr std::size_t kUndoSteps = 100;
// ... and no further than the steps that fit in this many bytes of stored
// entries. A full list of "RIGHT"s takes about 0.95 MB in the 32-bit
// program (24 bytes a string and its text), so about 35 such steps fit.
inline constexpr std::size_t kUndoBytes = 32u * 1024u * 1024u;

// Every change fails as a whole: when a copy it needs cannot be made, or the
// view cannot show it, it throws std::bad_alloc and the path, its history and
// the view are as they were.
class PathModel final {
public:
    PathModel();
    // A copy would not have the history's room reserved.
    PathModel(const PathModel&) = delete;
    PathModel& operator=(const PathModel&) = delete;

    // One view at a time; nullptr for none. The view shows what changes
    // from now on.
    void setView(PathView* view) { view_ = view; }

    // As the recorder, the player and Load use the list.
    void clear() { replace({}); }
    // Adds `entry` as the new last entry; false when the list is full.
    bool append(const std::string& entry);
    int count() const { return static_cast<int>(entries_.size()); }
    // The text of entry `index`, 0 <= index < count().
    const std::string& entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
    // An index outside the list selects none.
    void select(int index);
    // Replaces the whole list; returns how many entries were taken before
    // the list was full. Moved in, a loaded list is never copied.
    std::size_t assign(std::vector<std::string> entries);

    const std::vector<std::string>& entries() const { return entries_; }
    // -1 when no entry is selected.
    int selected() const { return selected_; }
    // Grows with every change of the entries, so a reader can tell whether
    // the list is still the one it saw.
    std::uint64_t revision() const { return revision_; }

    // Puts `entry` before the selected entry, or last when none is. The
    // selection stays on the entry it went before, so inserts in a row keep
    // their order. False when the list is full.
    bool insert(const std::string& entry);
    // Removes the selected entry and selects the one after it, or the new
    // last one; false when none is selected.
    bool eraseSelected();

    // The path walked back: the entries in reverse order, each direction
    // turned to its opposite (any other text stays as it is).
    void reverse();
    // The path followed by its way back; false when the list could not hold
    // both.
    bool appendWayBack();
    bool canAppendWayBack() const { return !entries_.empty() && entries_.size() <= kListCapacity / 2; }

    bool canUndo() const { return !done_.empty() && openSteps_ == 0; }
    bool canRedo() const { return !undone_.empty() && openSteps_ == 0; }
    void undo();
    void redo();

    // Every change between the two, nested or not, is undone as one step.
    void beginStep();
    // Never throws: when the step cannot be kept, the history is dropped.
    void endStep() noexcept;

private:
    // One undo step. Both histories have room for every step from the
    // start, so keeping a step never needs memory once its change is made.
    struct Change {
        enum class Kind { Insert, Erase, Replace } kind;
        int index = 0;
        std::string entry;  // Insert, Erase
        // Replace: the list on the other side of the step. Undo and redo
        // swap it with the path's own, so a step keeps one list, not two.
        std::vector<std::string> other;
    };

    void record(Change change) noexcept;
    void replace(std::vector<std::string> entries);
    // Applies `change` forward (redo) or backward (undo) and shows it.
    void apply(Change& change, bool forward);
    void putEntry(int at, std::string entry);
    std::string takeEntry(int at);
    void tell(PathChange::Kind kind, int index);
    void trimHistory() noexcept;
    std::size_t bytesOf(const Change& change) const noexcept;
    int clamped(int index) const;

    std::vector<std::string> entries_;
    int selected_ = -1;
    std::uint64_t revision_ = 0;
    PathView* view_ = nullptr;
    std::vector<Change> done_;
    std::vector<Change> undone_;
    std::size_t historyBytes_ = 0;
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
