// One account of a playback: where the dialog stands in the path by the keys
// it was seen to take, and the one key sent whose verdict is still out.
// Sending, every stop, the walk back after Esc and Resume all read their
// place from here.
#pragma once

#include <optional>
#include <span>

#include "core/key_strings.h"
#include "core/path_model.h"
#include "core/take_rule.h"

namespace tavrel {

// Where a stopped playback carries on.
struct ResumePoint {
    int entry = 0;
    // What the keys of that entry taken so far did to the dialog's focus.
    FocusShift shift;
    // Where the dialog's focus must be there; none when it was not watched.
    std::optional<DialogControl> focus;
    // A key sent there with no verdict: Resume asks the dialog before it
    // decides where to carry on.
    std::optional<KeySent> unsettled;
};

class PlaybackAccount {
public:
    explicit PlaybackAccount(const PathModel& list) : list_(list) {}

    // From the start of `entry`; `count`: the entries the playback plays.
    void begin(int entry, int count);
    // From a stopped playback's place.
    void resumeFrom(const ResumePoint& point, int count);

    int entry() const { return entry_; }
    bool done() const { return entry_ >= count_; }
    // The next key of the entry in progress; nothing when every key of it
    // was taken (or it has none), and the caller moves on.
    std::optional<Key> nextKey() const;
    void nextEntry();

    // A key went out: its verdict is pending until one of the three below.
    void sent(Key key) { pending_ = key; }
    bool pending() const { return pending_.has_value(); }
    // The key that goes after the pending one once it is taken, in this
    // entry or the next that has keys.
    std::optional<Key> following() const;
    // The dialog took it; `focusAfter`: where it left the focus, when watched.
    void taken(std::optional<DialogControl> focusAfter);
    // The dialog lost it; the focus stayed where it was.
    void notTaken(std::optional<DialogControl> focusBefore);
    // Nobody can tell yet: nothing goes after it before Resume asks again.
    void unsettled(const KeySent& key);
    const std::optional<KeySent>& unsettledKey() const { return unsettled_; }
    // Resume's verdict on it, from a fresh look at the dialog.
    void settle(bool taken, DialogControl focus);
    // The {UP}s that walk the focus back to the top of the entry after Esc,
    // from where the dialog is known to stand; none when that is not known.
    int upsBack() const { return unsettled_ ? 0 : shift_.below; }

    // Where the dialog's focus stands after the keys taken, when watched.
    std::optional<DialogControl> focus() const { return focus_; }

    // Where Resume would carry on; nothing when every entry was taken, or
    // when no start of the entry leaves the dialog as it is.
    std::optional<ResumePoint> resumePoint() const;

private:
    std::span<const Key> keys() const;

    const PathModel& list_;
    int entry_ = 0;
    int count_ = 0;
    FocusShift shift_;
    std::optional<Key> pending_;
    std::optional<DialogControl> focus_;
    std::optional<KeySent> unsettled_;
};

}  // namespace tavrel
