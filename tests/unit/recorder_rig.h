// One recorder in a fake world whose arrow keys follow a timeline of presses;
// shared by the recorder's test files.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/recorder.h"
#include "tests/fakes/fake_world.h"
#include "tests/fakes/first_pump.h"
#include "tests/fakes/key_presses.h"

namespace tavrel::fakes {

// Binary fractions keep every fake-clock time exact, so the grace boundary
// can be hit on the nose. The clock advances one step per reading, so pass k
// of a recording started at time 0 pumps and polls at k steps.
inline constexpr double kStep = 1.0 / 64;
inline constexpr double kClickTime = 1000.0;
inline constexpr double kGrace = 0.25;  // exactly 16 steps

inline const std::string kHalted = "message 64 Recording halted.";
inline const std::string kNothingToStop = "message 48 Nothing to stop.";

// One recorder in a scripted world: key presses on a timeline, and handlers
// run from the event pump at chosen times.
struct Harness {
    FakeWorld world;
    Services services = world.services();
    Recorder recorder{world.list, services, kAppDir};
    std::vector<Press> presses;
    std::int16_t downValue = 1;
    // As GetAsyncKeyState: a press that began since the key's last poll
    // reads 1 even when it is over ("pressed since last read").
    bool latched = false;
    std::map<int, double> lastPoll;
    // Called from every pump with the time since the click on Record.
    std::function<void(double t)> atPump;

    Harness() {
        world.clock.now = kClickTime;
        world.clock.step = kStep;
        // Passes one clock step apart, as if a message were always waiting;
        // the tests of idle passes let the waits sleep.
        world.events.alwaysInput = true;
        world.keys.timeline = [this](int key, double now) -> std::int16_t {
            const double t = now - kClickTime;
            const auto last = lastPoll.find(key);
            const bool polledBefore = last != lastPoll.end();
            const double since = polledBefore ? last->second : -1e9;
            lastPoll[key] = t;
            if (held(presses, key, t)) return downValue;
            if (latched)
                for (const Press& p : presses)
                    if (p.key == key && since < p.downFrom && p.downFrom <= t) return 1;
            return 0;
        };
        world.events.onPump = [this](int) {
            if (atPump) atPump(elapsed());
        };
    }

    double elapsed() const { return world.clock.now - kClickTime; }

    // The system wakes a key watch on every reported change of the presses,
    // only waits move the clock, and polls read as GetAsyncKeyState does.
    void wakeOnKeys() {
        world.events.keysWake = true;
        world.events.alwaysInput = false;
        world.clock.step = 0.0;
        latched = true;
        for (const Press& p : presses) {
            if (!p.reported) continue;
            world.events.messagesAt.push_back(kClickTime + p.downFrom);
            world.events.messagesAt.push_back(kClickTime + p.downUntil);
        }
    }

    // Stop is clicked in the first pump at or after `t`.
    void stopAt(double t) {
        const AtFirstPump stop([this, t] { return elapsed() >= t; }, [this] { recorder.stop(); });
        atPump = [stop](double) { stop(); };
    }
};

}  // namespace tavrel::fakes
