// The three settings as the settings file sees them.
#pragma once

namespace tavrel {

class SettingsView {
public:
    virtual ~SettingsView() = default;

    // Check-box values: 0 unchecked, 1 checked, 2 third state.
    virtual int onTop() const = 0;
    // Setting the value runs the on-top click behaviour when the value
    // changes, as a click on the box would.
    virtual void setOnTop(int value) = 0;
    virtual int noSound() const = 0;
    virtual void setNoSound(int value) = 0;

    // Speed options: exactly one is selected in use.
    virtual bool modeSelected(int index) const = 0;
    virtual void selectMode(int index) = 0;
};

}  // namespace tavrel
