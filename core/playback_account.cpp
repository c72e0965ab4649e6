#include "core/playback_account.h"

namespace tavrel {

namespace {

FocusShift after(FocusShift shift, Key key) {
    switch (key) {
        case Key::Down: ++shift.below; break;
        case Key::Up: --shift.below; break;
        case Key::Space: shift.pressed = true; break;
    }
    return shift;
}

}  // namespace

void PlaybackAccount::begin(int entry, int count) {
    entry_ = entry;
    count_ = count;
    shift_ = {};
    pending_.reset();
    focus_.reset();
    unsettled_.reset();
}

void PlaybackAccount::resumeFrom(const ResumePoint& point, int count) {
    begin(point.entry, count);
    shift_ = point.shift;
    focus_ = point.focus;
    unsettled_ = point.unsettled;
}

void PlaybackAccount::settle(bool taken, DialogControl focus) {
    if (!unsettled_) return;
    if (taken) shift_ = after(shift_, unsettled_->key);
    unsettled_.reset();
    focus_ = focus;
}

std::span<const Key> PlaybackAccount::keys() const {
    return entry_ < list_.count() ? keysFor(list_.entry(entry_)) : std::span<const Key>{};
}

std::optional<Key> PlaybackAccount::nextKey() const {
    if (done() || unsettled_) return std::nullopt;
    const std::span<const Key> all = keys();
    const std::optional<std::size_t> at = carryOnFrom(all, shift_);
    if (!at || *at >= all.size()) return std::nullopt;
    return all[*at];
}

std::optional<Key> PlaybackAccount::following() const {
    if (!pending_) return nextKey();
    const std::span<const Key> all = keys();
    const std::optional<std::size_t> at = carryOnFrom(all, after(shift_, *pending_));
    if (at && *at < all.size()) return all[*at];
    for (int e = entry_ + 1; e < count_ && e < list_.count(); ++e)
        if (const std::span<const Key> next = keysFor(list_.entry(e)); !next.empty()) return next.front();
    return std::nullopt;
}

void PlaybackAccount::nextEntry() {
    ++entry_;
    shift_ = {};
}

void PlaybackAccount::taken(std::optional<DialogControl> focusAfter) {
    if (!pending_) return;
    shift_ = after(shift_, *pending_);
    pending_.reset();
    focus_ = focusAfter;
}

void PlaybackAccount::notTaken(std::optional<DialogControl> focusBefore) {
    pending_.reset();
    focus_ = focusBefore;
}

void PlaybackAccount::unsettled(const KeySent& key) {
    pending_.reset();
    unsettled_ = key;
}

std::optional<ResumePoint> PlaybackAccount::resumePoint() const {
    ResumePoint point{entry_, shift_, focus_, unsettled_};
    if (unsettled_) return point;
    const std::span<const Key> all = keys();
    const std::optional<std::size_t> at = carryOnFrom(all, shift_);
    if (!at) return std::nullopt;
    // The entry was taken whole (the walk back can finish one): Resume
    // starts at the next.
    if (*at >= all.size()) point = ResumePoint{entry_ + 1, {}, focus_, {}};
    if (point.entry >= count_) return std::nullopt;
    return point;
}

}  // namespace tavrel
