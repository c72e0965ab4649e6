// The settings file: on-top flag, no-sound flag and speed mode, one per line,
// restored into the main window's controls at start and written at the end.
#pragma once

#include <string>
#include <string_view>

#include "app/settings_view.h"
#include "macro/playback_view.h"

namespace tavrel {

inline constexpr const char* kSettingsFileName = "TavrelXP.vmi";

// Applies the file's lines to the controls one by one. The first line that is
// missing or cannot be applied ends it silently; earlier lines stay applied.
void applySettings(std::string_view fileBytes, SettingsView& controls);

// The file as written on close: the two check-box values and the selected
// mode index, each followed by CR LF.
std::string settingsText(const SettingsView& controls);

}  // namespace tavrel
