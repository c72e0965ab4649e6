#include "app/main_layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace tavrel {

namespace {

using enum ControlId;
using K = ControlKind;

constexpr std::array kControls{
    ControlSpec{ChkOnTop, K::CheckBox, kWindowClientArea, "This window always on top", {120, 3000, 3135, 255},
                "Make this application always on top"},
    ControlSpec{Frame1, K::Frame, kWindowClientArea, "Speed setting", {120, 1800, 3135, 1095}, ""},
    ControlSpec{OptMode0, K::OptionButton, Frame1, "Original", {120, 240, 2655, 255},
                "Send keystrokes at maximum speed (for really fast computers)"},
    ControlSpec{OptMode1, K::OptionButton, Frame1, "Surpressed (recommended)", {120, 480, 2655, 255},
                "Send keystrokes at a slightly slower rate (for most computers)"},
    ControlSpec{OptMode2, K::OptionButton, Frame1, "Ultra-surpressed", {120, 720, 2655, 255},
                "Send keystrokes at a much slower rate (for slower computers)"},
    ControlSpec{Frame2, K::Frame, kWindowClientArea, "Actions", {120, 120, 3135, 1575}, ""},
    ControlSpec{Command4, K::Button, Frame2, "About", {2040, 1200, 975, 255}, "About this program"},
    ControlSpec{Command5, K::Button, Frame2, "Explore", {2040, 960, 975, 255}, "Explore the application directory"},
    ControlSpec{BtnLoad, K::Button, Frame2, "Load", {1080, 1200, 975, 255}, "Load list from disk"},
    ControlSpec{BtnSave, K::Button, Frame2, "Save", {1080, 960, 975, 255}, "Save list to disk (TavrelXP.TXT)"},
    ControlSpec{BtnPreview, K::Button, Frame2, "Preview", {120, 960, 975, 495}, "Preview the movements"},
    ControlSpec{Command3, K::Button, Frame2, "Play", {2040, 240, 975, 495}, "Play list"},
    ControlSpec{Command2, K::Button, Frame2, "Stop", {1080, 240, 975, 495}, "Stop recording"},
    ControlSpec{Command1, K::Button, Frame2, "Record", {120, 240, 975, 495}, "Record keystrokes"},
    ControlSpec{Frame3, K::Frame, kWindowClientArea, "Keystrokes", {3360, 120, 2295, 3615}, ""},
    ControlSpec{List1, K::ListBox, Frame3, "", {120, 240, 2055, 3180}, "Keystrokes"},
    ControlSpec{ChkNoSound, K::CheckBox, kWindowClientArea, "No keysend sound on play", {120, 3240, 3135, 255},
                "Play no click sound before each key sent"},
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

int twipsToPixels(int twips, int dpi) {
    // Rounded to nearest, halves away from zero, in integers.
    long long scaled = static_cast<long long>(twips) * dpi;
    long long half = 720;
    long long px = scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440);
    return static_cast<int>(px);
}

}  // namespace tavrel
