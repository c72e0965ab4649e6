// What playback can read of the dialog it sends keys to, from outside and
// without touching its input: where its thread's focus is, what the
// controls there are called, and whether the thread has handled its input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/focus_watch.h"

namespace tavrel {

// An opaque handle of a control inside the target; 0 stands for none.
using DialogControl = std::uintptr_t;

// Only push buttons are walked by the paths; the other kinds are told apart
// for the messages that name them.
enum class DialogControlKind { None, PushButton, List, TextBox, Other };

// Where Tab presses lead from a control: the button reached, and after how
// many presses. A window whose toolkit keeps a focus order of its own says
// nothing of the order: there the presses cannot be counted.
struct TabWay {
    DialogControl button = 0;  // 0: no Tab leads to one
    std::optional<int> presses;
    bool operator==(const TabWay&) const = default;
};

class DialogWatch {
public:
    virtual ~DialogWatch() = default;
    // Starts watching `target`, the window the keys go to. False when it
    // cannot be watched: it holds no push button, or its thread shows no
    // focus. end() is due either way.
    virtual bool begin(WindowId target) = 0;
    virtual void end() = 0;
    // As begin(), for a look at a window nothing is sent to yet, while the
    // user may still move the focus: until end(), every read together waits
    // at most `seconds` for the target, and once one went unanswered the
    // rest give up at once.
    virtual bool glance(WindowId target, double seconds) = 0;
    // False once a read since begin() or glance() went unanswered in time:
    // what it gave is a guess.
    virtual bool answered() const = 0;

    // The control with the keyboard focus in the target's thread.
    virtual DialogControl focus() = 0;
    virtual DialogControlKind kind(DialogControl control) = 0;
    // Its caption as the control gives it (UTF-8); empty when it has none or
    // does not answer in time.
    virtual std::string caption(DialogControl control) = 0;
    // The first button of the group `button` belongs to, where the dialog
    // manager moves the focus inside a group of push buttons that starts with
    // a group mark; 0 for any other arrangement.
    virtual DialogControl groupFirst(DialogControl button) = 0;
    // The button the dialog manager would move to from `button` with a
    // down-arrow, 0 when it would not; only to name what was expected.
    virtual DialogControl groupNext(DialogControl button) = 0;
    // The way Tab takes from `control` to `button`, or with 0 to the first
    // push button after it in the focus order. In a window with a focus
    // order of its own, `button` (or with 0 its first push button) and no
    // count.
    virtual TabWay tabTo(DialogControl control, DialogControl button) = 0;

    // The number of lines in the target's list, where it has exactly one:
    // a move dialog adds a line to its route for every move it takes. Empty
    // for any other arrangement, or when the list does not answer in time.
    virtual std::optional<int> listCount() = 0;
};

}  // namespace tavrel
