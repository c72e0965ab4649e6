// The main window's event handlers, free of any window system: app/win32
// wires the window's events here, tests drive them with fakes.
#pragma once

#include <optional>
#include <string>

#include "app/path_model.h"
#include "app/main_view.h"
#include "app/settings.h"
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
    MainHandlers(PathModel& list, MainView& view, Services& services, ModalWindows& windows);

    // Form_Load: fixes AppDir from the program folder, then restores the settings.
    void Form_Load(const std::string& programFolder);
    // Form_Unload: writes the settings. The caller then ends the program at once.
    void Form_Unload();

    void Command1_Click() { recorder_->record(); }  // Record
    void Command2_Click() { recorder_->stop(); }    // Stop
    void Command3_Click() { player_->play(); }      // Play
    void BtnLoad_Click();
    void BtnSave_Click();
    void BtnPreview_Click() { windows_.showPreview(); }
    void Command4_Click() { windows_.showAbout(); }  // About
    void Command5_Click();                           // Explore

    // The settings as the user changes them in the window.
    const Settings& settings() const { return settings_; }
    void setSpeedMode(SpeedMode mode) { settings_.mode = mode; }
    void setNoSound(int value) { settings_.noSound = value; }
    // Also switches "always on top" on or off.
    void setOnTop(int value);

    const std::string& appDir() const { return appDir_; }
    const std::string& programFolder() const { return programFolder_; }

private:
    // What the player reads and changes: the settings here, the rest the window's.
    class PlaybackSide final : public PlaybackView {
    public:
        explicit PlaybackSide(MainHandlers& h) : h_(h) {}
        SpeedMode speedMode() const override { return h_.settings_.mode; }
        int noSound() const override { return h_.settings_.noSound; }
        void setPlayCaption(std::string_view caption) override { h_.view_.setPlayCaption(caption); }
        void setBusy(bool busy) override { h_.view_.setBusy(busy); }

    private:
        MainHandlers& h_;
    };

    void switchOnTop();

    PathModel& list_;
    MainView& view_;
    Services& services_;
    ModalWindows& windows_;
    Settings settings_;
    PlaybackSide playbackSide_{*this};
    std::string programFolder_;
    std::string appDir_;
    std::optional<Recorder> recorder_;
    std::optional<Player> player_;
};

// The program folder with exactly one trailing backslash.
std::string appDirFrom(const std::string& programFolder);

}  // namespace tavrel
