// Whether the dialog took the last piece sent to it, judged from what its
// thread shows afterwards. The moves are learned from the dialog itself, so
// a window whose buttons keep a focus order of their own is followed, not
// stopped.
#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "platform/dialog_watch.h"

namespace tavrel {

// One look at the dialog after a piece went out.
struct DialogReading {
    DialogControl focus = 0;
    DialogControlKind kind = DialogControlKind::None;
    bool drained = false;     // its thread has handled every key sent
    bool foreground = false;  // it still has the keyboard focus
};

enum class Verdict {
    Taken,           // the next piece may go
    NotYet,          // the piece is still on its way, or was dropped
    WrongEffect,     // the focus went where the piece could not have sent it
    LeftForeground,  // a press opened or brought forward another window
};

class TakeRule {
public:
    // Forgets what was learned: a new target, or the same one after a stop,
    // whose moves may since have been changed by the user.
    void reset();
    // Just before `piece` goes out, with the focus the dialog has then.
    void sending(std::string_view piece, DialogControl focus);
    // The verdict on the piece last sent; learns its move once it is Taken.
    // `untilDrained`: the next piece is a press, so even an arrow counts as
    // taken only once the dialog's thread has handled all its input.
    Verdict judge(const DialogReading& now, bool untilDrained = false);
    // Where the last piece should have left the focus; 0 when any other push
    // button than the one it started on would have done.
    DialogControl expected() const;
    DialogControl before() const { return before_; }
    bool walksDown() const { return move_ == Move::Down; }

private:
    enum class Move { Down, Up, Press, Other };
    Move move_ = Move::Other;
    DialogControl before_ = 0;
    // Where a down-arrow went from each button, once seen.
    std::map<DialogControl, DialogControl> downFrom_;
    // The buttons the down-arrows of the key string left, innermost last: an
    // up-arrow walks back to the last of them.
    std::vector<DialogControl> walkedDownFrom_;
};

}  // namespace tavrel
