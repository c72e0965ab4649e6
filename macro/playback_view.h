// What playback reads and changes of the window it is started from.
#pragma once

#include <string_view>

namespace tavrel {

// Speed modes, the indexes of the speed option buttons.
inline constexpr int kModeOriginal = 0;
inline constexpr int kModeSurpressed = 1;
inline constexpr int kModeUltraSurpressed = 2;

class PlaybackView {
public:
    virtual ~PlaybackView() = default;

    // Tested afresh for every piece, so a change during playback counts
    // from the next piece on.
    virtual bool modeSelected(int index) const = 0;
    // The no-sound box: 0 unchecked, 1 checked, 2 third state.
    virtual int noSound() const = 0;

    // The Play button's caption, which shows the countdown.
    virtual void setPlayCaption(std::string_view caption) = 0;
    // Shown from the moment Esc could not be taken until the playback ends:
    // Esc then reaches the target, where it may close the dialog.
    virtual void showStopKeyMissing(bool missing) = 0;
    // While busy, none of the actions that could start anything else
    // (record, stop, play, load, save, preview, about, explore) takes input.
    virtual void setBusy(bool busy) = 0;
};

}  // namespace tavrel
