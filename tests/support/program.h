// A real tavrel.exe driven from the outside, the way a user would: started
// from a fresh folder of its own, windows found by caption and class,
// buttons clicked by posted messages, controls read with their messages.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "tests/support/wait.h"

namespace e2e {

// The files the program keeps beside itself.
inline const std::wstring kListFile = L"TavrelXP.txt";
inline const std::wstring kSettingsFile = L"TavrelXP.vmi";

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
    // The last level of path(): how the host sees the program's command line.
    std::wstring name() const { return path_.substr(path_.find_last_of(L'\\') + 1); }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    void write(const std::wstring& name, const std::string& bytes) const;
    // `exists` false when the file is missing.
    std::string read(const std::wstring& name, bool* exists = nullptr) const;

private:
    std::wstring root_;
    std::wstring path_;
};

// One running tavrel.exe.
class App {
public:
    explicit App(const ProgramFolder& folder) : App(folder.file(L"tavrel.exe")) {}
    // Started from another folder: the program must find its files by its own path.
    explicit App(const std::wstring& exe);
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND main() const { return main_; }
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE process() const { return pi_.hProcess; }
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

}  // namespace e2e
