// Commands as rows of data: what the user sees of a command, what it does
// and when it is available. Buttons, the menu and the keyboard all name a
// command by its id, and one dispatcher in app/win32 runs it, so adding a
// command is adding a row and a handler.
#pragma once

#include <string_view>

namespace tavrel {

// `Target` is the object whose member functions the commands run.
template <typename Target>
struct CommandRow {
    int id;  // the window's command id: a button's control id, or a menu item's
    // A menu item's, with '&' before the access key; empty for a control,
    // which has its own. A menu item in a submenu names it in `submenu`;
    // rows with the same submenu stand together.
    std::string_view caption;
    std::string_view submenu;
    std::string_view accelerator;  // as the menu shows it, e.g. "Ctrl+Z"
    void (Target::*action)();
    // Whether a playback makes it unavailable.
    bool busyDisables;
    // When it applies at all; nullptr: always.
    bool (Target::*applies)() const = nullptr;
};

}  // namespace tavrel

namespace tavrel {

// Whether the user may run `row` now.
template <typename Target>
bool commandAvailable(const CommandRow<Target>& row, const Target& target) {
    if (row.busyDisables && target.busy()) return false;
    return row.applies == nullptr || (target.*row.applies)();
}

}  // namespace tavrel
