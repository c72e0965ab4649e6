// FrmAbout's controls as data: positions and sizes in twips inside the
// client area, in tab order, so one helper can create them all.
#pragma once

#include <array>
#include <string_view>

#include "app/main_layout.h"
#include "app/win32/about_text.h"

namespace tavrel {

enum class AboutKind { Picture, LinkLabel, Label, Description, Button };

// Also the controls' window ids; clear of the dialog manager's IDOK and
// IDCANCEL, so Escape reaches no control.
enum class AboutId : int { Label5 = 200, Label3, Label4, Command1, Label1, Image1 };

struct AboutControl {
    AboutId id;
    AboutKind kind;
    std::string_view caption;  // Label4's is built when the window loads
    TwipRect rect;
    std::string_view toolTip;
};

inline constexpr int kAboutClientWidthTwips = 5310;
inline constexpr int kAboutClientHeightTwips = 2985;
inline constexpr std::string_view kAboutCaption = "About";

// Tab order: the labels' indexes 0, 1, 2, then "OK" at 3 and the description
// at 4. The picture has no tab index and comes last. Only "OK" takes focus.
inline constexpr std::array kAboutControls{
    AboutControl{AboutId::Label5, AboutKind::Label, kCreditLine, {3480, 720, 555, 195}, "I made this"},
    AboutControl{AboutId::Label3, AboutKind::LinkLabel, kProjectAddress, {2760, 240, 2130, 195}, "Go to website"},
    AboutControl{AboutId::Label4, AboutKind::Label, "", {3480, 480, 555, 195}, "Application version"},
    AboutControl{AboutId::Command1, AboutKind::Button, "OK", {3960, 2400, 1215, 495}, ""},
    AboutControl{AboutId::Label1, AboutKind::Description, kDescription, {120, 1440, 4935, 855}, ""},
    AboutControl{AboutId::Image1, AboutKind::Picture, "", {120, 120, 1980, 1095}, "Click for more information"},
};

}  // namespace tavrel
