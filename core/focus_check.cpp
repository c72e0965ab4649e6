// The start check of the dialog's focus, decided in one place and worded
// twice: as the refusal when the first key is due, and briefly for the title
// while the countdown runs, so the user can put the focus right in time.
#include "core/dialog_follower.h"

namespace tavrel {

namespace {

std::string presses(int n) {
    if (n == 1) return "once";
    if (n == 2) return "twice";
    return std::to_string(n) + " times";
}

}  // namespace

DialogFollower::FocusFinding DialogFollower::checkFocus(std::optional<DialogControl> resumeOn) {
    FocusFinding found;
    found.focus = watch_->focus();
    found.want = found.focus;
    found.onButton = kindOf(found.focus) == DialogControlKind::PushButton;
    if (resumeOn) {
        if (found.focus == *resumeOn) return found;
        found.kind = FocusFinding::Kind::NotResumes;
        found.want = *resumeOn;
    } else if (found.onButton) {
        const DialogControl first = watch_->groupFirst(found.focus);
        if (first == 0 || first == found.focus) return found;
        found.kind = FocusFinding::Kind::NotFirst;
        found.want = first;
        return found;
    } else {
        // Any other control would take the arrows as its own: a list moves
        // its selection, a text box its caret, and the spaces press nothing.
        found.kind = FocusFinding::Kind::NotAButton;
        found.want = 0;
    }
    // Clicking a button would press it: Tab is the way onto one.
    if (!found.onButton && found.focus != 0) found.tab = watch_->tabTo(found.focus, found.want);
    if (found.kind == FocusFinding::Kind::NotAButton) found.want = found.tab.button;
    return found;
}

std::string DialogFollower::tabAdvice(const FocusFinding& found, bool resume) {
    if (found.tab.button == 0) return {};
    const std::string again = std::string(", then press ") + (resume ? "Resume" : "Play") + " again.";
    if (!found.tab.presses) return " Press Tab until " + named(found.tab.button) + " has the focus" + again;
    return " Press Tab " + presses(*found.tab.presses) + " to put it on " + named(found.tab.button) + again;
}

std::optional<std::string> DialogFollower::refusal(std::optional<DialogControl> resumeOn) {
    if (!watching_) return std::nullopt;
    const FocusFinding found = checkFocus(resumeOn);
    settled_ = found.focus;
    fresh_ = true;
    const std::string on = named(found.focus);
    switch (found.kind) {
        case FocusFinding::Kind::Fit: return std::nullopt;
        case FocusFinding::Kind::NotResumes:
            return "Nothing was sent: Resume needs the dialog's focus on " + named(found.want) +
                   ", where the playback stopped; it is on " + on + "." + tabAdvice(found, true);
        case FocusFinding::Kind::NotAButton:
            if (found.tab.button == 0)
                return "Nothing was sent: the dialog's focus is on " + on + ", not on its first button.";
            return "Nothing was sent: the dialog's focus is on " + on + "." + tabAdvice(found, false);
        case FocusFinding::Kind::NotFirst:
            return "Nothing was sent: the dialog's focus is on " + on + ", not on its first button " +
                   named(found.want) + ". Give the dialog the focus by its title bar, not by a button.";
    }
    return std::nullopt;
}

std::string DialogFollower::tabHint(const FocusFinding& found) {
    const std::string on = "the focus is on " + named(found.focus);
    if (found.tab.button == 0) return on + ", not on a button";
    if (!found.tab.presses) return "press Tab until " + named(found.tab.button) + " has it: " + on;
    return "press Tab " + presses(*found.tab.presses) + ": " + on;
}

std::string DialogFollower::glance(WindowId window, std::optional<DialogControl> resumeOn, bool unsettled,
                                   double seconds) {
    if (watch_ == nullptr) return {};
    kinds_.clear();
    std::string hint = "not watching this window";
    if (watch_->glance(window, seconds)) {
        const FocusFinding found = checkFocus(resumeOn);
        const std::string on = "the focus is on " + named(found.focus);
        if (unsettled) hint = "ready to ask about the last key sent";
        else if (found.kind == FocusFinding::Kind::Fit) hint = "ready: " + named(found.focus);
        else if (!found.onButton) hint = tabHint(found);
        else if (found.kind == FocusFinding::Kind::NotResumes) hint = "Resume needs " + named(found.want) + ": " + on;
        else hint = on + ", not on " + named(found.want);
        // A guess from a window too busy to answer would mislead.
        if (!watch_->answered()) hint = "not watching this window";
    }
    watch_->end();
    // Asked of another window, maybe: the watch's own begin() asks afresh.
    kinds_.clear();
    return hint;
}

}  // namespace tavrel
