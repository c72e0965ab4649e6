// The main window's option and action controls, as its handlers see them:
// the view playback has of them and the view the settings file has.
#pragma once

#include "app/settings_view.h"
#include "macro/playback_view.h"

namespace tavrel {

class MainControls : public PlaybackView, public SettingsView {
public:
    // Both views read these; one control answers both.
    bool modeSelected(int index) const override = 0;
    int noSound() const override = 0;
};

}  // namespace tavrel
