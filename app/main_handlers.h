// The main window's event handlers, free of any window system: app/win32
// wires the window's events here, tests drive them with fakes.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/playback_messages.h"
#include "core/direction.h"
#include "core/path_model.h"
#include "app/main_view.h"
#include "core/settings.h"
#include "core/player.h"
#include "core/recorder.h"
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
    // `watch`: how playback sees the dialog it plays into; none plays blind.
    MainHandlers(PathModel& path, MainView& view, Services& services, ModalWindows& windows,
                 DialogWatch* watch = nullptr);

    // At start: fixes the program folder, then restores the settings.
    void start(const std::string& programFolder);
    // At close: writes the settings. The caller then ends the program at once.
    void finish();

    // The buttons.
    void record();  // the whole recording is one step of the path's history
    void stop() { recorder_->stop(); }
    void play();
    void load();
    void save();
    void preview() { windows_.showPreview(); }
    void about() { windows_.showAbout(); }
    void explore();

    // Runs `track`, which shows the keystroke list's menu until the user
    // has chosen; the arrows pressed in it are no moves of a recording.
    void trackingMenu(const std::function<void()>& track) { takingKeys(track); }

    // The keystroke list's menu.
    void playFromHere();
    void resume();
    void insertUp() { insert(DirectionId::Up); }
    void insertDown() { insert(DirectionId::Down); }
    void insertLeft() { insert(DirectionId::Left); }
    void insertRight() { insert(DirectionId::Right); }
    void deleteEntry() { path_.eraseSelected(); }
    void reverse() { path_.reverse(); }
    void appendWayBack() { path_.appendWayBack(); }
    void undo() { path_.undo(); }
    void redo() { path_.redo(); }

    // When the menu's commands apply (a playback aside).
    bool hasSelection() const { return path_.selected() >= 0; }
    bool canResume() const { return player_ && player_->canResume(); }
    bool canInsert() const { return path_.count() < kListCapacity; }
    bool hasEntries() const { return path_.count() > 0; }
    bool canAppendWayBack() const { return path_.canAppendWayBack(); }
    bool canUndo() const { return path_.canUndo(); }
    bool canRedo() const { return path_.canRedo(); }
    bool recording() const { return recorder_->recording(); }
    // True while a playback runs; the window's loop steps it.
    bool busy() const { return busy_; }

    // The settings as the user changes them in the window.
    const Settings& settings() const { return settings_; }
    void setSpeedMode(SpeedMode mode) { settings_.mode = mode; }
    void setNoSound(int value) { settings_.noSound = value; }
    // Also switches "always on top" on or off.
    void setOnTop(int value);

    const std::string& appDir() const { return appDir_; }
    const std::string& programFolder() const { return programFolder_; }

private:
    // What the player changes of the window; a playback also makes the handlers busy.
    class PlaybackSide final : public PlaybackView {
    public:
        explicit PlaybackSide(MainHandlers& h) : h_(h) {}
        void setPlayCaption(std::string_view caption) override { h_.view_.setPlayCaption(caption); }
        void showStopKeyMissing(bool missing) override { h_.view_.showStopKeyMissing(missing); }
        void showNotWatching(bool notWatching) override { h_.view_.showNotWatching(notWatching); }
        void showHint(std::string_view hint) override { h_.view_.showHint(hint); }
        void setBusy(bool busy) override {
            h_.busy_ = busy;
            h_.view_.setBusy(busy);
            // The keys it sends are no path the user walked: a recording
            // that runs meanwhile takes none of them.
            h_.recorder_->keysTakenElsewhere(busy);
        }
        void ended(const PlaybackOutcome& outcome) override { showOutcome(h_.services_.notifier, outcome); }

    private:
        MainHandlers& h_;
    };

    void insert(DirectionId direction) { path_.insert(std::string(tavrel::direction(direction).name)); }
    void switchOnTop();
    void takingKeys(const std::function<void()>& taker);

    PathModel& path_;
    MainView& view_;
    Services& services_;
    ModalWindows& windows_;
    DialogWatch* watch_;
    Settings settings_;
    bool busy_ = false;
    PlaybackSide playbackSide_{*this};
    std::string programFolder_;
    std::string appDir_;
    std::optional<Recorder> recorder_;
    std::optional<Player> player_;
};

// The program folder with exactly one trailing backslash.
std::string appDirFrom(const std::string& programFolder);

}  // namespace tavrel
