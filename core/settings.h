// The settings the user chooses in the main window, as values: the window
// shows them and writes changes here; the player and the settings file read
// them here.
#pragma once

#include "core/speed_mode.h"

namespace tavrel {

struct Settings {
    // Check-box values: 0 unchecked, 1 checked, 2 third state.
    int onTop = 0;
    int noSound = 1;
    SpeedMode mode = SpeedMode::Surpressed;

    friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace tavrel
