// How the window tells the user the way a playback ended.
#pragma once

#include "core/playback_outcome.h"
#include "platform/notifier.h"

namespace tavrel {

void showOutcome(Notifier& notifier, const PlaybackOutcome& outcome);

}  // namespace tavrel
