// Whether the dialog took the last key sent to it, judged from what its
// thread shows afterwards. The moves are learned from the dialog itself, so
// a window whose buttons keep a focus order of their own is followed, not
// stopped.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/dialog_watch.h"
#include "platform/key_sender.h"

namespace tavrel {

// One look at the dialog after a key went out.
struct DialogReading {
    DialogControl focus = 0;
    DialogControlKind kind = DialogControlKind::None;
    bool drained = false;     // its thread has handled every key sent
    bool foreground = false;  // it still has the keyboard focus
    // The lines of its list, read for a press once drained; empty when unread.
    std::optional<int> lines;
};

enum class Verdict {
    Taken,        // the next key may go
    NotYet,       // still on its way, or lost: only the time allowed tells
    WrongEffect,  // an arrow took the focus where it could not have
    Moved,        // a press was taken, and took the focus elsewhere
    Unknown,      // no evidence can come: the dialog lost the keyboard focus
};

// What a verdict needs of a key sent, kept so that a later look (Resume's)
// can judge it as the first one would have.
struct KeySent {
    Key key = Key::Space;
    DialogControl before = 0;
    // Where it should leave the focus; 0 when any other push button would do.
    DialogControl expected = 0;
    // The list's lines before it, and whether every press adds one.
    std::optional<int> lines;
    bool linesGrow = false;
};

class TakeRule {
public:
    // Forgets what was learned: a new target, or the same one after a stop,
    // whose moves may since have been changed by the user.
    void reset();
    // The list's lines as the dialog shows them before the first key.
    void startLines(std::optional<int> lines) { lines_ = lines; }
    // Just before `key` goes out, with the focus the dialog has then.
    void sending(Key key, DialogControl focus);
    // The verdict on the key last sent; learns its move once it is Taken.
    // `untilDrained`: the next key is a press, so even an arrow counts as
    // taken only once the dialog's thread has handled all its input.
    Verdict judge(const DialogReading& now, bool untilDrained = false);
    // With no verdict in the time allowed: whether the dialog shows the key
    // was lost (it handled all its input, and nothing moved), rather than
    // that it is still busy with it or could not be read.
    bool lost(const DialogReading& now) const;
    // Whether judging a press now needs the list's lines.
    bool needsLines() const { return sent_.key == Key::Space && lines_.has_value(); }
    const KeySent& sent() const { return sent_; }
    // Judges `sent` again, as the first look would have: for Resume.
    void resumeWith(const KeySent& sent);

private:
    DialogControl expected() const;
    Verdict judgePress(const DialogReading& now);

    KeySent sent_;
    std::optional<int> lines_;
    bool linesGrow_ = false;
    bool pressSeen_ = false;
    // Where a down-arrow went from each button, once seen.
    std::map<DialogControl, DialogControl> downFrom_;
    // The buttons the down-arrows of the key string left, innermost last: an
    // up-arrow walks back to the last of them.
    std::vector<DialogControl> walkedDownFrom_;
};

}  // namespace tavrel
