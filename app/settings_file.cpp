#include "app/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/number_reading.h"
#include "macro/list_file.h"

namespace tavrel {

namespace {

// Both the no-sound box and the mode group accept exactly 0, 1 and 2; the
// third state of the box is only reachable this way.
std::optional<int> smallSetting(const std::vector<std::string>& lines, std::size_t index) {
    if (index >= lines.size()) return std::nullopt;
    std::optional<double> value = numericValue(lines[index]);
    if (!value) return std::nullopt;
    std::optional<std::int16_t> rounded = roundToInteger(*value);
    if (!rounded || *rounded < 0 || *rounded > 2) return std::nullopt;
    return static_cast<int>(*rounded);
}

}  // namespace

void applySettings(std::string_view fileBytes, SettingsView& controls) {
    std::vector<std::string> lines = readLines(fileBytes);
    if (lines.empty()) return;

    std::optional<double> onTop = numericValue(lines[0]);
    if (!onTop) return;
    // Any non-zero value counts, unrounded, so 0.4 still turns it on; going
    // through the control runs its click behaviour and raises the window.
    if (*onTop != 0.0) controls.setOnTop(1);

    std::optional<int> noSound = smallSetting(lines, 1);
    if (!noSound) return;
    controls.setNoSound(*noSound);

    std::optional<int> mode = smallSetting(lines, 2);
    if (!mode) return;
    controls.selectMode(*mode);
}

std::string settingsText(const SettingsView& controls) {
    std::string text;
    text += std::to_string(controls.onTop());
    text += "\r\n";
    text += std::to_string(controls.noSound());
    text += "\r\n";
    for (int k = kModeOriginal; k <= kModeUltraSurpressed; ++k) {
        if (controls.modeSelected(k)) {
            text += static_cast<char>('0' + k);
            text += "\r\n";
        }
    }
    return text;
}

}  // namespace tavrel
