// Turns a table of control rows into the window's controls.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include <windows.h>

#include "app/control_row.h"

namespace tavrel::win32 {

// The fonts of one window at its dpi, made on first use and deleted with it.
class ControlFonts {
public:
    explicit ControlFonts(int dpi) : dpi_(dpi) {}
    ~ControlFonts();
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;
    HFONT of(FontRole role);

private:
    int dpi_;
    std::array<HFONT, 4> fonts_{};
};

// One row with its container resolved: the rectangle is in the client area.
struct ControlToMake {
    int id;
    ControlKind kind;
    std::string_view caption;
    TwipRect clientRect;
    std::string_view toolTip;
    unsigned flags;
    FontRole font;
};

HWND createControl(const ControlToMake& row, HWND parent, ControlFonts& fonts, HWND toolTips, int dpi);

// Sizes a label to its text in its font, keeping its top-left corner.
void sizeToText(HWND label);

// Creates a control for every row, in the rows' order, which is the tab
// order; containers must come before what they hold.
template <typename Id>
void createControls(std::span<const ControlRow<Id>> rows, HWND parent, ControlFonts& fonts, HWND toolTips,
                    int dpi) {
    for (const ControlRow<Id>& row : rows) {
        TwipRect r = row.rect;
        for (Id outer = row.container; outer != Id{0};) {
            const ControlRow<Id>* holder = nullptr;
            for (const ControlRow<Id>& candidate : rows)
                if (candidate.id == outer) holder = &candidate;
            if (!holder) break;
            r.left += holder->rect.left;
            r.top += holder->rect.top;
            outer = holder->container;
        }
        createControl({static_cast<int>(row.id), row.kind, row.caption, r, row.toolTip, row.flags, row.font},
                      parent, fonts, toolTips, dpi);
    }
}

}  // namespace tavrel::win32
