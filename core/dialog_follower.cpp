#include "core/dialog_follower.h"

namespace tavrel {

bool DialogFollower::begin(WindowId target) {
    target_ = target;
    pending_ = false;
    settled_ = 0;
    fresh_ = false;
    kinds_.clear();
    rule_.reset();
    watching_ = watch_ != nullptr && watch_->begin(target);
    if (watching_) rule_.startLines(watch_->listCount());
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
    switch (kindOf(control)) {
        case DialogControlKind::None: return "no control";
        case DialogControlKind::List: return "its list";
        case DialogControlKind::TextBox: return "its text box";
        case DialogControlKind::PushButton: return "a button without a caption";
        case DialogControlKind::Other: return "a control without a caption";
    }
    return "a control without a caption";
}

void DialogFollower::sending(Key key) {
    if (!watching_) return;
    // Just seen where the last key left it: no need to ask again.
    rule_.sending(key, fresh_ ? settled_ : watch_->focus());
    fresh_ = false;
}

void DialogFollower::sent() {
    if (!watching_) return;
    pending_ = true;
    // Asked for at once, even after an arrow that may not need it: asked
    // for only when a verdict needed it, the dialog's paint came after the
    // mode's wait instead of during it ("Surpressed", 1,000 entries: 74 s
    // against 55 s blind, Wine 8).
    services_.drain.mark(target_);
}

DialogControlKind DialogFollower::kindOf(DialogControl control) {
    const auto known = kinds_.find(control);
    if (known != kinds_.end()) return known->second;
    return kinds_[control] = watch_->kind(control);
}

DialogReading DialogFollower::read(bool untilDrained) {
    DialogReading now;
    now.foreground = services_.focus.foreground() == target_;
    now.focus = watch_->focus();
    now.kind = kindOf(now.focus);
    now.drained = untilDrained && services_.drain.drained() == InputDrained::Yes;
    if (now.drained && rule_.needsLines()) now.lines = watch_->listCount();
    return now;
}

std::string DialogFollower::wrongEffect(const DialogReading& now) {
    DialogControl want = rule_.sent().expected;
    // Nothing learned yet: the dialog manager's next button is the likeliest
    // meaning of a down-arrow, and the message needs a name.
    if (want == 0) want = watch_->groupNext(rule_.sent().before);
    return "the dialog's focus went to " + named(now.focus) + " instead of " + named(want) + ".";
}

DialogFollower::Look DialogFollower::look(bool nextIsPress, bool atLimit) {
    const bool press = rule_.sent().key == Key::Space;
    Look out;
    // Most looks find the key still on its way: the one reading that shows
    // it decides, before the others cost their calls to the system. An arrow
    // shows in the focus (none at all when the dialog lost the keyboard
    // focus), a press only once the input drained.
    if (!atLimit && (press ? services_.drain.drained() != InputDrained::Yes
                           : watch_->focus() == rule_.sent().before))
        return out;
    const DialogReading now = read(press || nextIsPress || atLimit);
    out.verdict = rule_.judge(now, nextIsPress);
    switch (out.verdict) {
        case Verdict::Taken:
            pending_ = false;
            settled_ = now.focus;
            fresh_ = true;
            return out;
        case Verdict::Moved:
            pending_ = false;
            // The rest of the key string expects the focus on the pressed
            // button: that is where Resume asks for it.
            settled_ = rule_.sent().before;
            out.why = now.foreground ? "pressing " + named(rule_.sent().before) + " put the dialog's focus on " +
                                           named(now.focus) + "."
                                     : std::string("the window receiving the keys lost the focus.");
            return out;
        case Verdict::WrongEffect:
            pending_ = false;
            out.why = wrongEffect(now);
            return out;
        case Verdict::Unknown:
            pending_ = false;
            out.why = "the window receiving the keys lost the focus.";
            return out;
        case Verdict::NotYet: break;
    }
    if (!atLimit) return out;
    pending_ = false;
    out.lost = rule_.lost(now);
    if (!now.foreground) out.why = "the window receiving the keys lost the focus.";
    else if (out.lost || services_.drain.answers()) out.why = "the dialog did not take a key.";
    else out.why = "the receiving window stopped responding.";
    return out;
}

std::optional<bool> DialogFollower::settle(const KeySent& key) {
    if (!watching_) return std::nullopt;
    rule_.resumeWith(key);
    const DialogReading now = read(true);
    switch (rule_.judge(now)) {
        case Verdict::Taken: settled_ = now.focus; return true;
        case Verdict::Moved: settled_ = key.before; return true;
        case Verdict::NotYet:
            if (!rule_.lost(now)) return std::nullopt;
            settled_ = key.before;
            return false;
        case Verdict::WrongEffect:
        case Verdict::Unknown: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace tavrel
