// The one dispatcher of command rows, and the menus made from them.
#pragma once

#include <span>
#include <string>
#include <vector>

#include <windows.h>

#include "app/command_row.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

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

// A popup menu of `rows` in their order, each greyed when it is not
// available now, its accelerator shown after a tab.
template <typename Target>
HMENU commandMenu(std::span<const CommandRow<Target>> rows, const Target& target) {
    HMENU menu = CreatePopupMenu();
    HMENU submenu = nullptr;
    std::string_view submenuName;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CommandRow<Target>& row = rows[i];
        if (row.submenu.empty()) {
            submenu = nullptr;
        } else if (!submenu || row.submenu != submenuName) {
            // A submenu is greyed when none of its items is available.
            bool any = false;
            for (std::size_t k = i; k < rows.size() && rows[k].submenu == row.submenu; ++k)
                any = any || commandAvailable(rows[k], target);
            submenu = CreatePopupMenu();
            submenuName = row.submenu;
            AppendMenuW(menu, MF_POPUP | (any ? MF_ENABLED : MF_GRAYED), reinterpret_cast<UINT_PTR>(submenu),
                        widen(row.submenu).c_str());
        }
        std::string text(row.caption);
        if (!row.accelerator.empty()) text += "\t" + std::string(row.accelerator);
        AppendMenuW(submenu ? submenu : menu, MF_STRING | (commandAvailable(row, target) ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(row.id), widen(text).c_str());
    }
    return menu;
}

// The row whose accelerator ("Del", "Ctrl+Z") is the key `virtualKey` with
// Ctrl held or not; its id, or 0.
template <typename Target>
int acceleratedCommand(std::span<const CommandRow<Target>> rows, int virtualKey, bool ctrl) {
    for (const CommandRow<Target>& row : rows) {
        std::string_view key = row.accelerator;
        if (key.empty()) continue;
        const bool needsCtrl = key.starts_with("Ctrl+");
        if (needsCtrl) key.remove_prefix(5);
        if (needsCtrl != ctrl) continue;
        if ((key == "Del" && virtualKey == VK_DELETE) || (key.size() == 1 && key[0] == virtualKey)) return row.id;
    }
    return 0;
}

// The rows' Ctrl+letter accelerators as a table for TranslateAccelerator,
// so they work wherever the focus is in the window; nullptr when none.
template <typename Target>
HACCEL ctrlAccelerators(std::span<const CommandRow<Target>> rows) {
    std::vector<ACCEL> keys;
    for (const CommandRow<Target>& row : rows) {
        std::string_view key = row.accelerator;
        if (!key.starts_with("Ctrl+") || key.size() != 6) continue;
        keys.push_back(ACCEL{FCONTROL | FVIRTKEY, static_cast<WORD>(key[5]), static_cast<WORD>(row.id)});
    }
    return keys.empty() ? nullptr : CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace tavrel::win32
