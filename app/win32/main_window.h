// FrmTavrel: the main window, its controls, and the wiring of its events to
// the handlers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "app/main_handlers.h"
#include "app/main_layout.h"
#include "app/win32/controls.h"
#include "app/win32/window.h"
#include "macro/keystroke_list.h"
#include "app/main_controls.h"
#include "platform/win32/app_facts.h"
#include "platform/win32/services.h"

namespace tavrel::win32 {

class FrmTavrel final : public Window, public KeystrokeList, public MainControls, public ModalWindows {
public:
    FrmTavrel(const AppFacts& facts, Win32Services& system);

    // Creates the window and its controls, runs Form_Load, then shows it.
    bool create(HINSTANCE instance);

    // KeystrokeList: the entries are kept byte for byte beside the list
    // box, which only displays them.
    void clear() override;
    bool append(const std::string& entry) override;
    int count() const override { return static_cast<int>(entries_.size()); }
    std::string entry(int index) const override { return entries_.at(static_cast<std::size_t>(index)); }
    void select(int index) override;
    std::size_t assign(const std::vector<std::string>& entries) override;

    // MainControls
    void setBusy(bool busy) override;
    void setPlayCaption(std::string_view caption) override;
    void showStopKeyMissing(bool missing) override;
    bool modeSelected(int index) const override;
    void selectMode(int index) override;
    int noSound() const override;
    void setNoSound(int value) override;
    int onTop() const override;
    void setOnTop(int value) override;

    // ModalWindows
    void showPreview() override;
    void showAbout() override;

private:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void createControls();
    void createToolTips();
    void onCommand(ControlId id, WORD code);
    void unloadAndEnd();
    HWND control(ControlId id) const { return Window::control(static_cast<int>(id)); }

    const AppFacts& facts_;
    Win32Services& system_;
    Services services_;
    MainHandlers handlers_;
    HINSTANCE instance_ = nullptr;
    HWND toolTip_ = nullptr;
    int dpi_ = 96;
    std::optional<ControlFonts> fonts_;
    std::vector<std::string> entries_;
};

}  // namespace tavrel::win32
