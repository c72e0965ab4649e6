// Plays the keystroke list back into whichever window has the keyboard focus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dialog_follower.h"
#include "core/path_model.h"
#include "core/playback_view.h"
#include "core/settings.h"
#include "platform/services.h"

namespace tavrel {

// Each countdown step waits this long, then sounds and shows its caption.
inline constexpr float kCountdownStepWait = 1.0f;

// The closing wait for the target to take the last keys gives up after this
// long: a window that never validates what it paints would hold it for ever.
// At the ~2,000 key events a second the receiving dialog takes under Wine 8
// (measured), this is a backlog of 60,000 events, far beyond a real one.
inline constexpr double kKeysTakenLimit = 30.0;
// ... and sooner when the target has not answered at all for this long.
inline constexpr double kNoAnswerLimit = 2.0;

class Player {
public:
    // `appDir` ends in a backslash; the sound files are looked for there.
    // The speed mode and the no-sound setting are read from `settings`
    // afresh for every piece, so a change during playback counts from the
    // next piece on. With `watch`, each next piece waits until the dialog
    // took the last one; without it playback is paced by the speed mode alone.
    Player(PathModel& list, const Settings& settings, PlaybackView& view, Services& services, std::string appDir,
           DialogWatch* watch = nullptr);

    // The Play button: countdown, every entry's key string, then "DONE!".
    // Returns at once, with no further effect, when the program starts ending
    // inside one of its event pumps. A failed send ends playback with a
    // stop-sign message instead of "DONE!". The keys go only to the window
    // that had the focus when the first of them was due: playback stops when
    // there is none, when the focus leaves it, or when the stop key is pressed.
    // Withdraws any resume point first.
    void play();

    // Plays from entry `first` (0-based) to the end, exactly as play() plays
    // the whole list; its messages count the entries in the whole list.
    void playFrom(int first);

    // A playback that stopped before its end can be carried on: resume()
    // sends what it did not, with the countdown, guard and Esc of play().
    // Only while the list is as it was at the stop.
    bool canResume() const;
    void resume();
    // A resume point is withdrawn by any change of the list's entries
    // (a resume point into another list would press the wrong buttons), and
    // by this.
    void withdrawResume();

private:
    // The unit tests drive sendPieces() and wait() on their own.
    friend struct PlayerTestAccess;

    // Thrown to unwind play() from inside nested waits and sends.
    struct Ending {};
    struct SendFailed {
        std::string error;
    };
    // Thrown to end playback early with an exclamation message.
    struct Stopped {
        std::string message;
        bool byEsc = false;
    };

    // A place in the list: an entry and the piece of its key string that
    // goes next.
    struct PathPoint {
        int entry = 0;
        std::size_t piece = 0;
    };

    void run(PathPoint from);
    void countdown();
    void sendFrom(PathPoint from);
    void sendPiece(std::string_view piece);
    void rewindEntry();
    void keepResumePoint();

    // Sends one key string piece by piece under the current speed mode,
    // re-reading the mode and the no-sound box before every piece.
    void sendPieces(std::string_view keys);
    // The speed mode's wait and click before a piece.
    void pace();
    // Waits at least `seconds` while pumping events, at least once.
    void wait(float seconds);
    void pumpOrEnd();
    void sendOrFail(std::string_view keys, bool waitUntilProcessed);
    void guardTarget();
    void reportSendFailure(const std::string& error);
    // Watching the dialog: from the first piece, and before every next one.
    void startWatching();
    // `next`: the piece about to go, if any.
    void awaitLast(std::string_view next = {});
    void endWatching();
    std::optional<DialogControl> focusAtStop();
    std::string stoppedAt(std::string_view reason) const;
    // The closing wait: pumps until the target has taken every key. Empty
    // when it has; otherwise the seconds waited before giving up, to the nearest whole one.
    std::optional<int> awaitKeysTaken();

    PathModel& list_;
    const Settings& settings_;
    PlaybackView& view_;
    Services services_;
    std::string keySound_;
    std::string clickSound_;

    // Of the playback running now. entry_ is the 1-based number of the
    // entry in progress, 0 while the countdown runs; target_ is 0 until the
    // first piece is due.
    int entry_ = 0;
    int count_ = 0;
    WindowId target_ = 0;
    // The first piece not yet sent; unknown once a send has failed or a
    // rewind left the focus where no start of the entry would.
    std::optional<PathPoint> next_;
    // While the focus is walked back after Esc, which is still held so that
    // a second press cannot reach the dialog.
    bool rewinding_ = false;

    // Where resume() carries on, and the list it belongs to.
    std::optional<PathPoint> resumeAt_;
    std::uint64_t resumeRevision_ = 0;

    DialogFollower follower_;
    // The piece sent last, until the dialog is seen to have taken it.
    PathPoint pendingAt_;
    // Where the dialog's focus must be for resume(): where the stop left it.
    std::optional<DialogControl> resumeFocus_;
    std::optional<DialogControl> stopFocus_;
    // What the running playback asks of the focus before its first key: set
    // when it resumes a stopped one.
    std::optional<DialogControl> startOn_;
    bool sentAny_ = false;
    bool notWatchingShown_ = false;
};

}  // namespace tavrel
