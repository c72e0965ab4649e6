// When the recording loop runs its next pass: every millisecond while the
// arrows are busy, and seldom at rest when the system wakes the loop on any
// key change.
#pragma once

#include <limits>

namespace tavrel {

// Between passes while a key is down or was a moment ago, or something woke
// the loop; always, where key changes do not wake it.
inline constexpr double kBusyBeat = 0.001;

// How long passes stay a beat apart after the last stir. Wine answers a
// thread's key polls from its own copy of the key state for up to 50 ms
// after that thread last asked the Wine server, so a press that woke the
// loop can stay hidden that long: it must be polled again once the copy
// has expired, also when the machine is busy and the passes come late
// (under a load of 7 on 2 cores, passes a beat apart came up to 10 ms apart).
// No longer: the last of these passes leaves the copy fresh, blind to new
// presses for 50 ms more.
inline constexpr double kSettleSeconds = 0.07;

// At rest, where key changes wake the loop: a pass is owed only to a change
// the system did not report, which the "pressed since last read" bit keeps
// until this pass. Rare passes also leave Wine's copy expired, so the pass a
// press wakes usually sees it at once.
inline constexpr double kRestWait = 0.25;

class PassPace {
public:
    explicit PassPace(bool keysWake) : keysWake_(keysWake) {}

    // For a pass that read the clock at `now`, whether any arrow read down in
    // it, and whether a message ended the wait before it: the time until
    // which the loop may wait for input before its next pass.
    double next(double now, bool keyDown, bool woken);

private:
    bool keysWake_;
    double stirredAt_ = -std::numeric_limits<double>::infinity();
};

}  // namespace tavrel
