#include "core/path_model.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/direction.h"

namespace tavrel {

namespace {

// Appends the way back of `path` to `out`: its entries from last to first,
// each direction turned round.
void appendWayBackOf(const std::vector<std::string>& path, std::vector<std::string>& out) {
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const Direction* d = directionNamed(*it);
        out.push_back(d ? std::string(direction(d->opposite).name) : *it);
    }
}

}  // namespace

PathModel::PathModel() {
    // Undo and redo between them never hold more than kUndoSteps, and a new
    // step is trimmed just after it is kept.
    done_.reserve(kUndoSteps + 1);
    undone_.reserve(kUndoSteps + 1);
}

std::size_t PathModel::assign(std::vector<std::string> entries) {
    if (entries.size() > static_cast<std::size_t>(kListCapacity)) entries.resize(kListCapacity);
    const std::size_t taken = entries.size();
    replace(std::move(entries));
    return taken;
}

bool PathModel::append(const std::string& entry) {
    if (count() >= kListCapacity) return false;
    // Inside a step (a recording) the step's own list says it all.
    Change change{Change::Kind::Insert, count(), openSteps_ == 0 ? entry : std::string(), {}};
    putEntry(count(), entry);
    record(std::move(change));
    return true;
}

void PathModel::select(int index) {
    // The view may offer a row the path does not have.
    selected_ = index >= 0 && index < count() ? index : -1;
    if (view_) view_->selected(selected_);
}

bool PathModel::insert(const std::string& entry) {
    if (count() >= kListCapacity) return false;
    const bool before = selected_ >= 0;
    const int at = before ? selected_ : count();
    Change change{Change::Kind::Insert, at, entry, {}};
    putEntry(at, entry);
    record(std::move(change));
    if (before) select(at + 1);
    return true;
}

bool PathModel::eraseSelected() {
    if (selected_ < 0) return false;
    const int at = selected_;
    Change change{Change::Kind::Erase, at, entries_[static_cast<std::size_t>(at)], {}};
    takeEntry(at);
    record(std::move(change));
    select(clamped(at));
    return true;
}

void PathModel::reverse() {
    std::vector<std::string> back;
    back.reserve(entries_.size());
    appendWayBackOf(entries_, back);
    replace(std::move(back));
}

bool PathModel::appendWayBack() {
    if (!canAppendWayBack()) return false;
    std::vector<std::string> there;
    there.reserve(entries_.size() * 2);
    there = entries_;
    appendWayBackOf(entries_, there);
    replace(std::move(there));
    return true;
}

void PathModel::undo() {
    if (!canUndo()) return;
    apply(done_.back(), false);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    trimHistory();
}

void PathModel::redo() {
    if (!canRedo()) return;
    apply(undone_.back(), true);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    trimHistory();
}

void PathModel::beginStep() {
    if (openSteps_ == 0) stepBefore_ = entries_;
    ++openSteps_;
}

void PathModel::endStep() noexcept {
    if (openSteps_ == 0 || --openSteps_ > 0) return;
    std::vector<std::string> before = std::exchange(stepBefore_, {});
    if (before != entries_) record({Change::Kind::Replace, 0, {}, std::move(before)});
}

void PathModel::record(Change change) noexcept {
    // Inside a step the step's own snapshot says it all.
    if (openSteps_ > 0) return;
    for (const Change& gone : undone_) historyBytes_ -= bytesOf(gone);
    undone_.clear();
    historyBytes_ += bytesOf(change);
    done_.push_back(std::move(change));
    trimHistory();
}

void PathModel::replace(std::vector<std::string> entries) {
    // The view first: when it cannot show the new list it throws and keeps
    // showing the old one, and nothing here has changed either. Nothing
    // after it needs memory.
    if (view_) view_->changed({PathChange::Kind::Reset, 0, entries});
    if (openSteps_ == 0 && entries != entries_) {
        Change change{Change::Kind::Replace, 0, {}, std::move(entries_)};
        entries_ = std::move(entries);
        record(std::move(change));
    } else {
        entries_ = std::move(entries);
    }
    selected_ = -1;
    ++revision_;
}

void PathModel::apply(Change& change, bool forward) {
    using Kind = Change::Kind;
    if (change.kind == Kind::Replace) {
        if (view_) view_->changed({PathChange::Kind::Reset, 0, change.other});
        historyBytes_ -= bytesOf(change);
        entries_.swap(change.other);
        historyBytes_ += bytesOf(change);
        ++revision_;
        select(-1);
    } else if ((change.kind == Kind::Insert) == forward) {
        // An insert redone, or an erase undone: the entry is back, selected.
        putEntry(change.index, change.entry);
        select(change.index);
    } else {
        takeEntry(change.index);
        select(clamped(change.index));
    }
}

void PathModel::putEntry(int at, std::string entry) {
    entries_.insert(entries_.begin() + at, std::move(entry));
    try {
        tell(PathChange::Kind::Inserted, at);
    } catch (...) {
        entries_.erase(entries_.begin() + at);
        throw;
    }
}

std::string PathModel::takeEntry(int at) {
    std::string gone = std::move(entries_[static_cast<std::size_t>(at)]);
    entries_.erase(entries_.begin() + at);
    try {
        tell(PathChange::Kind::Erased, at);
    } catch (...) {
        // Within the capacity the entry left: no memory is needed.
        entries_.insert(entries_.begin() + at, std::move(gone));
        throw;
    }
    return gone;
}

void PathModel::tell(PathChange::Kind kind, int index) {
    if (view_) {
        std::span<const std::string> entries;
        if (kind == PathChange::Kind::Inserted) entries = {&entries_[static_cast<std::size_t>(index)], 1};
        view_->changed({kind, index, entries});
    }
    ++revision_;
}

void PathModel::trimHistory() noexcept {
    while (!done_.empty() && (done_.size() > kUndoSteps || (historyBytes_ > kUndoBytes && done_.size() > 1))) {
        historyBytes_ -= bytesOf(done_.front());
        done_.erase(done_.begin());
    }
}

std::size_t PathModel::bytesOf(const Change& change) const noexcept {
    std::size_t bytes = sizeof(Change) + change.entry.size();
    for (const std::string& e : change.other) bytes += sizeof(std::string) + e.size();
    return bytes;
}

int PathModel::clamped(int index) const { return count() == 0 ? -1 : std::min(index, count() - 1); }

}  // namespace tavrel
