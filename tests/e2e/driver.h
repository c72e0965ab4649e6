// Drives a real tavrel.exe under Wine (or Windows) from the outside, the way
// a user would: windows found by caption and class, buttons clicked by
// posted messages, controls read with their messages. Every wait is bounded
// and says what it saw when it gives up.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// Generous: the machines are shared and slow at times.
inline constexpr Millis kWait = 30s;

// Polls `condition` until it holds or `timeout` passes; false on timeout.
bool waitUntil(const std::function<bool()>& condition, Millis timeout = kWait);

std::wstring widen(const std::string& s);
std::string narrow(const std::wstring& s);

// The Linux path of a Windows path, or empty when not running under Wine.
std::string unixPath(const std::wstring& windowsPath);

// A path the file functions take at any length: beyond MAX_PATH in its
// "\\?\" form, which Windows needs without the long-path policy.
std::wstring anyLength(const std::wstring& path);

// A fresh program folder holding copies of tavrel.exe and its sound files.
class ProgramFolder {
public:
    ProgramFolder();
    // The folder `name` (which may hold several levels, "a\\b") inside a
    // fresh folder of its own, root(), where a test may put neighbours. An
    // empty name makes the fresh folder itself the program folder. A
    // `length` pads the last level with 'x' until path() is that long.
    explicit ProgramFolder(const std::wstring& name, std::size_t length = 0);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::wstring& path() const { return path_; }
    const std::wstring& root() const { return root_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    void write(const std::wstring& name, const std::string& bytes) const;
    // Empty optional-like: `exists` false when the file is missing.
    std::string read(const std::wstring& name, bool* exists = nullptr) const;

private:
    std::wstring root_;
    std::wstring path_;
};

// Writes and reads whole files at any path length.
void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path, bool* exists = nullptr);

// One running tavrel.exe.
class App {
public:
    explicit App(const ProgramFolder& folder);
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND main() const { return main_; }
    DWORD pid() const { return pi_.dwProcessId; }
    bool running() const;
    // Waits for the process to end; false on timeout.
    bool waitForExit(Millis timeout = kWait) const;
    // Waits until the main window answers messages again (Wine stalls a
    // thread for a moment after it hides a window).
    bool responsive(Millis timeout = kWait) const;

    HWND button(const std::wstring& caption) const;  // any BUTTON-class child by caption
    HWND list() const;
    void click(const std::wstring& caption) const;  // posted, so modal loops never block the driver
    std::vector<std::wstring> listItems() const;
    std::wstring listItem(int index) const;
    int listSelection() const;
    int listCount() const;
    std::wstring text(HWND window) const;
    bool checked(const std::wstring& caption) const;
    int checkState(const std::wstring& caption) const;

    // A top-level window of this process with this class and caption.
    HWND waitForWindow(const std::wstring& cls, const std::wstring& caption, Millis timeout = kWait) const;
    HWND findWindow(const std::wstring& cls, const std::wstring& caption) const;

private:
    bool startThroughWineLoader(const std::wstring& exe);
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    int icon = 0;  // 16, 48 or 64 when the icon's pixels match a system icon, else 0
};

// Waits for a message box of the process, reads it and dismisses it with OK.
// hwnd stays null when none came within the timeout.
MessageBoxSeen takeMessageBox(const App& app, Millis timeout = kWait);
// True when no message box of the process is open.
bool noMessageBox(const App& app);

// Key presses through SendInput, as a user's keyboard would give them.
void pressKey(WORD vk, bool down);
void tapKey(WORD vk);

// Gives `window` the foreground and the keyboard focus.
bool focus(HWND window);

// Left, top, width, height of a child in its parent's client coordinates.
RECT childRect(HWND child);

}  // namespace e2e
