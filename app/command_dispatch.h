// Running command rows and showing them in a menu, without the window
// system: the window hands over the id it was given, or builds its menu
// from these items, so what runs and what is greyed is decided here.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_row.h"

namespace tavrel {

// Runs the row with `id` if the user may run it now; false when no row has
// that id.
template <typename Target>
bool runCommand(std::span<const CommandRow<Target>> rows, int id, Target& target) {
    for (const CommandRow<Target>& row : rows) {
        if (row.id != id) continue;
        if (commandAvailable(row, target)) (target.*row.action)();
        return true;
    }
    return false;
}

// One item of a menu of command rows, as the user sees it now.
struct MenuItem {
    int id;
    std::string text;  // the caption, and the accelerator after a tab
    bool enabled;
    std::string_view submenu;  // empty: in the menu itself
    // A submenu is greyed when none of its items is available.
    bool submenuEnabled;
};

// The items of a menu of `rows`, in their order.
template <typename Target>
std::vector<MenuItem> menuItems(std::span<const CommandRow<Target>> rows, const Target& target) {
    std::vector<MenuItem> items;
    for (const CommandRow<Target>& row : rows) {
        std::string text(row.caption);
        if (!row.accelerator.empty()) text += "\t" + std::string(row.accelerator);
        items.push_back({row.id, std::move(text), commandAvailable(row, target), row.submenu, false});
    }
    for (MenuItem& item : items)
        for (const MenuItem& other : items)
            if (!item.submenu.empty() && other.submenu == item.submenu)
                item.submenuEnabled = item.submenuEnabled || other.enabled;
    return items;
}

}  // namespace tavrel
