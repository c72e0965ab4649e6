// The settings file: on-top flag, no-sound flag and speed mode, one per line,
// read at start and written at the end.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace tavrel {

inline constexpr const char* kSettingsFileName = "TavrelXP.vmi";

// Applies the file's lines to `settings` one by one. The first line that is
// missing or cannot be applied ends it silently; earlier lines stay applied.
// `onTopSwitchedOn` runs the moment the first line turns the on-top flag on,
// before the later lines are read, as a click on the box would.
void readSettings(std::string_view fileBytes, Settings& settings,
                  const std::function<void()>& onTopSwitchedOn = {});

// The file as written on close: the two check-box values and the mode index,
// each followed by CR LF.
std::string settingsText(const Settings& settings);

}  // namespace tavrel
