#include "core/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/number_reading.h"
#include "core/list_file.h"
#include "core/speed_mode.h"

namespace tavrel {

namespace {

// The no-sound box takes 0, 1 and 2 (the third state is only reachable this
// way), the mode one index of the speed-mode table.
std::optional<int> smallSetting(const std::vector<std::string>& lines, std::size_t index, int highest) {
    if (index >= lines.size()) return std::nullopt;
    std::optional<double> value = numericValue(lines[index]);
    if (!value) return std::nullopt;
    std::optional<std::int16_t> rounded = roundToInteger(*value);
    if (!rounded || *rounded < 0 || *rounded > highest) return std::nullopt;
    return static_cast<int>(*rounded);
}

}  // namespace

void readSettings(std::string_view fileBytes, Settings& settings, const std::function<void()>& onTopSwitchedOn) {
    std::vector<std::string> lines = readLines(fileBytes);
    if (lines.empty()) return;

    std::optional<double> onTop = numericValue(lines[0]);
    if (!onTop) return;
    // Any non-zero value counts, unrounded, so 0.4 still turns it on.
    if (*onTop != 0.0 && settings.onTop != 1) {
        settings.onTop = 1;
        if (onTopSwitchedOn) onTopSwitchedOn();
    }

    std::optional<int> noSound = smallSetting(lines, 1, 2);
    if (!noSound) return;
    settings.noSound = *noSound;

    std::optional<int> mode = smallSetting(lines, 2, static_cast<int>(kSpeedModes.size()) - 1);
    if (!mode) return;
    settings.mode = static_cast<SpeedMode>(*mode);
}

std::string settingsText(const Settings& settings) {
    return std::to_string(settings.onTop) + "\r\n" + std::to_string(settings.noSound) + "\r\n" +
           std::to_string(static_cast<int>(settings.mode)) + "\r\n";
}

}  // namespace tavrel
