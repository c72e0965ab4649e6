#include "platform/win32/event_pump.h"

#include "platform/sleep_time.h"
#include "platform/win32/clock.h"
#include "platform/win32/key_wake.h"
#include "platform/win32/system_libraries.h"

namespace tavrel::win32 {

namespace {
bool ending = false;
HWND acceleratedWindow = nullptr;
HACCEL accelerators = nullptr;
}  // namespace

void setAccelerators(HWND window, HACCEL table) {
    acceleratedWindow = window;
    accelerators = table;
}

void endProgram() {
    ending = true;
    PostQuitMessage(0);
}

bool programEnding() { return ending; }

bool pumpMessages() {
    MSG msg;
    while (!ending && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not of our making (another program asked us to quit): it ends
            // the program all the same, through every loop.
            ending = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        // Here, not in one loop: a recording, a playback and the main loop
        // all pump, and the keys must work in each, whichever control has
        // the focus.
        if (root && root == acceleratedWindow && TranslateAcceleratorW(root, accelerators, &msg)) continue;
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return !ending;
}

bool Win32EventPump::pump() {
    if (!pumpMessages()) return false;
    stepWork();
    return !programEnding();
}

Wake Win32EventPump::waitForInput(double untilSeconds) {
    untilSeconds = until(untilSeconds);
    // With no time left it still looks at the queue: a key change that came
    // at the very end of a settling time, reported as none, would wait for
    // the next rest pass, 0.25 s on, and merge with the press after it.
    const int ms = sleepMilliseconds(monotonicSeconds(), untilSeconds);
    // QS_ALLINPUT includes the raw input a key watch asks for. While one
    // runs, timers wait for the next pass (at most 0.25 s): under Wine 8 the
    // pointer resting on a button keeps a mouse-tracking system timer firing
    // about every 9 ms, which woke a recording at rest 380 times a second
    // (3 % of a core); a tool tip a little late is the only cost.
    const DWORD wakeOn = keyWatches_ > 0 ? (QS_ALLINPUT & ~QS_TIMER) : QS_ALLINPUT;
    // MWMO_INPUTAVAILABLE: a message already in the queue, seen or not by an
    // earlier PeekMessage, ends the wait at once.
    if (MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), wakeOn, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0)
        return Wake::Time;
    // The high word: what is in the queue now, whether or not seen before.
    // Only a key watch asks for raw input; a tool tip's timer, the pointer or
    // a paint shows as other bits. Asked only then, so other loops' waits
    // cost no extra call to the system.
    if (keyWatches_ == 0) return Wake::Message;
    return (HIWORD(GetQueueStatus(QS_RAWINPUT)) & QS_RAWINPUT) != 0 ? Wake::Key : Wake::Message;
}

void Win32EventPump::beginWaiting() {
    // The default 15.6 ms tick would make every sleep of a 10 ms wait end
    // late; one request covers all nested loops.
    if (waitingLoops_++ == 0) fineTimer_ = beginFineTimer();
}

void Win32EventPump::endWaiting() {
    if (--waitingLoops_ == 0 && fineTimer_) {
        endFineTimer();
        fineTimer_ = false;
    }
}

bool Win32EventPump::beginKeyWatch() {
    // One request covers all nested loops.
    if (keyWatches_++ == 0) keyWake_ = startKeyWake();
    return keyWake_;
}

void Win32EventPump::endKeyWatch() {
    if (--keyWatches_ == 0 && keyWake_) {
        stopKeyWake();
        keyWake_ = false;
    }
}

}  // namespace tavrel::win32
