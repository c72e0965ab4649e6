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
#include "core/path_model.h"
#include "app/main_view.h"
#include "platform/win32/app_facts.h"
#include "platform/win32/dialog_watch.h"
#include "platform/win32/services.h"

namespace tavrel::win32 {

class FrmTavrel final : public Window, public PathView, public MainView, public ModalWindows {
public:
    FrmTavrel(const AppFacts& facts, Win32Services& system);

    // Creates the window and its controls, restores the settings, then shows it.
    bool create(HINSTANCE instance);

    // PathView: the list box only shows the path, which the model keeps
    // byte for byte.
    void changed(const PathChange& change) override;
    void selected(int index) override;

    // MainView
    void setBusy(bool busy) override;
    void setPlayCaption(std::string_view caption) override;
    void showSettings(const Settings& settings) override;
    void showStopKeyMissing(bool missing) override;
    void showNotWatching(bool notWatching) override;
    void showHint(std::string_view hint) override;

    // ModalWindows
    void showPreview() override;
    void showAbout() override;

private:
    void showTitle();
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void createControls();
    void createToolTips();
    void onCommand(int id, WORD code, bool fromControl);
    void showListMenu(LPARAM at);
    LRESULT listKey(WPARAM wParam);
    void unloadAndEnd();
    HWND control(ControlId id) const { return Window::control(static_cast<int>(id)); }

    const AppFacts& facts_;
    Win32Services& system_;
    Services services_;
    Win32DialogWatch dialogWatch_;
    PathModel path_;
    MainHandlers handlers_;
    HINSTANCE instance_ = nullptr;
    HWND toolTip_ = nullptr;
    int dpi_ = 96;
    std::optional<ControlFonts> fonts_;
    HACCEL accelerators_ = nullptr;
    // The title shows the warnings of the playback running now.
    bool stopKeyMissing_ = false;
    bool notWatching_ = false;
    std::string hint_;
};

}  // namespace tavrel::win32
