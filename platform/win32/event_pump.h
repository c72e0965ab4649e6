// Pumping and waiting for window messages, and the program's one way to end.
#pragma once

#include <windows.h>

#include "platform/event_pump.h"

namespace tavrel::win32 {

class Win32EventPump final : public EventPump {
public:
    bool pump() override;
    bool waitForInput(double untilSeconds) override;
    void beginWaiting() override;
    void endWaiting() override;
    bool beginKeyWatch() override;
    void endKeyWatch() override;

private:
    int waitingLoops_ = 0;
    bool fineTimer_ = false;
    int keyWatches_ = 0;
    bool keyWake_ = false;
};

// Processes every pending message, giving dialog navigation (Tab, arrows)
// to the program's windows. False once the program is ending: then it
// dispatches nothing more, so no handler runs after the close.
bool pumpMessages();

// Keys of `table` typed anywhere in `window` become its WM_COMMANDs, in
// every loop that pumps; a null window switches them off.
void setAccelerators(HWND window, HACCEL table);

// The one way the program ends: every loop that pumps messages sees it at
// its next pump and returns without any further effect, down to WinMain.
void endProgram();
bool programEnding();

}  // namespace tavrel::win32
