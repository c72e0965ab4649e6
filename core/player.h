// Plays the keystroke list back into whichever window has the keyboard focus,
// as a small state machine the window's one message loop steps: countdown,
// sending (each key held back until the dialog took the last), the closing
// wait, ended. How it ended comes out as a value (PlaybackOutcome).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/dialog_follower.h"
#include "core/key_pace.h"
#include "core/path_model.h"
#include "core/playback_account.h"
#include "core/playback_outcome.h"
#include "core/playback_view.h"
#include "core/settings.h"
#include "platform/services.h"

namespace tavrel {

// Each countdown step waits this long, then sounds and shows its caption.
inline constexpr float kCountdownStepWait = 1.0f;
// Enough time for the user to put the focus into the editor's dialog; the
// last caption gives the button its own name back just before the first key.
inline constexpr std::array<std::string_view, 5> kCountdownCaptions{"5 seconds", "Ready...", "Set", "Go!", "Play"};
inline constexpr std::string_view kPlayCaption = "Play";

// While the countdown runs, the window with the focus is looked at this
// often, for the title to say whether the playback would start; each look
// waits this long at most for the window's answers altogether, and none is
// begun that could run into the countdown's next step.
inline constexpr double kGlanceBeat = 0.1;
inline constexpr double kGlanceWait = 0.05;

// The closing wait for the target to take the last keys gives up after this
// long: a window that never validates what it paints would hold it for ever.
// At the ~2,000 key events a second the receiving dialog takes under Wine 8
// (measured), this is a backlog of 60,000 events, far beyond a real one.
inline constexpr double kKeysTakenLimit = 30.0;
// ... and sooner when the target has not answered at all for as long as a
// key may take.
inline constexpr double kNoAnswerLimit = kTakeLimit;
// Between two looks in the closing wait: a hung target answers at once (it
// is not asked), so without a pause the wait would spin a core.
inline constexpr double kKeysTakenBeat = 0.005;

class Player final : public SteppedWork {
public:
    // `appDir` ends in a backslash; the sound files are looked for there.
    // The speed mode and the no-sound setting are read from `settings`
    // afresh for every key. With `watch`, each next key waits until the
    // dialog took the last one; without it playback is paced by the speed
    // mode alone.
    Player(PathModel& list, const Settings& settings, PlaybackView& view, Services& services, std::string appDir,
           DialogWatch* watch = nullptr);
    ~Player() override;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The Play button: starts the countdown and returns; the loop's steps
    // play every entry's keys, then the view hears how it ended. The keys go
    // only to the window that had the focus when the first of them was due.
    // Withdraws any resume point first.
    void play() { playFrom(0); }
    // From entry `first` (0-based) to the end; its messages count the
    // entries in the whole list.
    void playFrom(int first);
    // A playback that stopped before its end can be carried on, with the
    // countdown, guard and Esc of play(), while the list is as it was then.
    bool canResume() const;
    void resume();
    // A resume point is withdrawn by any change of the list's entries (a
    // resume point into another list would press the wrong buttons), and by this.
    void withdrawResume() { resume_.reset(); }
    bool running() const { return phase_ != Phase::Idle; }

    double due() const override { return due_; }
    void step() override;

private:
    enum class Phase { Idle, Countdown, Sending, Settling, Closing };
    struct Stop {
        std::string message;
        bool byEsc = false;
    };

    void start(std::optional<ResumePoint> from, int first);
    void stepCountdown(double now);
    void startSending(double now);
    void glanceAtFocus();
    void showHint(std::string hint);
    enum class TargetFit { Fit, NotOther, Higher };
    TargetFit targetFit(WindowId window);
    void stepSending(double now);
    bool judgePending(double now);
    bool firstKey(double now);
    void stepSettling(double now);
    void send(Key key, double now);
    // When the speed mode's wait for the key after the pending one needs a step.
    double paceAhead(double now);
    void advance();
    void startClosing(double now);
    void stepClosing(double now);
    std::string stoppedAt(std::string_view reason) const;
    std::string cannotTell() const;
    void stop(std::string message, bool resumable = true);
    void finish(PlaybackOutcome outcome);
    void finishWithout(bool failed);

    PathModel& list_;
    PlaybackView& view_;
    Services services_;
    std::string keySound_;
    DialogFollower follower_;
    KeyPace pace_;
    PlaybackAccount account_;

    // Of the playback running now.
    Phase phase_ = Phase::Idle;
    double due_ = 0.0;
    int tick_ = 0;
    int count_ = 0;
    WindowId target_ = 0;
    std::optional<ResumePoint> from_;
    std::optional<Stop> stop_;
    bool walkingBack_ = false;
    double sentAt_ = 0.0;
    bool nextIsPress_ = false;
    bool pacingAhead_ = false;
    double waitStart_ = 0.0;
    double lastAnswer_ = 0.0;
    bool stopKeyMissing_ = false;
    bool notWatchingShown_ = false;
    double nextGlance_ = 0.0;
    std::string hint_;

    // Where resume() carries on, and the list it belongs to.
    std::optional<ResumePoint> resume_;
    std::uint64_t resumeRevision_ = 0;
};

}  // namespace tavrel
