// How a playback ends, decided in one place from the account: "DONE!" after
// the closing wait, or a stop (Esc, the focus guard, a key not taken, no
// answer, a wrong effect, a refusal), or a failed send. Every way out gives
// the actions, Esc and the titles back before the window hears of it.
#include <cmath>
#include <utility>

#include "core/player.h"

namespace tavrel {

void Player::startClosing(double now) {
    // Nothing went anywhere, so nothing is on its way.
    if (target_ == 0) return finish(PlaybackOutcome{});
    services_.drain.mark(target_);
    phase_ = Phase::Closing;
    waitStart_ = now;
    lastAnswer_ = now;
    stepClosing(now);
}

void Player::stepClosing(double now) {
    if (stop_) return stop(stop_->message);
    if (services_.drain.drained() == InputDrained::Yes) return finish(PlaybackOutcome{});
    if (services_.drain.answers()) lastAnswer_ = now;
    // Saying "DONE!" here would claim keys that may never arrive.
    const double at = services_.clock.seconds();
    if (at - waitStart_ >= kKeysTakenLimit || at - lastAnswer_ >= kNoAnswerLimit)
        return finish(PlaybackOutcome{PlaybackOutcome::Kind::NotAllTaken, {},
                                      static_cast<int>(std::lround(at - waitStart_)), {}});
    due_ = at + kKeysTakenBeat;
}

std::string Player::stoppedAt(std::string_view reason) const {
    // Past the last entry only in the closing wait: the last is the one in progress.
    const int entry = account_.entry() < count_ ? account_.entry() : count_ - 1;
    return "Playback stopped at entry " + std::to_string(entry + 1) + " of " + std::to_string(count_) + ": " +
           std::string(reason);
}

std::string Player::cannotTell() const {
    return "Nothing was sent: the dialog does not show whether it took the last key sent at entry " +
           std::to_string(account_.entry() + 1) +
           ", so Resume cannot tell where to carry on. Use Play from here on that entry, with the dialog's focus "
           "on its first button.";
}

void Player::stop(std::string message, bool resumable) {
    PlaybackOutcome outcome{PlaybackOutcome::Kind::Stopped, std::move(message), 0, {}};
    if (resumable) outcome.resume = account_.resumePoint();
    finish(std::move(outcome));
}

void Player::finishWithout(bool failed) {
    phase_ = Phase::Idle;
    services_.events.setWork(nullptr);
    services_.events.endWaiting();
    // Esc and the titles come back before any message box: Esc must work there.
    services_.stopKey.disarm();
    if (stopKeyMissing_) view_.showStopKeyMissing(false);
    follower_.end();
    if (notWatchingShown_) view_.showNotWatching(false);
    notWatchingShown_ = false;
    showHint({});
    // A stop during the countdown leaves one of its captions on the button;
    // after a failure nobody knows which caption it shows.
    if (failed || tick_ < static_cast<int>(kCountdownCaptions.size())) view_.setPlayCaption(kPlayCaption);
    view_.setBusy(false);
}

void Player::finish(PlaybackOutcome outcome) {
    finishWithout(false);
    if (outcome.resume) {
        resume_ = outcome.resume;
        resumeRevision_ = list_.revision();
    }
    view_.ended(outcome);
}

}  // namespace tavrel
