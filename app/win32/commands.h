// The menus made from command rows, and their accelerators.
#pragma once

#include <span>
#include <string>
#include <vector>

#include <windows.h>

#include "app/command_dispatch.h"
#include "app/command_row.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

// A popup menu of `rows` in their order, each greyed when it is not
// available now, its accelerator shown after a tab. Rows with the same
// submenu stand together.
template <typename Target>
HMENU commandMenu(std::span<const CommandRow<Target>> rows, const Target& target) {
    HMENU menu = CreatePopupMenu();
    HMENU submenu = nullptr;
    std::string_view submenuName;
    for (const MenuItem& item : menuItems(rows, target)) {
        if (item.submenu.empty()) {
            submenu = nullptr;
        } else if (!submenu || item.submenu != submenuName) {
            submenu = CreatePopupMenu();
            submenuName = item.submenu;
            AppendMenuW(menu, MF_POPUP | (item.submenuEnabled ? MF_ENABLED : MF_GRAYED),
                        reinterpret_cast<UINT_PTR>(submenu), widen(item.submenu).c_str());
        }
        AppendMenuW(submenu ? submenu : menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(item.id), widen(item.text).c_str());
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
