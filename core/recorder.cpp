#include "core/recorder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "core/direction.h"
#include "core/pass_pace.h"

namespace tavrel {

namespace {

// Lets the click on Record and a key still held from before it settle
// without producing entries.
constexpr double kGraceSeconds = 0.25;

}  // namespace

Recorder::Recorder(PathModel& list, Services& services, std::string appDir)
    : list_(list), services_(services), keySound_(std::move(appDir) + "key.wav") {}

void Recorder::record() {
    list_.clear();
    services_.beeper.beep();
    recording_ = true;
    listFull_ = false;
    // Monotonic, so a recording running across midnight keeps recording.
    const double start = services_.clock.seconds();

    // Locals, not members: a nested Record must leave the states of the
    // recording it interrupted untouched, so that one finishes its pass
    // comparing against what it saw before.
    std::array<bool, kDirections.size()> previous{};
    int playbacksSeen = playbacks_;
    const WaitingLoop waiting(services_.events);
    // A tap that begins and ends between two passes is still caught: the
    // key's "pressed since last read" bit keeps it until the next poll.
    const KeyWatch keyWatch(services_.events);
    PassPace pace(keyWatch.wakes());
    Wake woken = Wake::Time;
    do {
        // Stop, Load, a nested Record or the window closing all run in here.
        if (!services_.events.pump()) return;
        // The polls of a pass that ran a playback only clear the "pressed
        // since the last read" bits its keys set; a key still held from then
        // counts once it has been released and pressed again.
        const bool playedInPump = playbacks_ != playbacksSeen || elsewhere_ > 0;
        playbacksSeen = playbacks_;

        std::array<bool, kDirections.size()> current{};
        for (std::size_t i = 0; i < kDirections.size(); ++i)
            current[i] = services_.keys.poll(kDirections[i].virtualKey) != 0;

        const double now = services_.clock.seconds();
        if (now > start + kGraceSeconds && !playedInPump) {
            for (std::size_t i = 0; i < kDirections.size(); ++i) {
                if (!current[i] || previous[i]) continue;
                // No sound for a press the full list could not take.
                if (list_.append(std::string(kDirections[i].name))) services_.sound.play(keySound_);
            }
        }
        // Also during the grace period, so presses that began in it never
        // count once it is over.
        previous = current;
        // A full list ends the recording as Stop would, rather than let the
        // user walk on while every press is dropped; also when a Load in the
        // pump filled it.
        if (list_.count() >= kListCapacity) {
            listFull_ = true;
            recording_ = false;
        }
        // Nothing to do until a message or a key change comes, or it is time
        // to poll again.
        if (recording_) {
            const bool keyDown = std::find(current.begin(), current.end(), true) != current.end();
            woken = services_.events.waitForInput(pace.next(now, keyDown, woken));
        }
    } while (recording_);

    // Every recording a Stop or a full list ends says why, nested ones too.
    services_.notifier.message(listFull_ ? "Recording halted: the list is full (32,767 entries)." : "Recording halted.",
                               Icon::Information);
}

void Recorder::stop() {
    if (!recording_) services_.notifier.message("Nothing to stop.", Icon::Exclamation);
    recording_ = false;
}

}  // namespace tavrel
