// What the About tests need beyond the shared driver: finding About and its
// controls, reading its pixels off the screen, and watching the processes it
// starts.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "app/about_layout.h"
#include "tests/e2e/driver.h"

namespace e2e {

// About of `app`, visible; null when it is not open.
HWND findAbout(const App& app);

// Clicks "About" and waits until About shows, the main window is hidden and
// the program answers again. Null (with `seen` saying why) when it did not.
HWND openAbout(const App& app, std::string& seen);

// Waits until About is gone and the main window is visible and answering.
// False (with `seen` saying why) when that did not happen in time.
bool waitForMainBack(const App& app, HWND about, std::string& seen);

HWND aboutControl(HWND about, tavrel::AboutId id);

// The window whose thread owns `window` has the keyboard focus on.
HWND focusOfThread(HWND window);

// A window's client area as it shows on the screen.
struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // How many pixels of `colour` lie in [left, right) x [top, bottom).
    int count(RECT area, COLORREF colour) const;
    // How many pixels in the area differ from `colour`.
    int countOther(RECT area, COLORREF colour) const;
};
Capture captureClient(HWND window);
// A part of the screen, in screen coordinates.
Capture captureScreen(RECT area);

// Real mouse input: moves the pointer to the centre of `window` and clicks.
void clickCentre(HWND window);
// Moves the pointer onto the centre of `window` the way a user's hand would,
// so tool tips see it arrive.
void hover(HWND window);

struct ProcessSeen {
    DWORD pid = 0;
    DWORD parent = 0;
    std::wstring exe;
};
std::vector<ProcessSeen> processes();

// The command line of a running process; empty when it cannot be read (yet).
std::wstring commandLineOf(HANDLE process);

// Sets an environment variable for the programs this test starts, and puts
// the old value back when it goes out of scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::wstring& name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool had_ = false;
};

}  // namespace e2e
