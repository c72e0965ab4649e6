// What the About tests need beyond the shared driver: finding About and its
// controls.
#pragma once

#include <string>

#include <windows.h>

#include "app/about_layout.h"
#include "tavrel_version.h"
#include "tests/support/driver.h"

namespace e2e {

inline const std::wstring kVersionLine = L"Tavrel (version:" TAVREL_VERSION_TEXT ".)";
inline const std::wstring kAddress = L"https://tavrel.example.org/";

// "(left,top)-(right,bottom)", for messages.
std::string describe(RECT r);

// About of `app`, visible; null when it is not open.
HWND findAbout(const App& app);

// Clicks "About" and waits until About shows, the main window is hidden and
// the program answers again. Null (with `seen` saying why) when it did not.
HWND openAbout(const App& app, std::string& seen);

// Waits until About is gone and the main window is visible and answering.
// False (with `seen` saying why) when that did not happen in time.
bool waitForMainBack(const App& app, HWND about, std::string& seen);

HWND aboutControl(HWND about, tavrel::AboutId id);

}  // namespace e2e
