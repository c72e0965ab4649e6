#include "core/path_model.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tavrel {

void PathModel::setView(PathView* view) { view_ = view; }

void PathModel::clear() { replace({}); }

std::size_t PathModel::assign(const std::vector<std::string>& entries) {
    const std::size_t taken = std::min(entries.size(), static_cast<std::size_t>(kListCapacity));
    replace(std::vector<std::string>(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(taken)));
    return taken;
}

bool PathModel::append(const std::string& entry) {
    if (count() >= kListCapacity) return false;
    entries_.push_back(entry);
    record({Change::Kind::Insert, count() - 1, entry, {}, {}});
    if (view_) view_->inserted(count() - 1, entry);
    if (onEntriesChanged) onEntriesChanged();
    return true;
}

void PathModel::select(int index) {
    selected_ = index;
    if (view_) view_->selected(index);
}

bool PathModel::insert(const std::string& entry) {
    if (count() >= kListCapacity) return false;
    const int at = selected_ >= 0 ? selected_ : count();
    entries_.insert(entries_.begin() + at, entry);
    record({Change::Kind::Insert, at, entry, {}, {}});
    if (view_) view_->inserted(at, entry);
    select(at);
    if (onEntriesChanged) onEntriesChanged();
    return true;
}

bool PathModel::eraseSelected() {
    if (selected_ < 0 || selected_ >= count()) return false;
    const int at = selected_;
    record({Change::Kind::Erase, at, entries_[static_cast<std::size_t>(at)], {}, {}});
    entries_.erase(entries_.begin() + at);
    if (view_) view_->erased(at);
    select(clamped(at));
    if (onEntriesChanged) onEntriesChanged();
    return true;
}

void PathModel::undo() {
    if (!canUndo()) return;
    apply(done_.back(), false);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
}

void PathModel::redo() {
    if (!canRedo()) return;
    apply(undone_.back(), true);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
}

void PathModel::beginStep() {
    if (openSteps_++ == 0) stepBefore_ = entries_;
}

void PathModel::endStep() {
    if (openSteps_ == 0 || --openSteps_ > 0) return;
    std::vector<std::string> before = std::exchange(stepBefore_, {});
    if (before != entries_) record({Change::Kind::Replace, 0, {}, std::move(before), entries_});
}

void PathModel::record(Change change) {
    // Inside a step the step's own snapshot says it all.
    if (openSteps_ > 0) return;
    undone_.clear();
    done_.push_back(std::move(change));
    if (done_.size() > kUndoSteps) done_.pop_front();
}

void PathModel::replace(std::vector<std::string> entries) {
    // The view first: when it cannot show the new list it throws and keeps
    // showing the old one, and nothing here has changed either.
    if (view_) view_->reset(entries);
    if (entries != entries_) record({Change::Kind::Replace, 0, {}, entries_, entries});
    entries_ = std::move(entries);
    selected_ = -1;
    if (onEntriesChanged) onEntriesChanged();
}

void PathModel::apply(const Change& change, bool forward) {
    using Kind = Change::Kind;
    std::vector<std::string> next = entries_;
    int target = -1;
    if (change.kind == Kind::Replace) {
        next = forward ? change.after : change.before;
    } else if ((change.kind == Kind::Insert) == forward) {
        // An insert redone, or an erase undone: the entry is back, selected.
        next.insert(next.begin() + change.index, change.entry);
        target = change.index;
    } else {
        next.erase(next.begin() + change.index);
        target = next.empty() ? -1 : std::min(change.index, static_cast<int>(next.size()) - 1);
    }
    if (view_) view_->reset(next);
    entries_ = std::move(next);
    selected_ = -1;
    select(target);
    if (onEntriesChanged) onEntriesChanged();
}

int PathModel::clamped(int index) const { return count() == 0 ? -1 : std::min(index, count() - 1); }

}  // namespace tavrel
