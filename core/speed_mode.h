// The three speed modes and everything that differs between them: the
// option buttons, the settings file and the player all read this table.
#pragma once

#include <array>
#include <string_view>

namespace tavrel {

// The values are the settings file's mode indexes.
enum class SpeedMode { Original = 0, Surpressed = 1, UltraSurpressed = 2 };

struct SpeedModeRow {
    SpeedMode mode;
    std::string_view caption;
    std::string_view toolTip;
    // The pause before every piece, in single precision. 0: none.
    float wait;
    // Whether a click sounds before every piece (unless the user turned it off).
    bool click;
};

// One row per mode, in the order of the enumeration; the main window shows
// one option button per row.
inline constexpr auto kSpeedModes = std::to_array<SpeedModeRow>({
    {SpeedMode::Original, "Original", "Send keystrokes at maximum speed (for really fast computers)", 0.0f, false},
    {SpeedMode::Surpressed, "Surpressed (recommended)",
     "Send keystrokes at a slightly slower rate (for most computers)", 0.01f, true},
    {SpeedMode::UltraSurpressed, "Ultra-surpressed", "Send keystrokes at a much slower rate (for slower computers)",
     0.05f, true},
});

constexpr const SpeedModeRow& speedModeRow(SpeedMode mode) { return kSpeedModes[static_cast<std::size_t>(mode)]; }

}  // namespace tavrel
