// The main window's controls as data: positions and sizes in twips, inside
// their container, in tab order.
#pragma once

#include <span>
#include <string_view>

namespace tavrel {

enum class ControlKind { CheckBox, Frame, OptionButton, Button, ListBox };

// Stable identifiers, also the controls' command ids.
enum class ControlId : int {
    ChkOnTop = 100,
    Frame1,
    OptMode0,
    OptMode1,
    OptMode2,
    Frame2,
    Command4,
    Command5,
    BtnLoad,
    BtnSave,
    BtnPreview,
    Command3,
    Command2,
    Command1,
    Frame3,
    List1,
    ChkNoSound,
};

struct TwipRect {
    int left, top, width, height;
};

struct ControlSpec {
    ControlId id;
    ControlKind kind;
    ControlId container;  // ControlId{0} is the window's client area
    std::string_view caption;
    TwipRect rect;  // inside the container
    std::string_view toolTip;
};

inline constexpr ControlId kWindowClientArea = ControlId{0};

// Client area of the main window, in twips.
inline constexpr int kMainClientWidthTwips = 5745;
inline constexpr int kMainClientHeightTwips = 3795;
inline constexpr std::string_view kMainCaption = "Tavrel for RMXP";

// Every control, in tab order.
std::span<const ControlSpec> mainWindowControls();

const ControlSpec& controlSpec(ControlId id);

// The control's rectangle in the client area's twips, containers resolved.
TwipRect clientRectTwips(const ControlSpec& control);

// Twips to pixels at `dpi` (15 twips make one pixel at 96 dpi), rounded to
// the nearest pixel.
int twipsToPixels(int twips, int dpi);

}  // namespace tavrel
