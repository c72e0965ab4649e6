#include "app/main_layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "core/speed_mode.h"

namespace tavrel {

namespace {

using enum ControlId;
using K = ControlKind;

// Every control starts its own group but the option buttons after the first,
// so the arrow keys move only between the speed options; of those, only the
// first is a tab stop, as the system expects of a radio group.
constexpr unsigned kTab = kTabStop | kGroupStart;

constexpr std::array kControls{
    ControlSpec{ChkOnTop, K::CheckBox, kWindowClientArea, "This window always on top", {120, 3000, 3135, 255},
                "Make this application always on top", kTab},
    ControlSpec{Frame1, K::Frame, kWindowClientArea, "Speed setting", {120, 1800, 3135, 1095}, "", kGroupStart},
    // One row per speed mode, 240 twips apart, in the table's order.
    ControlSpec{OptMode0, K::OptionButton, Frame1, kSpeedModes[0].caption, {120, 240, 2655, 255},
                kSpeedModes[0].toolTip, kTab},
    ControlSpec{OptMode1, K::OptionButton, Frame1, kSpeedModes[1].caption, {120, 480, 2655, 255},
                kSpeedModes[1].toolTip},
    ControlSpec{OptMode2, K::OptionButton, Frame1, kSpeedModes[2].caption, {120, 720, 2655, 255},
                kSpeedModes[2].toolTip},
    ControlSpec{Frame2, K::Frame, kWindowClientArea, "Actions", {120, 120, 3135, 1575}, "", kGroupStart},
    ControlSpec{Command4, K::Button, Frame2, "About", {2040, 1200, 975, 255}, "About this program", kTab},
    ControlSpec{Command5, K::Button, Frame2, "Explore", {2040, 960, 975, 255}, "Explore the application directory",
                kTab},
    ControlSpec{BtnLoad, K::Button, Frame2, "Load", {1080, 1200, 975, 255}, "Load list from disk", kTab},
    ControlSpec{BtnSave, K::Button, Frame2, "Save", {1080, 960, 975, 255}, "Save list to disk (TavrelXP.TXT)", kTab},
    ControlSpec{BtnPreview, K::Button, Frame2, "Preview", {120, 960, 975, 495}, "Preview the movements", kTab},
    ControlSpec{Command3, K::Button, Frame2, "Play", {2040, 240, 975, 495}, "Play list", kTab},
    ControlSpec{Command2, K::Button, Frame2, "Stop", {1080, 240, 975, 495}, "Stop recording", kTab},
    ControlSpec{Command1, K::Button, Frame2, "Record", {120, 240, 975, 495}, "Record keystrokes", kTab},
    ControlSpec{Frame3, K::Frame, kWindowClientArea, "Keystrokes", {3360, 120, 2295, 3615}, "", kGroupStart},
    ControlSpec{List1, K::ListBox, Frame3, "", {120, 240, 2055, 3180}, "Keystrokes", kTab},
    // Only the settings file can give it the third state; a click moves
    // between checked and unchecked.
    ControlSpec{ChkNoSound, K::CheckBox, kWindowClientArea, "No keysend sound on play", {120, 3240, 3135, 255},
                "Play no click sound before each key sent", kTab | kThreeState},
};

}  // namespace

std::span<const ControlSpec> mainWindowControls() { return kControls; }

const ControlSpec& controlSpec(ControlId id) {
    auto it = std::find_if(kControls.begin(), kControls.end(), [id](const ControlSpec& c) { return c.id == id; });
    if (it == kControls.end()) throw std::out_of_range("unknown control");
    return *it;
}

TwipRect clientRectTwips(const ControlSpec& control) {
    TwipRect r = control.rect;
    if (control.container != kWindowClientArea) {
        TwipRect outer = clientRectTwips(controlSpec(control.container));
        r.left += outer.left;
        r.top += outer.top;
    }
    return r;
}

}  // namespace tavrel

// Shared by every layout.
namespace tavrel {

int twipsToPixels(int twips, int dpi) {
    // Rounded to nearest, halves away from zero, in integers.
    long long scaled = static_cast<long long>(twips) * dpi;
    long long half = 720;
    long long px = scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440);
    return static_cast<int>(px);
}

}  // namespace tavrel
