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

#include "app/number_reading.h"
#include "app/settings_file.h"
#include "macro/list_file.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// Stands in for the main window: holds the three settings and refuses any
// value the real controls could not take.
class Controls final : public tavrel::SettingsView {
public:
    bool modeSelected(int index) const override { return mode_ == index; }
    void selectMode(int index) override {
        require(index >= 0 && index <= 2);
        mode_ = index;
    }
    int noSound() const override { return noSound_; }
    void setNoSound(int value) override {
        require(value >= 0 && value <= 2);
        noSound_ = value;
    }
    int onTop() const override { return onTop_; }
    void setOnTop(int value) override {
        require(value == 1);
        onTop_ = value;
    }

    int mode() const { return mode_; }

private:
    int mode_ = tavrel::kModeSurpressed;
    int noSound_ = 1;
    int onTop_ = 0;
};

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

    Controls controls;
    tavrel::applySettings(bytes, controls);
    require(controls.noSound() >= 0 && controls.noSound() <= 2);
    require(controls.mode() >= 0 && controls.mode() <= 2);
    require(controls.onTop() == 0 || controls.onTop() == 1);

    // Whatever was loaded is written back and loads again unchanged.
    Controls reloaded;
    tavrel::applySettings(tavrel::settingsText(controls), reloaded);
    require(reloaded.onTop() == controls.onTop());
    require(reloaded.noSound() == controls.noSound());
    require(reloaded.mode() == controls.mode());
    return 0;
}
