// Playback's eyes on the dialog: checks the focus before the first key,
// then holds each next piece back until the dialog has taken the last one,
// and says why when it did not. Only the verdicts' texts and the waiting live
// here; what counts as taken is TakeRule's.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/take_rule.h"
#include "platform/dialog_watch.h"
#include "platform/services.h"

namespace tavrel {

// A piece not seen taken within this long stops the playback.
inline constexpr double kTakeLimit = 2.0;
// Between two looks at the dialog while a piece is on its way. The focus
// event wakes the wait sooner where the system raises it; the signal of
// drained input raises nothing, so it is looked for at this beat.
inline constexpr double kTakeBeat = 0.001;

class DialogFollower {
public:
    // Without a watch, nothing is ever watched and playback stays blind.
    DialogFollower(DialogWatch* watch, Services& services) : watch_(watch), services_(services) {}

    // For the window the first piece goes to; false when it cannot be
    // watched (playback then goes blind).
    bool begin(WindowId target);
    // However the playback ended.
    void end();
    bool watching() const { return watching_; }
    // False when there is no watch at all (nothing to tell the user then).
    bool canWatch() const { return watch_ != nullptr; }

    // Before the first piece: why nothing may be sent, or nothing when the
    // focus is fit. `resumeOn`: where a stopped playback left the focus.
    std::optional<std::string> refusal(std::optional<DialogControl> resumeOn);

    // Just before `piece` goes out, and right after it went.
    void sending(std::string_view piece);
    void sent();
    bool pending() const { return pending_; }
    // The focus the pending piece started from.
    DialogControl pendingFrom() const { return rule_.before(); }

    // Why a playback stops at a piece; `taken`: the piece did its work, but
    // the dialog lost the keyboard focus with it.
    struct TakeStop {
        std::string reason;
        bool taken = false;
    };
    // Waits until the pending piece is taken, calling `pump` between looks
    // (it may throw to end the wait). Nothing when it was taken.
    // `next`: the piece that goes after it, if any.
    std::optional<TakeStop> awaitTaken(const std::function<void()>& pump, std::string_view next = {});
    // Where the dialog's focus was when it was last seen to take a piece
    // (or before the first): a dialog that lost the keyboard focus shows
    // none, and gets its own back when it is given the focus again.
    DialogControl settledFocus() const { return settled_; }

private:
    DialogReading look(bool untilDrained);
    DialogControlKind kindOf(DialogControl control);
    std::string named(DialogControl control);
    std::string wrongEffect(const DialogReading& now);

    DialogWatch* watch_;
    Services& services_;
    TakeRule rule_;
    WindowId target_ = 0;
    bool watching_ = false;
    bool pending_ = false;
    DialogControl settled_ = 0;
    // settled_ was read right after the last piece was taken.
    bool fresh_ = false;
    // The pending piece is an arrow: its focus shows its effect.
    bool walks_ = false;
    // A control's kind does not change: asked once, not at every look.
    std::map<DialogControl, DialogControlKind> kinds_;
};

}  // namespace tavrel
