#include "macro/pass_pace.h"

namespace tavrel {

double PassPace::next(double now, bool keyDown) {
    if (!keysWake_) return planned_ = now + kBusyBeat;
    // Before its time, a pass was woken by a message, a key change most
    // likely; a beat's slack covers the system's rounding of a timed wait.
    const bool early = now < planned_ - kBusyBeat;
    // A release shows as a pass with no key down, one beat after the last
    // pass that saw one down: the settling time runs on from there.
    if (keyDown || early) stirredAt_ = now;
    const bool settling = now - stirredAt_ < kSettleSeconds;
    return planned_ = now + (settling ? kBusyBeat : kRestWait);
}

}  // namespace tavrel
