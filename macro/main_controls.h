// The main window's option and action controls as the logic sees them.
#pragma once

#include <string_view>

namespace tavrel {

// Speed modes, the indexes of the OptMode buttons.
inline constexpr int kModeOriginal = 0;
inline constexpr int kModeSurpressed = 1;
inline constexpr int kModeUltraSurpressed = 2;

class MainControls {
public:
    virtual ~MainControls() = default;

    // Frame2 ("Actions") with its eight buttons.
    virtual void setActionsEnabled(bool enabled) = 0;
    // Caption of Command3 ("Play").
    virtual void setPlayCaption(std::string_view caption) = 0;

    // OptMode: exactly one of the three is selected.
    virtual bool modeSelected(int index) const = 0;
    virtual void selectMode(int index) = 0;

    // Check-box values: 0 unchecked, 1 checked, 2 third state.
    virtual int noSound() const = 0;
    virtual void setNoSound(int value) = 0;
    virtual int onTop() const = 0;
    // Setting the value runs ChkOnTop_Click when the value changes, as a
    // click on the box would.
    virtual void setOnTop(int value) = 0;
};

}  // namespace tavrel
