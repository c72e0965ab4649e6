// The speed mode's wait and click before every key, as a step of the
// playback's state machine: the mode and the no-sound box are asked afresh
// for every key, row by row, so a change counts from the next key (or the
// next row of this one's waits) on.
#pragma once

#include <cstddef>
#include <string>

#include "core/settings.h"
#include "platform/services.h"

namespace tavrel {

class KeyPace {
public:
    KeyPace(const Settings& settings, Services& services, std::string clickSound)
        : settings_(settings), services_(services), clickSound_(std::move(clickSound)) {}

    // True once the next key may go; until then, `due` says when to look again.
    bool ready(double now, double& due);
    // The key went: the next one is paced afresh.
    void restart() {
        row_ = 0;
        waiting_ = false;
        clicked_ = false;
    }

private:
    const Settings& settings_;
    Services& services_;
    std::string clickSound_;
    std::size_t row_ = 0;
    bool waiting_ = false;
    double until_ = 0.0;
    bool clicked_ = false;
};

// When a step must come to see a time strictly passed: the loop sleeps until
// shortly before it, which the system's timer could overshoot, then looks
// at every pass.
double dueFor(double end, double now);

}  // namespace tavrel
