#include "app/main_commands.h"

#include <array>

namespace tavrel {

namespace {

using H = MainHandlers;

constexpr int id(ControlId c) { return static_cast<int>(c); }
constexpr int id(MenuId m) { return static_cast<int>(m); }

// A playback disables every button, as it always has (the "Actions" frame).
constexpr std::array kButtons{
    MainCommand{id(ControlId::Command4), "About", "", "", &H::about, true},
    MainCommand{id(ControlId::Command5), "Explore", "", "", &H::explore, true},
    MainCommand{id(ControlId::BtnLoad), "Load", "", "", &H::load, true},
    MainCommand{id(ControlId::BtnSave), "Save", "", "", &H::save, true},
    MainCommand{id(ControlId::BtnPreview), "Preview", "", "", &H::preview, true},
    MainCommand{id(ControlId::Command3), "Play", "", "", &H::play, true},
    MainCommand{id(ControlId::Command2), "Stop", "", "", &H::stop, true},
    MainCommand{id(ControlId::Command1), "Record", "", "", &H::record, true},
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
