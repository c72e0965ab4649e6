// Keys typed for a recording from outside: a window of the driver that takes
// them, and a handshake with the program's recording loop.
#pragma once

#include <windows.h>

#include "tests/support/program.h"

namespace e2e {

// A plain window of the driver that takes the typed keys, so that they never
// reach the program's own controls (arrows there would move the focus into
// the speed options and change them). It counts the key-down messages it
// gets, auto-repeats included.
class KeySink {
public:
    KeySink();
    ~KeySink();
    KeySink(const KeySink&) = delete;
    KeySink& operator=(const KeySink&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Makes this window the foreground one again (a message box of the
    // program takes it when it opens); false when it did not get it.
    bool take() const;
    // Taps `vk` through SendInput; false, and no key sent, when this window
    // is not in the foreground.
    bool tap(WORD vk) const;
    int keyDownsOf(WORD vk) const;

private:
    HWND hwnd_ = nullptr;
};

// Returns once the program's recording loop has run a whole pass, key polls
// included, after everything this process did so far; false when the program
// stopped answering. Each WM_NULL is answered inside the event pump at the
// start of a pass, and the pump goes on to the key polls as soon as its queue
// is empty. With the keys going to the driver's window, the program's queue
// holds little more than these WM_NULLs and an occasional repaint, so the
// third answer comes from a later pump call than the first, with a whole pass
// in between.
bool passCompleted(const App& app);

}  // namespace e2e
