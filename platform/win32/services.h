// Win32 implementations of the platform services, gathered in one object.
#pragma once

#include <string>

#include <windows.h>

#include "platform/services.h"
#include "platform/win32/file_store.h"
#include "platform/win32/focus_watch.h"
#include "platform/win32/key_sender.h"
#include "platform/win32/stop_key.h"

namespace tavrel::win32 {

class ModKeys final : public KeyState {
public:
    std::int16_t poll(int virtualKey) override { return GetAsyncKeyState(virtualKey); }
};

class ModWave final : public SoundPlayer {
public:
    void play(const std::string& path) override;

private:
    std::string buffers_[2];
    int current_ = 0;
};

class Win32Beeper final : public Beeper {
public:
    void beep() override { MessageBeep(MB_OK); }
};

// The performance counter in seconds.
double monotonicSeconds();

class Win32Clock final : public Clock {
public:
    double seconds() override { return monotonicSeconds(); }
};

class Win32EventPump final : public EventPump {
public:
    bool pump() override;
    void waitForInput(double untilSeconds) override;
    void beginWaiting() override;
    void endWaiting() override;

private:
    int waitingLoops_ = 0;
    bool fineTimer_ = false;
};

class Win32Notifier final : public Notifier {
public:
    // Once, when the main window exists: boxes carry `title` and belong to
    // the program's active window, or to `mainWindow` when none is active.
    void attach(HWND mainWindow, std::string title);
    void message(std::string_view text, Icon icon) override;

private:
    HWND main_ = nullptr;
    std::string title_ = "Tavrel";
};

class Win32ShellLauncher final : public ShellLauncher {
public:
    std::string launch(const std::string& commandLine, ShowStyle style) override;
};

class ModSetTop final : public WindowOrder {
public:
    void setTop(std::int16_t flag) override;
    HWND window = nullptr;
};

// Processes every pending message, giving dialog navigation (Tab, arrows)
// to the program's windows. False once the program is ending: then it
// dispatches nothing more, so no handler runs after the close.
bool pumpMessages();

// The one way the program ends: every loop that pumps messages sees it at
// its next pump and returns without any further effect, down to WinMain.
void endProgram();
bool programEnding();

// The program to start for a command line: a bare program name is looked up
// in the Windows directory, then the system directory, never in the program
// folder or the current directory.
std::wstring launchTarget(const std::wstring& commandLine);

struct Win32Services {
    ModKeys keys;
    Win32KeySender sender;
    ModWave sound;
    Win32Beeper beeper;
    Win32Clock clock;
    Win32EventPump events;
    Win32Notifier notifier;
    Win32ShellLauncher shell;
    ModSetTop order;
    Win32FileStore files;
    Win32FocusWatch focus;
    Win32StopKey stopKey;

    Services services() {
        return Services{keys, sender, sound, beeper, clock, events, notifier, shell, order, files, focus, stopKey};
    }
};

}  // namespace tavrel::win32
