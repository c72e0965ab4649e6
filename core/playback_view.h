// What playback changes of the window it is started from.
#pragma once

#include <string_view>

#include "core/playback_outcome.h"

namespace tavrel {

class PlaybackView {
public:
    virtual ~PlaybackView() = default;

    // The Play button's caption, which shows the countdown.
    virtual void setPlayCaption(std::string_view caption) = 0;
    // Shown from the moment Esc could not be taken until the playback ends:
    // Esc then reaches the target, where it may close the dialog.
    virtual void showStopKeyMissing(bool missing) = 0;
    // Shown while a playback goes blind into a window that cannot be
    // watched: a key it drops goes unnoticed there.
    virtual void showNotWatching(bool notWatching) { (void)notWatching; }
    // During the countdown: what the start check would say if the first key
    // were due now, briefly ("ready: \"Move Down\""); empty for nothing.
    virtual void showHint(std::string_view hint) { (void)hint; }
    // While busy, none of the actions that could start anything else
    // (record, stop, play, load, save, preview, about, explore) takes input.
    virtual void setBusy(bool busy) = 0;
    // How the playback ended, once the actions are back.
    virtual void ended(const PlaybackOutcome& outcome) = 0;
};

}  // namespace tavrel
