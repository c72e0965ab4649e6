#include "app/main_commands.h"

#include <array>

namespace tavrel {

namespace {

using H = MainHandlers;

constexpr int id(ControlId c) { return static_cast<int>(c); }
constexpr int id(MenuId m) { return static_cast<int>(m); }

// A button's row names its control, whose caption the layout holds. A
// playback disables every button (the "Actions" frame).
constexpr MainCommand button(ControlId control, void (H::*action)()) { return {id(control), "", "", "", action, true}; }

constexpr std::array kButtons{
    button(ControlId::Command4, &H::about),   button(ControlId::Command5, &H::explore),
    button(ControlId::BtnLoad, &H::load),     button(ControlId::BtnSave, &H::save),
    button(ControlId::BtnPreview, &H::preview), button(ControlId::Command3, &H::play),
    button(ControlId::Command2, &H::stop),    button(ControlId::Command1, &H::record),
};

// While a playback runs the menu offers nothing: each item would change the
// list or start a playback.
constexpr std::array kListMenu{
    MainCommand{id(MenuId::PlayFromHere), "&Play from here", "", "", &H::playFromHere, true, &H::hasSelection},
    MainCommand{id(MenuId::Resume), "&Resume", "", "", &H::resume, true, &H::canResume},
    MainCommand{id(MenuId::InsertUp), "&Up", "&Insert", "", &H::insertUp, true, &H::canInsert},
    MainCommand{id(MenuId::InsertDown), "&Down", "&Insert", "", &H::insertDown, true, &H::canInsert},
    MainCommand{id(MenuId::InsertLeft), "&Left", "&Insert", "", &H::insertLeft, true, &H::canInsert},
    MainCommand{id(MenuId::InsertRight), "&Right", "&Insert", "", &H::insertRight, true, &H::canInsert},
    MainCommand{id(MenuId::Delete), "&Delete", "", "Del", &H::deleteEntry, true, &H::hasSelection},
    MainCommand{id(MenuId::Reverse), "Re&verse", "", "", &H::reverse, true, &H::hasEntries},
    MainCommand{id(MenuId::AppendWayBack), "Append way &back", "", "", &H::appendWayBack, true, &H::canAppendWayBack},
    MainCommand{id(MenuId::Undo), "&Undo", "", "Ctrl+Z", &H::undo, true, &H::canUndo},
    // No two items of the menu share an access key: with &Delete's D here
    // too, D would only move between them.
    MainCommand{id(MenuId::Redo), "Red&o", "", "Ctrl+Y", &H::redo, true, &H::canRedo},
};

}  // namespace

std::span<const MainCommand> buttonCommands() { return kButtons; }
std::span<const MainCommand> listMenuCommands() { return kListMenu; }

}  // namespace tavrel
