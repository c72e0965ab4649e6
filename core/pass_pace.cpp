#include "core/pass_pace.h"

namespace tavrel {

double PassPace::next(double now, bool keyDown, bool woken) {
    if (!keysWake_) return now + kBusyBeat;
    // A message woke the loop, a key change most likely, also while it keeps
    // the beat. A release shows as a pass with no key down, one beat after
    // the last pass that saw one down: the settling time runs on from there.
    if (keyDown || woken) stirredAt_ = now;
    const bool settling = now - stirredAt_ < kSettleSeconds;
    return now + (settling ? kBusyBeat : kRestWait);
}

}  // namespace tavrel
