#include "core/player.h"

#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "core/key_strings.h"

namespace tavrel {

namespace {

// Enough time for the user to put the focus into the editor's dialog; the
// last caption gives the button its own name back just before the first key.
constexpr std::array<std::string_view, 5> kCountdownCaptions{
    "5 seconds", "Ready...", "Set", "Go!", "Play"};
constexpr std::string_view kPlayCaption = "Play";

constexpr std::string_view kNoTarget =
    "Nothing was sent: no other program's window had the focus when the countdown ended.";
constexpr std::string_view kTargetHigher =
    "Nothing was sent: the window with the focus runs as administrator. Start Tavrel as administrator too.";

// Between two questions whether the target has taken the last keys. A hung
// target answers at once (it is not asked), so without a pause the closing
// wait would spin a core for its whole limit.
constexpr double kKeysTakenBeat = 0.005;

// Holds the stop key for one playback and gives it back however the
// playback ends, before any message box: Esc must work there again.
class StopKeyHold {
public:
    StopKeyHold(StopKey& key, PlaybackView& view) : key_(key), view_(view) {
        // The focus guard alone still keeps the keys out of any other window,
        // but the user must know before the first key that Esc will reach the
        // target: in the editor it closes the dialog with the moves in it.
        missing_ = !key_.arm();
        if (missing_) view_.showStopKeyMissing(true);
    }
    ~StopKeyHold() {
        key_.disarm();
        if (missing_) view_.showStopKeyMissing(false);
    }
    StopKeyHold(const StopKeyHold&) = delete;
    StopKeyHold& operator=(const StopKeyHold&) = delete;

private:
    StopKey& key_;
    PlaybackView& view_;
    bool missing_ = false;
};

// The actions are off for exactly one playback: every way out gives them
// back with the button's own caption, a failure escaping the player too, so
// an unsaved path can still be saved. The program ending is the one way out
// that touches nothing more.
class BusyHold {
public:
    explicit BusyHold(PlaybackView& view) : view_(view) { view_.setBusy(true); }
    ~BusyHold() {
        if (held_) release();
    }
    BusyHold(const BusyHold&) = delete;
    BusyHold& operator=(const BusyHold&) = delete;
    // Gives the actions back; `captionChanged`: the countdown left one of its
    // captions on the button.
    void release(bool captionChanged = true) {
        held_ = false;
        if (captionChanged) view_.setPlayCaption(kPlayCaption);
        view_.setBusy(false);
    }
    void abandon() { held_ = false; }

private:
    PlaybackView& view_;
    bool held_ = true;
};

// Runs `done` however the scope is left.
template <typename Done>
class ScopeExit {
public:
    explicit ScopeExit(Done done) : done_(std::move(done)) {}
    ~ScopeExit() { done_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Done done_;
};

// Sets a flag for as long as it lives, however the scope is left.
class FlagHold {
public:
    explicit FlagHold(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagHold() { flag_ = false; }
    FlagHold(const FlagHold&) = delete;
    FlagHold& operator=(const FlagHold&) = delete;

private:
    bool& flag_;
};

}  // namespace

Player::Player(PathModel& list, const Settings& settings, PlaybackView& view, Services& services, std::string appDir,
               DialogWatch* watch)
    : list_(list),
      settings_(settings),
      view_(view),
      services_(services),
      keySound_(appDir + "key.wav"),
      clickSound_(std::move(appDir) + "click.wav"),
      follower_(watch, services_) {}

void Player::play() { playFrom(0); }

void Player::playFrom(int first) {
    withdrawResume();
    startOn_.reset();
    run(PathPoint{first, 0});
}

bool Player::canResume() const { return resumeAt_ && list_.revision() == resumeRevision_; }

void Player::resume() {
    if (!canResume()) return;
    const PathPoint from = *resumeAt_;
    startOn_ = resumeFocus_;
    withdrawResume();
    run(from);
}

void Player::withdrawResume() {
    resumeAt_.reset();
    resumeFocus_.reset();
}

void Player::run(PathPoint from) {
    if (from.entry < 0 || from.entry >= list_.count()) {
        services_.notifier.message("Nothing to play.", Icon::Exclamation);
        return;
    }

    BusyHold busy(view_);
    stopFocus_.reset();
    sentAny_ = false;
    entry_ = 0;
    count_ = 0;
    target_ = 0;
    next_ = from;
    std::optional<int> notTakenAfter;
    try {
        StopKeyHold stopKey(services_.stopKey, view_);
        // Like Esc, the title is given back before any message box.
        const ScopeExit watchEnds([this] { endWatching(); });
        try {
            countdown();
            // Read after the countdown, then fixed: the selection may be
            // moved by the user meanwhile, but playback keeps its own index.
            count_ = list_.count();
            sendFrom(from);
            awaitLast();
        } catch (const Stopped& stop) {
            if (stop.byEsc) rewindEntry();
            if (sentAny_) stopFocus_ = focusAtStop();
            throw;
        }

        // Lets the last keys be processed before the frame comes back.
        sendOrFail("", true);
        notTakenAfter = awaitKeysTaken();
    } catch (const Ending&) {
        busy.abandon();
        return;
    } catch (const SendFailed& failure) {
        // Going on would press buttons in a dialog that has stopped
        // following the path, so the rest of the list is dropped, and it is
        // not offered for resuming either: some of the keys that failed may
        // have gone, so where the dialog's focus stands is not known.
        busy.release(false);
        reportSendFailure(failure.error);
        return;
    } catch (const Stopped& stop) {
        keepResumePoint();
        // A stop during the countdown leaves a countdown caption on the button.
        busy.release(entry_ == 0);
        services_.notifier.message(stop.message, Icon::Exclamation);
        return;
    }

    busy.release(false);
    if (notTakenAfter)
        services_.notifier.message("The keys were sent, but the receiving window had not taken them all after " +
                                       std::to_string(*notTakenAfter) + " seconds.",
                                   Icon::Exclamation);
    else
        services_.notifier.message("DONE!", Icon::Exclamation);
}

void Player::countdown() {
    for (std::string_view caption : kCountdownCaptions) {
        wait(kCountdownStepWait);
        services_.sound.play(keySound_);
        view_.setPlayCaption(caption);
    }
}

void Player::sendFrom(PathPoint from) {
    for (int i = from.entry; i < count_; ++i) {
        entry_ = i + 1;
        list_.select(i);
        next_ = PathPoint{i, i == from.entry ? from.piece : 0};
        if (auto keys = keyStringFor(list_.entry(i))) {
            const std::vector<std::string> pieces = splitKeyString(*keys);
            for (; next_->piece < pieces.size(); ++next_->piece) sendPiece(pieces[next_->piece]);
        }
    }
    next_ = PathPoint{count_, 0};
}

void Player::rewindEntry() {
    // Nothing reached any window yet, so the focus is where it was.
    if (target_ == 0 || !next_ || next_->entry >= list_.count()) return;
    const auto keys = keyStringFor(list_.entry(next_->entry));
    if (!keys) return;
    const std::vector<std::string> pieces = splitKeyString(*keys);
    FocusShift shift = shiftAfter(pieces, next_->piece);
    {
        const FlagHold rewinding(rewinding_);
        try {
            // Only {UP}s: a space would press a button the path never chose.
            for (; shift.below > 0; --shift.below) sendPiece(kUpPiece);
        } catch (const Stopped&) {
            // The focus left the dialog: whatever the walk back did not
            // undo, resume() sends as the rest of the entry.
        }
    }
    const std::optional<std::size_t> carryOn = carryOnFrom(pieces, shift);
    if (!carryOn)
        next_.reset();
    else if (*carryOn == pieces.size())
        next_ = PathPoint{next_->entry + 1, 0};
    else
        next_->piece = *carryOn;
}

void Player::keepResumePoint() {
    // Stopped in the closing wait, every key had already gone.
    if (!next_ || next_->entry >= list_.count()) return;
    resumeFocus_ = sentAny_ ? stopFocus_ : startOn_;
    resumeAt_ = next_;
    resumeRevision_ = list_.revision();
}

void Player::sendPieces(std::string_view keys) {
    for (const std::string& piece : splitKeyString(keys)) sendPiece(piece);
}

void Player::sendPiece(std::string_view piece) {
    if (piece.empty()) return;
    pace();
    awaitLast(piece);
    pumpOrEnd();
    guardTarget();
    follower_.sending(piece);
    if (next_) pendingAt_ = *next_;
    sendOrFail(piece, false);
    sentAny_ = true;
    follower_.sent();
}

void Player::pace() {
    // The mode is asked afresh for every row, so a change made during an
    // earlier wait already counts for the rows after it.
    for (const SpeedModeRow& row : kSpeedModes)
        if (row.wait > 0.0f && settings_.mode == row.mode) wait(row.wait);
    if (settings_.noSound == 0 && speedModeRow(settings_.mode).click) services_.sound.play(clickSound_);
}

void Player::wait(float seconds) {
    // The monotonic clock in double precision: a wait can neither stall at
    // midnight nor end early through rounding of a large reading.
    const double start = services_.clock.seconds();
    const double end = start + static_cast<double>(seconds);
    const WaitingLoop waiting(services_.events);
    for (;;) {
        pumpOrEnd();
        const double now = services_.clock.seconds();
        if (now > end) return;
        // Asleep until a message comes or the end draws near; the last
        // stretch, which the system's timer could overshoot, is polled.
        if (end - now > kWakeLateness) services_.events.waitForInput(end - kWakeLateness);
    }
}

void Player::pumpOrEnd() {
    if (!services_.events.pump()) throw Ending{};
    // The pump is where the key's press arrives, so it is seen within one
    // pass of any wait.
    if (!rewinding_ && services_.stopKey.pressed()) {
        throw Stopped{entry_ == 0 ? std::string("Playback stopped before the first key: Esc was pressed.")
                                  : stoppedAt("Esc was pressed."),
                      true};
    }
}

void Player::guardTarget() {
    const WindowId now = services_.focus.foreground();
    if (target_ == 0) {
        // Keys into our own window, the desktop or nowhere would be lost,
        // and a "DONE!" after them would be a lie.
        if (!services_.focus.otherProgram(now)) throw Stopped{std::string(kNoTarget)};
        if (services_.focus.runsHigher(now)) throw Stopped{std::string(kTargetHigher)};
        target_ = now;
        startWatching();
    } else if (now != target_) {
        // Whatever took the focus is not the dialog the path was meant for:
        // a space there would press its focused button.
        throw Stopped{stoppedAt("the window receiving the keys lost the focus.")};
    }
}

std::string Player::stoppedAt(std::string_view reason) const {
    return "Playback stopped at entry " + std::to_string(entry_) + " of " + std::to_string(count_) + ": " +
           std::string(reason);
}

void Player::sendOrFail(std::string_view keys, bool waitUntilProcessed) {
    std::string error = services_.sender.send(keys, waitUntilProcessed);
    if (!error.empty()) throw SendFailed{std::move(error)};
}

std::optional<int> Player::awaitKeysTaken() {
    const WaitingLoop waiting(services_.events);
    const double start = services_.clock.seconds();
    double lastAnswer = start;
    for (;;) {
        const KeysTaken taken = services_.sender.keysTaken();
        if (taken == KeysTaken::Yes) return std::nullopt;
        const double now = services_.clock.seconds();
        if (taken == KeysTaken::NotYet) lastAnswer = now;
        // Saying "DONE!" here would claim keys that may never arrive.
        if (now - start >= kKeysTakenLimit || now - lastAnswer >= kNoAnswerLimit)
            return static_cast<int>(std::lround(now - start));
        // The window stays live meanwhile: it repaints, and closing it works.
        pumpOrEnd();
        services_.events.waitForInput(services_.clock.seconds() + kKeysTakenBeat);
    }
}

void Player::startWatching() {
    if (follower_.begin(target_)) {
        if (auto refused = follower_.refusal(startOn_)) throw Stopped{std::move(*refused)};
        return;
    }
    // Played blind, paced by the mode alone, as before watching existed:
    // the user must know that a lost key will go unnoticed.
    if (follower_.canWatch()) {
        view_.showNotWatching(true);
        notWatchingShown_ = true;
    }
}

void Player::endWatching() {
    follower_.end();
    if (notWatchingShown_) view_.showNotWatching(false);
    notWatchingShown_ = false;
}

void Player::awaitLast(std::string_view next) {
    const auto stop = follower_.awaitTaken([this] { pumpOrEnd(); }, next);
    // The walk back after Esc goes as far as the dialog follows it.
    if (!stop || rewinding_) return;
    if (!stop->taken) {
        // Resume sends that piece again: the dialog gets every move once.
        next_ = pendingAt_;
        entry_ = pendingAt_.entry + 1;
        list_.select(pendingAt_.entry);
        stopFocus_ = follower_.pendingFrom();
    }
    throw Stopped{stoppedAt(stop->reason)};
}

std::optional<DialogControl> Player::focusAtStop() {
    if (stopFocus_ || !follower_.watching()) return stopFocus_;
    // The last key may still be on its way (after Esc, the walk back's);
    // the focus it leaves is where the user must find it again.
    follower_.awaitTaken([this] { services_.events.pump(); });
    return follower_.settledFocus();
}

void Player::reportSendFailure(const std::string& error) {
    services_.notifier.message("Could not send keys: " + error, Icon::Stop);
}

}  // namespace tavrel
