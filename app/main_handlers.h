// The main window's event handlers, free of any window system: app/win32
// wires the window's events here, tests drive them with fakes.
#pragma once

#include <optional>
#include <string>

#include "macro/keystroke_list.h"
#include "app/main_controls.h"
#include "macro/player.h"
#include "macro/recorder.h"
#include "platform/services.h"

namespace tavrel {

// The two modal windows the main window opens.
class ModalWindows {
public:
    virtual ~ModalWindows() = default;
    // Returns when the preview window has been closed.
    virtual void showPreview() = 0;
    // Hides the main window, shows About until it closes, shows the main window again.
    virtual void showAbout() = 0;
};

class MainHandlers {
public:
    MainHandlers(KeystrokeList& list, MainControls& controls, Services& services, ModalWindows& windows);

    // Form_Load: fixes AppDir from the program folder, then restores the settings.
    void Form_Load(const std::string& programFolder);
    // Form_Unload: writes the settings. The caller then ends the program at once.
    void Form_Unload();

    void Command1_Click() { recorder_->record(); }  // Record
    void Command2_Click() { recorder_->stop(); }    // Stop
    void Command3_Click();                          // Play
    void BtnLoad_Click();
    void BtnSave_Click();
    void BtnPreview_Click() { windows_.showPreview(); }
    void Command4_Click() { windows_.showAbout(); }  // About
    void Command5_Click();                           // Explore
    void ChkOnTop_Click();

    const std::string& appDir() const { return appDir_; }
    const std::string& programFolder() const { return programFolder_; }

private:
    KeystrokeList& list_;
    MainControls& controls_;
    Services& services_;
    ModalWindows& windows_;
    std::string programFolder_;
    std::string appDir_;
    std::optional<Recorder> recorder_;
    std::optional<Player> player_;
};

// The program folder with exactly one trailing backslash.
std::string appDirFrom(const std::string& programFolder);

}  // namespace tavrel
