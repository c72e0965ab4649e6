#include "app/main_layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace tavrel {

namespace {

using enum ControlId;
using K = ControlKind;

// Every control starts its own group but the option buttons after the first,
// so the arrow keys move only between the speed options; of those, only the
// first is a tab stop, as the system expects of a radio group.
constexpr unsigned kTab = kTabStop | kGroupStart;

constexpr std::size_t kModeCount = kSpeedModes.size();
// The "Keystrokes" frame and its list fill the window's height.
constexpr int kKeystrokesHeight = kMainClientHeightTwips - 180;

constexpr std::array<ControlSpec, 14 + kModeCount> controls() {
    std::array<ControlSpec, 14 + kModeCount> rows{};
    std::size_t n = 0;
    rows[n++] = {ChkOnTop, K::CheckBox, kWindowClientArea, "This window always on top", {120, kOnTopTop, 3135, 255},
                 "Make this application always on top", kTab};
    rows[n++] = {Frame1, K::Frame, kWindowClientArea, "Speed setting", {120, kSpeedFrameTop, 3135, kSpeedFrameHeight},
                 "", kGroupStart};
    for (std::size_t i = 0; i < kModeCount; ++i)
        rows[n++] = {speedOption(kSpeedModes[i].mode), K::OptionButton, Frame1, kSpeedModes[i].caption,
                     {120, 240 + kSpeedOptionPitch * static_cast<int>(i), 2655, 255}, kSpeedModes[i].toolTip,
                     i == 0 ? kTab : 0u};
    rows[n++] = {Frame2, K::Frame, kWindowClientArea, "Actions", {120, 120, 3135, 1575}, "", kGroupStart};
    rows[n++] = {Command4, K::Button, Frame2, "About", {2040, 1200, 975, 255}, "About this program", kTab};
    rows[n++] = {Command5, K::Button, Frame2, "Explore", {2040, 960, 975, 255}, "Explore the application directory",
                 kTab};
    rows[n++] = {BtnLoad, K::Button, Frame2, "Load", {1080, 1200, 975, 255}, "Load list from disk", kTab};
    rows[n++] = {BtnSave, K::Button, Frame2, "Save", {1080, 960, 975, 255}, "Save list to disk (TavrelXP.TXT)", kTab};
    rows[n++] = {BtnPreview, K::Button, Frame2, "Preview", {120, 960, 975, 495}, "Preview the movements", kTab};
    rows[n++] = {Command3, K::Button, Frame2, "Play", {2040, 240, 975, 495}, "Play list", kTab};
    rows[n++] = {Command2, K::Button, Frame2, "Stop", {1080, 240, 975, 495}, "Stop recording", kTab};
    rows[n++] = {Command1, K::Button, Frame2, "Record", {120, 240, 975, 495}, "Record keystrokes", kTab};
    rows[n++] = {Frame3, K::Frame, kWindowClientArea, "Keystrokes", {3360, 120, 2295, kKeystrokesHeight}, "",
                 kGroupStart};
    rows[n++] = {List1, K::ListBox, Frame3, "", {120, 240, 2055, kKeystrokesHeight - 435}, "Keystrokes", kTab};
    // Only the settings file can give it the third state; a click moves
    // between checked and unchecked.
    rows[n++] = {ChkNoSound, K::CheckBox, kWindowClientArea, "No keysend sound on play", {120, kNoSoundTop, 3135, 255},
                 "Play no click sound before each key sent", kTab | kThreeState};
    return rows;
}

constexpr auto kControls = controls();

}  // namespace

std::span<const ControlSpec> mainWindowControls() { return kControls; }

const ControlSpec& controlSpec(ControlId id) {
    auto it = std::find_if(kControls.begin(), kControls.end(), [id](const ControlSpec& c) { return c.id == id; });
    if (it == kControls.end()) throw std::out_of_range("unknown control");
    return *it;
}

TwipRect clientRectTwips(const ControlSpec& control) {
    TwipRect r = control.rect;
    if (control.container != kWindowClientArea) {
        TwipRect outer = clientRectTwips(controlSpec(control.container));
        r.left += outer.left;
        r.top += outer.top;
    }
    return r;
}

}  // namespace tavrel

// Shared by every layout.
namespace tavrel {

int twipsToPixels(int twips, int dpi) {
    // Rounded to nearest, halves away from zero, in integers.
    long long scaled = static_cast<long long>(twips) * dpi;
    long long half = 720;
    long long px = scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440);
    return static_cast<int>(px);
}

}  // namespace tavrel
