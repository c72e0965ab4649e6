// Start-up: the main window is the program; it runs its load step before it
// is first shown.
#include <windows.h>

#include <limits>

#include "app/win32/main_window.h"
#include "platform/win32/app_facts.h"
#include "platform/win32/services.h"
#include "platform/win32/system_libraries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tavrel::win32;
    hardenLibrarySearch();
    static AppFacts facts = appFacts();
    static Win32Services system;
    static FrmTavrel window(facts, system);
    if (!window.create(instance)) {
        MessageBoxW(nullptr, L"The main window could not be created.", L"Tavrel", MB_OK | MB_ICONHAND);
        return 1;
    }
    // The one loop: it runs the window's messages and steps a playback,
    // asleep until either is due.
    while (system.events.pump()) system.events.waitForInput(std::numeric_limits<double>::infinity());
    return 0;
}
