// The main window's controls as data: positions and sizes in twips, inside
// their container, in tab order.
#pragma once

#include <span>
#include <string_view>

#include "app/control_row.h"

namespace tavrel {

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

using ControlSpec = ControlRow<ControlId>;

inline constexpr ControlId kWindowClientArea = ControlId{0};

// Client area of the main window, in twips.
inline constexpr int kMainClientWidthTwips = 5745;
inline constexpr int kMainClientHeightTwips = 3795;
inline constexpr std::string_view kMainCaption = "Tavrel for RMXP";
// While a playback runs whose Esc another program holds as its hot key.
inline constexpr std::string_view kStopKeyMissingCaption = "Tavrel for RMXP - Esc cannot stop this playback";
// While a playback goes blind into a window it cannot watch.
inline constexpr std::string_view kNotWatchingCaption = "Tavrel for RMXP - not watching this window";

// The title for a playback's warnings; Esc's comes first, because Esc
// reaching the dialog may close it with the moves in it.
inline constexpr std::string_view mainCaption(bool stopKeyMissing, bool notWatching) {
    return stopKeyMissing ? kStopKeyMissingCaption : notWatching ? kNotWatchingCaption : kMainCaption;
}

// Every control, in tab order.
std::span<const ControlSpec> mainWindowControls();

const ControlSpec& controlSpec(ControlId id);

// The control's rectangle in the client area's twips, containers resolved.
TwipRect clientRectTwips(const ControlSpec& control);

}  // namespace tavrel
