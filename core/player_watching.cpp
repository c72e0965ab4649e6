// The player's eyes on the window it plays into: which window takes the
// keys, whether its dialog is fit for the first key, the verdict on every
// key sent, and Resume's question about a key no verdict was reached on.
#include <algorithm>

#include "core/player.h"

namespace tavrel {

namespace {

constexpr std::string_view kNoTarget =
    "Nothing was sent: no other program's window had the focus when the countdown ended.";
constexpr std::string_view kTargetHigher =
    "Nothing was sent: the window with the focus runs as administrator. Start Tavrel as administrator too.";
constexpr std::string_view kTargetHigherHint = "runs as administrator: start Tavrel as administrator too";

}  // namespace

Player::TargetFit Player::targetFit(WindowId window) {
    // Keys into our own window, the desktop or nowhere would be lost, and a
    // "DONE!" after them would be a lie.
    if (!services_.focus.otherProgram(window)) return TargetFit::NotOther;
    if (services_.focus.runsHigher(window)) return TargetFit::Higher;
    return TargetFit::Fit;
}

void Player::glanceAtFocus() {
    const WindowId window = services_.focus.foreground();
    switch (targetFit(window)) {
        // Still on Tavrel, or between two windows: nothing to say yet.
        case TargetFit::NotOther: return showHint({});
        case TargetFit::Higher: return showHint(std::string(kTargetHigherHint));
        case TargetFit::Fit: break;
    }
    const std::optional<DialogControl> resumeOn = from_ ? account_.focus() : std::nullopt;
    showHint(follower_.glance(window, resumeOn, account_.unsettledKey().has_value(), kGlanceWait));
}

void Player::showHint(std::string hint) {
    if (hint == hint_) return;
    hint_ = std::move(hint);
    view_.showHint(hint_);
}

bool Player::firstKey(double now) {
    const WindowId window = services_.focus.foreground();
    switch (targetFit(window)) {
        case TargetFit::NotOther: return stop(std::string(kNoTarget)), false;
        case TargetFit::Higher: return stop(std::string(kTargetHigher)), false;
        case TargetFit::Fit: break;
    }
    target_ = window;
    if (!follower_.begin(target_)) {
        // Played blind, paced by the mode alone, as before watching existed:
        // the user must know that a lost key will go unnoticed.
        if (follower_.canWatch()) {
            view_.showNotWatching(true);
            notWatchingShown_ = true;
        }
        if (!account_.unsettledKey()) return true;
        stop(cannotTell(), false);
        return false;
    }
    if (account_.unsettledKey()) {
        phase_ = Phase::Settling;
        services_.drain.mark(target_);
        waitStart_ = now;
        stepSettling(now);
        return false;
    }
    if (auto refused = follower_.refusal(from_ ? account_.focus() : std::nullopt)) return stop(*refused), false;
    return true;
}

void Player::stepSettling(double now) {
    if (stop_) return stop(stop_->message);
    // Asked only of a dialog that has handled all it was sent: a press it
    // is still busy with shows nothing yet.
    if (services_.drain.drained() != InputDrained::Yes || !services_.drain.answers()) {
        if (now - waitStart_ < kTakeLimit) {
            due_ = now + kTakeBeat;
            return;
        }
        return stop(cannotTell(), false);
    }
    const std::optional<bool> taken = follower_.settle(*account_.unsettledKey());
    if (!taken) return stop(cannotTell(), false);
    account_.settle(*taken, follower_.settledFocus());
    phase_ = Phase::Sending;
    if (auto refused = follower_.refusal(account_.focus())) return stop(*refused);
    advance();
    stepSending(now);
}

bool Player::judgePending(double now) {
    const bool atLimit = now - sentAt_ >= kTakeLimit;
    const DialogFollower::Look look = follower_.look(nextIsPress_, atLimit);
    // Esc and the focus guard wait for this verdict, but keep their message.
    const auto stopWith = [&] { stop(stop_ ? stop_->message : stoppedAt(look.why)); };
    switch (look.verdict) {
        case Verdict::Taken:
            account_.taken(follower_.settledFocus());
            if (!stop_) advance();
            return true;
        case Verdict::Moved:
            account_.taken(follower_.settledFocus());
            return stopWith(), false;
        case Verdict::WrongEffect:
            account_.notTaken(follower_.pendingKey().before);
            return stopWith(), false;
        case Verdict::Unknown:
            account_.unsettled(follower_.pendingKey());
            return stopWith(), false;
        case Verdict::NotYet: break;
    }
    if (!atLimit) {
        due_ = std::min(sentAt_ + kTakeLimit, now + kTakeBeat);
        return false;
    }
    if (!look.lost) {
        account_.unsettled(follower_.pendingKey());
        return stopWith(), false;
    }
    account_.notTaken(follower_.pendingKey().before);
    // After Esc the walk back starts from where the key was lost; a lost
    // {UP} of the walk back ends it.
    if (stop_ && stop_->byEsc && !walkingBack_) return true;
    return stopWith(), false;
}

}  // namespace tavrel
