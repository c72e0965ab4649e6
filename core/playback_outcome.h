// How a playback ended, as a value: the window turns it into a message.
#pragma once

#include <optional>
#include <string>

#include "core/playback_account.h"

namespace tavrel {

struct PlaybackOutcome {
    enum class Kind {
        Done,         // every key was sent and taken
        Stopped,      // Esc, the focus guard, a key not taken, a refusal
        NotAllTaken,  // sent, but the window had not taken them all in time
        SendFailed,   // the system would not send a key
    };
    Kind kind = Kind::Done;
    // Stopped: the whole message, which says why and where; SendFailed: the
    // system's description of the failure.
    std::string text;
    // NotAllTaken: the seconds waited, to the nearest whole one.
    int seconds = 0;
    // Stopped: where Resume would carry on, and the focus it needs there;
    // nothing when it cannot.
    std::optional<ResumePoint> resume;
};

}  // namespace tavrel
