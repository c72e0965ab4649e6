#include "tests/e2e/about_driver.h"

namespace e2e {

std::string describe(RECT r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

HWND findAbout(const App& app) { return findTopLevel(app.pid(), L"TavrelAbout"); }

HWND openAbout(const App& app, std::string& seen) {
    app.click(L"About");
    HWND about = nullptr;
    if (!waitUntil([&] { return (about = findAbout(app)) != nullptr; })) {
        seen = "no About window appeared after clicking About";
        return nullptr;
    }
    if (!waitUntil([&] { return !IsWindowVisible(app.main()); })) {
        seen = "About opened but the main window stayed visible";
        return nullptr;
    }
    // Wine holds the thread for a moment after it hides a window.
    if (!answers(about) || !app.responsive()) {
        seen = "the program stopped answering after About opened";
        return nullptr;
    }
    return about;
}

bool waitForMainBack(const App& app, HWND about, std::string& seen) {
    if (!waitUntil([&] { return !IsWindow(about); })) {
        seen = "About is still open";
        return false;
    }
    if (!waitUntil([&] { return IsWindowVisible(app.main()) != FALSE; })) {
        seen = "About closed but the main window stayed hidden";
        return false;
    }
    if (!app.responsive()) {
        seen = "the main window came back but does not answer";
        return false;
    }
    return true;
}

HWND aboutControl(HWND about, tavrel::AboutId id) { return GetDlgItem(about, static_cast<int>(id)); }

}  // namespace e2e
