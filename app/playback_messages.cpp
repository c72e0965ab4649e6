#include "app/playback_messages.h"

#include <string>

namespace tavrel {

void showOutcome(Notifier& notifier, const PlaybackOutcome& outcome) {
    switch (outcome.kind) {
        case PlaybackOutcome::Kind::Done: notifier.message("DONE!", Icon::Exclamation); return;
        case PlaybackOutcome::Kind::Stopped: notifier.message(outcome.text, Icon::Exclamation); return;
        case PlaybackOutcome::Kind::NotAllTaken:
            notifier.message("The keys were sent, but the receiving window had not taken them all after " +
                                 std::to_string(outcome.seconds) + " seconds.",
                             Icon::Exclamation);
            return;
        case PlaybackOutcome::Kind::SendFailed:
            notifier.message("Could not send keys: " + outcome.text, Icon::Stop);
            return;
    }
}

}  // namespace tavrel
