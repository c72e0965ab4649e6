#include "core/player.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tavrel {

namespace {

constexpr std::string_view kEscEarly = "Playback stopped before the first key: Esc was pressed.";

}  // namespace

Player::Player(PathModel& list, const Settings& settings, PlaybackView& view, Services& services, std::string appDir,
               DialogWatch* watch)
    : list_(list),
      view_(view),
      services_(services),
      keySound_(appDir + "key.wav"),
      follower_(watch, services_),
      pace_(settings, services_, std::move(appDir) + "click.wav"),
      account_(list) {}

Player::~Player() {
    if (running()) services_.events.setWork(nullptr);
}

void Player::playFrom(int first) {
    withdrawResume();
    if (running()) return;
    if (first < 0 || first >= list_.count()) {
        services_.notifier.message("Nothing to play.", Icon::Exclamation);
        return;
    }
    start(std::nullopt, first);
}

bool Player::canResume() const { return resume_ && list_.revision() == resumeRevision_; }

void Player::resume() {
    if (!canResume() || running()) return;
    const ResumePoint point = *resume_;
    withdrawResume();
    start(point, point.entry);
}

void Player::start(std::optional<ResumePoint> from, int first) {
    view_.setBusy(true);
    // The focus guard alone still keeps the keys out of any other window,
    // but the user must know before the first key that Esc will reach the
    // target: in the editor it closes the dialog with the moves in it.
    stopKeyMissing_ = !services_.stopKey.arm();
    if (stopKeyMissing_) view_.showStopKeyMissing(true);
    services_.events.beginWaiting();
    from_ = std::move(from);
    // Where a stop in the countdown leaves Resume: where this one would start.
    if (from_) account_.resumeFrom(*from_, list_.count());
    else account_.begin(first, list_.count());
    phase_ = Phase::Countdown;
    tick_ = 0;
    target_ = 0;
    stop_.reset();
    walkingBack_ = false;
    pace_.restart();
    waitStart_ = services_.clock.seconds();
    due_ = dueFor(waitStart_ + kCountdownStepWait, waitStart_);
    nextGlance_ = waitStart_;
    services_.events.setWork(this);
}

void Player::step() {
    if (phase_ == Phase::Idle) return;
    try {
        const double now = services_.clock.seconds();
        // Presses come as events, so the pump just run is where it shows.
        if (!stop_ && services_.stopKey.pressed()) {
            if (phase_ == Phase::Countdown) return stop(std::string(kEscEarly));
            stop_ = Stop{stoppedAt("Esc was pressed."), true};
        }
        switch (phase_) {
            case Phase::Countdown: stepCountdown(now); break;
            case Phase::Sending: stepSending(now); break;
            case Phase::Settling: stepSettling(now); break;
            case Phase::Closing: stepClosing(now); break;
            case Phase::Idle: break;
        }
    } catch (...) {
        // A failure no part of the player expects passes on, but not with
        // the actions off, a countdown caption, Esc taken or the fine timer
        // held: an unsaved path must still be saved.
        finishWithout(true);
        throw;
    }
}

void Player::stepCountdown(double now) {
    if (now > waitStart_ + kCountdownStepWait) {
        services_.sound.play(keySound_);
        view_.setPlayCaption(kCountdownCaptions[static_cast<std::size_t>(tick_++)]);
        if (tick_ == static_cast<int>(kCountdownCaptions.size())) return startSending(now);
        waitStart_ = now = services_.clock.seconds();
    }
    const double stepDue = waitStart_ + kCountdownStepWait;
    due_ = dueFor(stepDue, now);
    // Nothing to tell without a watch; and the countdown keeps its time.
    if (!follower_.canWatch()) return;
    if (now >= nextGlance_) {
        if (now + kGlanceWait < stepDue) glanceAtFocus();
        nextGlance_ = now + kGlanceBeat;
    }
    due_ = std::min(due_, nextGlance_);
}

void Player::startSending(double now) {
    // What the title said is the start check's to say now.
    showHint({});
    // Read after the countdown, then fixed: the selection may be moved by
    // the user meanwhile, but playback keeps its own place.
    count_ = list_.count();
    if (from_) account_.resumeFrom(*from_, count_);
    else account_.begin(account_.entry(), count_);
    phase_ = Phase::Sending;
    if (!account_.done()) list_.select(account_.entry());
    advance();
    // A pump comes before every key, so that Esc or a close just pressed is seen.
    due_ = now;
}

void Player::advance() {
    // Entries without keys are selected in passing, as the playback goes by.
    while (!account_.unsettledKey() && !account_.done() && !account_.nextKey()) {
        account_.nextEntry();
        if (!account_.done()) list_.select(account_.entry());
    }
}

void Player::stepSending(double now) {
    if (account_.pending()) {
        const double paceDue = paceAhead(now);
        if (!judgePending(now)) {
            due_ = std::min(due_, paceDue);
            return;
        }
    }
    std::optional<Key> key;
    if (stop_) {
        // After Esc the focus is walked back up to where the entry started,
        // from where the dialog is known to stand: only {UP}s, since a space
        // would press a button the path never chose.
        if (!stop_->byEsc || target_ == 0 || account_.upsBack() == 0) return stop(stop_->message);
        walkingBack_ = true;
        key = Key::Up;
    } else if (account_.done()) {
        return startClosing(now);
    } else {
        key = account_.nextKey();
    }
    double due = now;
    if (!pace_.ready(now, due)) {
        due_ = due;
        return;
    }
    if (target_ == 0) {
        if (!firstKey(now)) return;
    } else if (services_.focus.foreground() != target_) {
        // Whatever took the focus is not the dialog the path was meant for:
        // a space there would press its focused button.
        return stop(walkingBack_ ? stop_->message : stoppedAt("the window receiving the keys lost the focus."));
    }
    if (key) send(*key, now);
}

double Player::paceAhead(double now) {
    // The mode's wait before the next key starts as the last one goes and
    // runs while the dialog takes it, as it did when nothing was watched.
    double due = std::numeric_limits<double>::infinity();
    if (pacingAhead_) pace_.ready(now, due);
    return due;
}

void Player::send(Key key, double now) {
    follower_.sending(key);
    account_.sent(key);
    const std::optional<Key> following = account_.following();
    nextIsPress_ = !stop_ && following == Key::Space;
    pacingAhead_ = !stop_ && following.has_value();
    std::string error = services_.sender.send(key);
    pace_.restart();
    // Going on would press buttons in a dialog that has stopped following
    // the path, and it is not offered for resuming either: where the
    // dialog's focus stands is not known.
    if (!error.empty()) return finish(PlaybackOutcome{PlaybackOutcome::Kind::SendFailed, std::move(error), 0, {}});
    due_ = now;
    if (follower_.watching()) {
        follower_.sent();
        sentAt_ = now;
        // No dialog has taken a key this soon: the first look comes a beat
        // on, or sooner when the focus event wakes the loop.
        due_ = std::min(now + kTakeBeat, paceAhead(now));
        return;
    }
    account_.taken(std::nullopt);
    if (!stop_) advance();
}

}  // namespace tavrel
