#include "core/key_pace.h"

#include "core/speed_mode.h"
#include "platform/event_pump.h"

namespace tavrel {

double dueFor(double end, double now) { return end - now > kWakeLateness ? end - kWakeLateness : now; }

bool KeyPace::ready(double now, double& due) {
    for (; row_ < kSpeedModes.size(); ++row_) {
        const SpeedModeRow& row = kSpeedModes[row_];
        if (!waiting_) {
            if (row.wait <= 0.0f || settings_.mode != row.mode) continue;
            // The end in double precision from a monotonic reading: a wait
            // can neither stall at midnight nor end early through rounding.
            waiting_ = true;
            until_ = now + static_cast<double>(row.wait);
        }
        if (now <= until_) {
            due = dueFor(until_, now);
            return false;
        }
        waiting_ = false;
    }
    if (clicked_) return true;
    clicked_ = true;
    if (settings_.noSound != 0 || !speedModeRow(settings_.mode).click) return true;
    services_.sound.play(clickSound_);
    // The window's events run between the click and its key, as between
    // any two steps: a close or Esc meanwhile is seen before the key goes.
    due = now;
    return false;
}

}  // namespace tavrel
