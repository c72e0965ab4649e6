// FrmAbout's controls as data: positions and sizes in twips inside the
// client area, in tab order, so one helper can create them all.
#pragma once

#include <array>
#include <string_view>

#include "app/about_text.h"
#include "app/control_row.h"

namespace tavrel {

// Also the controls' window ids; clear of the dialog manager's IDOK and
// IDCANCEL, so Escape reaches no control.
enum class AboutId : int { Label5 = 200, Label3, Label4, Command1, Label1, Image1 };

// Label4's caption is built when the window loads.
using AboutControl = ControlRow<AboutId>;
inline constexpr AboutId kAboutClientArea = AboutId{0};

inline constexpr int kAboutClientWidthTwips = 5310;
inline constexpr int kAboutClientHeightTwips = 2985;
inline constexpr std::string_view kAboutCaption = "About";

// Tab order: the labels' indexes 0, 1, 2, then "OK" at 3 and the description
// at 4. The picture has no tab index and comes last. Only "OK" takes focus.
inline constexpr std::array kAboutControls{
    AboutControl{AboutId::Label5, ControlKind::Label, kAboutClientArea, kCreditLine, {3480, 720, 555, 195},
                 "I made this", kFitText, FontRole::Label},
    AboutControl{AboutId::Label3, ControlKind::Label, kAboutClientArea, kProjectAddress, {2760, 240, 2130, 195},
                 "Go to website", kFitText, FontRole::Link},
    AboutControl{AboutId::Label4, ControlKind::Label, kAboutClientArea, "", {3480, 480, 555, 195},
                 "Application version", kFitText, FontRole::Label},
    AboutControl{AboutId::Command1, ControlKind::DefaultButton, kAboutClientArea, "OK", {3960, 2400, 1215, 495}, "",
                 kTabStop | kGroupStart, FontRole::Label},
    AboutControl{AboutId::Label1, ControlKind::Label, kAboutClientArea, kDescription, {120, 1440, 4935, 855}, "", 0,
                 FontRole::SmallPrint},
    AboutControl{AboutId::Image1, ControlKind::Picture, kAboutClientArea, "", {120, 120, 1980, 1095},
                 "Click for more information"},
};

}  // namespace tavrel
