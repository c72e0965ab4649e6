// Playback's eyes on the dialog: checks the focus before the first key,
// then looks at the dialog after each key until it has a verdict, and says
// why when the key was not taken. What counts as taken is TakeRule's.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "core/take_rule.h"
#include "platform/dialog_watch.h"
#include "platform/services.h"

namespace tavrel {

// A key not seen taken within this long stops the playback.
inline constexpr double kTakeLimit = 2.0;
// Between two looks at the dialog while a key is on its way. The focus
// event wakes the loop sooner where the system raises it; the signal of
// drained input raises nothing, so it is looked for at this beat.
inline constexpr double kTakeBeat = 0.001;

class DialogFollower {
public:
    // Without a watch, nothing is ever watched and playback stays blind.
    DialogFollower(DialogWatch* watch, Services& services) : watch_(watch), services_(services) {}

    // For the window the first key goes to; false when it cannot be
    // watched (playback then goes blind).
    bool begin(WindowId target);
    // However the playback ended.
    void end();
    bool watching() const { return watching_; }
    // False when there is no watch at all (nothing to tell the user then).
    bool canWatch() const { return watch_ != nullptr; }

    // Before the first key: why nothing may be sent, or nothing when the
    // focus is fit. `resumeOn`: where the account says a stopped playback
    // left the focus.
    std::optional<std::string> refusal(std::optional<DialogControl> resumeOn);
    // During the countdown, nothing sent: what the start check would say if
    // the first key were due now, briefly, for the title; `unsettled`: Resume
    // must ask the dialog about a key first. Every read waits `seconds` at
    // most together; a window that does not answer within them is not
    // watched. The watch is ended again.
    std::string glance(WindowId window, std::optional<DialogControl> resumeOn, bool unsettled, double seconds);

    // Just before `key` goes out, and right after it went.
    void sending(Key key);
    void sent();
    bool pending() const { return pending_; }

    // One look at the pending key. `nextIsPress`: a press goes after it.
    // `atLimit`: the time allowed is over, so NotYet becomes a stop.
    struct Look {
        Verdict verdict = Verdict::NotYet;
        // Lost: the dialog shows it did not take the key; otherwise, at the
        // limit or with no evidence, nobody can tell yet.
        bool lost = false;
        // Why the playback stops here, when it does.
        std::string why;
    };
    Look look(bool nextIsPress, bool atLimit);
    // The pending key, as Resume must judge it again when no look could.
    const KeySent& pendingKey() const { return rule_.sent(); }
    // Where the dialog's focus was when it was last seen to take a key (or
    // before the first).
    DialogControl settledFocus() const { return settled_; }

    // Resume's look at a key no verdict was reached on, once the dialog has
    // answered and drained: true when it was taken, false when it was lost,
    // nothing when it still cannot be told.
    std::optional<bool> settle(const KeySent& key);

private:
    // What the start check finds wrong with the focus: refusal() and
    // glance() are two wordings of it.
    struct FocusFinding {
        enum class Kind { Fit, NotAButton, NotFirst, NotResumes } kind = Kind::Fit;
        DialogControl focus = 0;
        bool onButton = false;
        // The button the path needs the focus on: the group's first,
        // Resume's, or the first Tab reaches.
        DialogControl want = 0;
        // From a focus on no push button to `want`.
        TabWay tab;
    };
    FocusFinding checkFocus(std::optional<DialogControl> resumeOn);
    std::string tabAdvice(const FocusFinding& found, bool resume);
    std::string tabHint(const FocusFinding& found);

    DialogReading read(bool untilDrained);
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
    // settled_ was read right after the last key was taken.
    bool fresh_ = false;
    // A control's kind does not change: asked once, not at every look.
    std::map<DialogControl, DialogControlKind> kinds_;
};

}  // namespace tavrel
