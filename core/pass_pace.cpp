#include "core/pass_pace.h"

namespace tavrel {

double PassPace::next(double now, bool keyDown, Wake woken) {
    if (!keysWake_) return now + kBusyBeat;
    // A key change woke the loop, also while it keeps the beat. A release
    // shows as a pass with no key down, one beat after the last pass that saw
    // one down: the settling time runs on from there. Any other message only
    // gets its pass: a tool tip's timer every few tens of milliseconds, with
    // the pointer resting on Record, kept the loop at a pass a millisecond
    // (11 % of a core) when every message counted.
    if (keyDown || woken == Wake::Key) stirredAt_ = now;
    const bool settling = now - stirredAt_ < kSettleSeconds;
    return now + (settling ? kBusyBeat : kRestWait);
}

}  // namespace tavrel
