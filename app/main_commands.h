// Every command of the main window, one row each: the eight action buttons
// and the keystroke list's menu.
#pragma once

#include <span>

#include "app/command_row.h"
#include "app/main_handlers.h"
#include "app/main_layout.h"

namespace tavrel {

using MainCommand = CommandRow<MainHandlers>;

// The menu's own command ids, clear of the controls' ids.
enum class MenuId : int {
    PlayFromHere = 300,
    Resume,
    InsertUp,
    InsertDown,
    InsertLeft,
    InsertRight,
    Delete,
    Undo,
    Redo,
    Reverse,
    AppendWayBack,
};

// The buttons, in tab order.
std::span<const MainCommand> buttonCommands();
// The keystroke list's menu, in the order it shows them.
std::span<const MainCommand> listMenuCommands();

}  // namespace tavrel
