// The main window's controls as data: positions and sizes in twips, inside
// their container, in tab order.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/control_row.h"
#include "core/speed_mode.h"

namespace tavrel {

// Stable identifiers, also the controls' command ids.
enum class ControlId : int {
    ChkOnTop = 100,
    Frame1,
    // One option button per speed mode, OptMode0 + the mode's index, up to 18.
    OptMode0,
    OptMode1,
    OptMode2,
    Frame2 = OptMode0 + 18,
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

static_assert(kSpeedModes.size() <= 18, "ControlId keeps 18 ids for the speed options");

// The option button of `mode`.
constexpr ControlId speedOption(SpeedMode mode) {
    return ControlId{static_cast<int>(ControlId::OptMode0) + static_cast<int>(mode)};
}

// The "Speed setting" frame holds the speed options 240 twips apart, 240
// from its top and 120 clear of its bottom: 1095 twips high for three.
inline constexpr int kSpeedOptionPitch = 240;
inline constexpr int kSpeedFrameTop = 1800;
inline constexpr int kSpeedFrameHeight =
    240 + kSpeedOptionPitch * (static_cast<int>(kSpeedModes.size()) - 1) + 255 + 120;
// The two check boxes stand below it; the window ends 300 twips below them.
inline constexpr int kOnTopTop = kSpeedFrameTop + kSpeedFrameHeight + 105;
inline constexpr int kNoSoundTop = kOnTopTop + 240;

// Client area of the main window, in twips: 5745 x 3795 with three speed modes.
inline constexpr int kMainClientWidthTwips = 5745;
inline constexpr int kMainClientHeightTwips = kNoSoundTop + 255 + 300;
inline constexpr std::string_view kMainCaption = "Tavrel for RMXP";
// While a playback runs whose Esc another program holds as its hot key.
inline constexpr std::string_view kStopKeyMissingCaption = "Tavrel for RMXP - Esc cannot stop this playback";
// While a playback goes blind into a window it cannot watch.
inline constexpr std::string_view kNotWatchingCaption = "Tavrel for RMXP - not watching this window";

// The title for a playback's warnings, and in the countdown for what the
// start check would say now; Esc's comes first, because Esc reaching the
// dialog may close it with the moves in it.
inline std::string mainCaption(bool stopKeyMissing, bool notWatching, std::string_view hint) {
    if (stopKeyMissing) return std::string(kStopKeyMissingCaption);
    if (notWatching) return std::string(kNotWatchingCaption);
    if (hint.empty()) return std::string(kMainCaption);
    return std::string(kMainCaption) + " - " + std::string(hint);
}

// Every control, in tab order.
std::span<const ControlSpec> mainWindowControls();

const ControlSpec& controlSpec(ControlId id);

// The control's rectangle in the client area's twips, containers resolved.
TwipRect clientRectTwips(const ControlSpec& control);

}  // namespace tavrel
