// A window's controls as rows of data: what each control is, where it sits
// in twips inside its container, and how it takes the keyboard. One helper
// in app/win32 turns any such table into controls, so adding a control is
// adding a row.
#pragma once

#include <string_view>

namespace tavrel {

enum class ControlKind { CheckBox, Frame, OptionButton, Button, DefaultButton, ListBox, Label, Picture };

// Which of the program's few fonts a control is drawn in.
enum class FontRole {
    Message,      // the system's message font, as the main window's controls use
    Label,        // "MS Sans Serif" 8.25 pt
    Link,         // the same, underlined
    SmallPrint,   // "Small Fonts" 6.75 pt
};

// How a control joins the dialog navigation and shows itself.
enum ControlFlag : unsigned {
    kTabStop = 1u << 0,     // Tab stops here
    kGroupStart = 1u << 1,  // starts a group: arrow keys stay inside a group
    kThreeState = 1u << 2,  // a check box that can also show the third state
    kFitText = 1u << 3,     // a label that sizes itself to its text
};

struct TwipRect {
    int left, top, width, height;
};

// `Id` is the window's own enumeration of its controls; its values are also
// the controls' window ids. Id{0} as container stands for the client area.
template <typename Id>
struct ControlRow {
    Id id;
    ControlKind kind;
    Id container;
    std::string_view caption;
    TwipRect rect;  // inside the container
    std::string_view toolTip;
    unsigned flags = 0;
    FontRole font = FontRole::Message;
};

// Twips to pixels at `dpi` (15 twips make one pixel at 96 dpi), rounded to
// the nearest pixel.
int twipsToPixels(int twips, int dpi);

}  // namespace tavrel
