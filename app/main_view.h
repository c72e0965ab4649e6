// The main window as its handlers change it: the actions, the Play button's
// caption and the settings it shows.
#pragma once

#include <string_view>

#include "core/settings.h"

namespace tavrel {

class MainView {
public:
    virtual ~MainView() = default;
    // See PlaybackView: the player's changes pass through unchanged.
    virtual void setPlayCaption(std::string_view caption) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void showStopKeyMissing(bool missing) = 0;
    virtual void showNotWatching(bool notWatching) { (void)notWatching; }
    virtual void showHint(std::string_view hint) { (void)hint; }
    // The option buttons and check boxes show `settings`; nothing is read
    // back from them.
    virtual void showSettings(const Settings& settings) = 0;
};

}  // namespace tavrel
