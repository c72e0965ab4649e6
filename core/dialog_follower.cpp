#include "core/dialog_follower.h"

#include "core/key_strings.h"

namespace tavrel {

bool DialogFollower::begin(WindowId target) {
    target_ = target;
    pending_ = false;
    settled_ = 0;
    fresh_ = false;
    kinds_.clear();
    rule_.reset();
    watching_ = watch_ != nullptr && watch_->begin(target);
    return watching_;
}

void DialogFollower::end() {
    if (watch_ != nullptr && target_ != 0) watch_->end();
    target_ = 0;
    watching_ = false;
    pending_ = false;
}

std::string DialogFollower::named(DialogControl control) {
    const std::string caption = control == 0 ? std::string() : watch_->caption(control);
    if (!caption.empty()) return "\"" + caption + "\"";
    switch (watch_->kind(control)) {
        case DialogControlKind::None: return "no control";
        case DialogControlKind::List: return "its list";
        case DialogControlKind::TextBox: return "its text box";
        case DialogControlKind::PushButton: return "a button without a caption";
        case DialogControlKind::Other: return "a control without a caption";
    }
    return "a control without a caption";
}

std::optional<std::string> DialogFollower::refusal(std::optional<DialogControl> resumeOn) {
    if (!watching_) return std::nullopt;
    const DialogControl focus = watch_->focus();
    settled_ = focus;
    if (resumeOn) {
        if (focus == *resumeOn) return std::nullopt;
        return "Nothing was sent: Resume needs the dialog's focus on " + named(*resumeOn) +
               ", where the playback stopped; it is on " + named(focus) + ".";
    }
    // Any other control would take the arrows as its own: a list moves its
    // selection, a text box its caret, and the spaces press nothing.
    if (kindOf(focus) != DialogControlKind::PushButton)
        return "Nothing was sent: the dialog's focus is on " + named(focus) + ", not on its first button.";
    const DialogControl first = watch_->groupFirst(focus);
    if (first != 0 && first != focus)
        return "Nothing was sent: the dialog's focus is on " + named(focus) + ", not on its first button " +
               named(first) + ". Give the dialog the focus by its title bar, not by a button.";
    return std::nullopt;
}

void DialogFollower::sending(std::string_view piece) {
    if (!watching_) return;
    // Just seen where the last piece left it: no need to ask again.
    rule_.sending(piece, fresh_ ? settled_ : watch_->focus());
    fresh_ = false;
    walks_ = piece == kDownPiece || piece == kUpPiece;
}

void DialogFollower::sent() {
    if (!watching_) return;
    pending_ = true;
    // Asked for at once, even after an arrow that may not need it: asked
    // for only when a verdict needed it, the dialog's paint came after the
    // mode's wait instead of during it ("Surpressed", 1,000 entries: 74 s
    // against 55 s blind, Wine 8).
    watch_->markInput();
}

DialogControlKind DialogFollower::kindOf(DialogControl control) {
    const auto known = kinds_.find(control);
    if (known != kinds_.end()) return known->second;
    return kinds_[control] = watch_->kind(control);
}

DialogReading DialogFollower::look(bool untilDrained) {
    DialogReading now;
    now.focus = watch_->focus();
    now.kind = kindOf(now.focus);
    now.drained = untilDrained && watch_->drained() == InputDrained::Yes;
    now.foreground = services_.focus.foreground() == target_;
    return now;
}

std::string DialogFollower::wrongEffect(const DialogReading& now) {
    DialogControl want = rule_.expected();
    // Nothing learned yet: the dialog manager's next button is the likeliest
    // meaning of a down-arrow, and the message needs a name.
    if (want == 0) want = watch_->groupNext(rule_.before());
    return "the dialog's focus went to " + named(now.focus) + " instead of " + named(want) + ".";
}

std::optional<DialogFollower::TakeStop> DialogFollower::awaitTaken(const std::function<void()>& pump,
                                                                   std::string_view next) {
    if (!watching_ || !pending_) return std::nullopt;
    const WaitingLoop waiting(services_.events);
    const double start = services_.clock.seconds();
    for (;;) {
        const bool untilDrained = !walks_ || next == kSpacePiece;
        const DialogReading now = look(untilDrained);
        // A dialog that lost the keyboard focus shows none: the focus guard's
        // stop, before the next piece, as it always was.
        const Verdict verdict = now.foreground ? rule_.judge(now, untilDrained) : Verdict::LeftForeground;
        switch (verdict) {
            case Verdict::Taken:
                pending_ = false;
                settled_ = now.focus;
                fresh_ = true;
                return std::nullopt;
            case Verdict::WrongEffect: pending_ = false; return TakeStop{wrongEffect(now)};
            case Verdict::LeftForeground: {
                // Its focus cannot be read now. The focus guard's stop counts
                // the piece as taken, so Resume asks for the focus where the
                // piece leaves it; if it was lost, Resume refuses, and
                // nothing is pressed wrongly.
                DialogControl after = rule_.expected();
                if (after == 0 && rule_.walksDown()) after = watch_->groupNext(rule_.before());
                if (after != 0) settled_ = after;
                pending_ = false;
                return TakeStop{"the window receiving the keys lost the focus.", true};
            }
            case Verdict::NotYet: break;
        }
        const double at = services_.clock.seconds();
        if (at - start >= kTakeLimit) {
            pending_ = false;
            return TakeStop{watch_->answers() ? "the dialog did not take a key."
                                              : "the receiving window stopped responding."};
        }
        pump();
        services_.events.waitForInput(services_.clock.seconds() + kTakeBeat);
    }
}

}  // namespace tavrel
