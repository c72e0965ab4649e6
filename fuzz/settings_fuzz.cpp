// Feeds arbitrary bytes to the settings reader: every line through the number
// reader and the rounding, and the whole text through the load step.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/number_reading.h"
#include "core/settings_file.h"
#include "core/list_file.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// Only values the window's controls can show.
void requireShowable(const tavrel::Settings& s) {
    require(s.noSound >= 0 && s.noSound <= 2);
    require(static_cast<int>(s.mode) >= 0 && static_cast<std::size_t>(s.mode) < tavrel::kSpeedModes.size());
    require(s.onTop == 0 || s.onTop == 1);
}

void checkRounding(double value) {
    std::optional<std::int16_t> rounded = tavrel::roundToInteger(value);
    // Exactly the values whose nearest-even integer is a 16-bit one round;
    // -32768.5 goes to -32768 but 32767.5 goes to 32768.
    const bool fits = value >= -32768.5 && value < 32767.5;
    require(rounded.has_value() == fits);
    if (!rounded) return;
    const double r = static_cast<double>(*rounded);
    const double distance = std::fabs(value - r);
    require(distance <= 0.5);
    if (distance == 0.5) require(std::fmod(r, 2.0) == 0.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (const std::string& line : tavrel::readLines(bytes)) {
        std::optional<double> value = tavrel::numericValue(line);
        if (!value) continue;
        require(std::isfinite(*value));
        checkRounding(*value);
    }

    // The raw bytes as a double reach NaN, infinities and subnormals too.
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        checkRounding(raw);
    }

    tavrel::Settings settings;
    tavrel::readSettings(bytes, settings, [&] { require(settings.onTop == 1); });
    requireShowable(settings);

    // Whatever was loaded is written back and loads again unchanged.
    tavrel::Settings reloaded;
    tavrel::readSettings(tavrel::settingsText(settings), reloaded);
    require(reloaded.onTop == settings.onTop);
    require(reloaded.noSound == settings.noSound);
    require(reloaded.mode == settings.mode);
    return 0;
}
