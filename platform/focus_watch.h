// Which window has the keyboard focus.
#pragma once

#include <cstdint>

namespace tavrel {

// An opaque handle of a top-level window; 0 stands for none.
using WindowId = std::uintptr_t;

// Which window the user's keyboard input goes to, so playback can tell
// whether its keys still reach the window they started in.
class FocusWatch {
public:
    virtual ~FocusWatch() = default;
    // The window with the keyboard focus now, 0 when there is none.
    virtual WindowId foreground() = 0;
    // True for a window of another program that can take keys: not 0, not
    // one of this program's own windows, not the desktop or the shell.
    virtual bool otherProgram(WindowId window) = 0;
    // True when the window's program runs at a higher integrity level than
    // this one (started "as administrator" while this one was not): the
    // system then drops the keys sent to it, and may still report them
    // sent. False when the level cannot be read.
    virtual bool runsHigher(WindowId window) = 0;
};

}  // namespace tavrel
