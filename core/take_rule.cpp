#include "core/take_rule.h"

namespace tavrel {

void TakeRule::reset() {
    downFrom_.clear();
    walkedDownFrom_.clear();
    sent_ = KeySent{};
    lines_.reset();
    linesGrow_ = false;
    pressSeen_ = false;
}

void TakeRule::sending(Key key, DialogControl focus) {
    sent_.key = key;
    sent_.before = focus;
    sent_.expected = expected();
    sent_.lines = lines_;
    sent_.linesGrow = linesGrow_;
}

void TakeRule::resumeWith(const KeySent& sent) {
    sent_ = sent;
    lines_ = sent.lines;
    linesGrow_ = sent.linesGrow;
    pressSeen_ = sent.linesGrow;
}

DialogControl TakeRule::expected() const {
    switch (sent_.key) {
        case Key::Down: {
            const auto seen = downFrom_.find(sent_.before);
            return seen == downFrom_.end() ? 0 : seen->second;
        }
        case Key::Up: return walkedDownFrom_.empty() ? 0 : walkedDownFrom_.back();
        case Key::Space: return sent_.before;
    }
    return 0;
}

Verdict TakeRule::judgePress(const DialogReading& now) {
    // A push button keeps the focus through its press; one that moves it
    // (into its list, onto another button, into a window it opens) has
    // done its work all the same.
    if (!now.foreground) return now.drained ? Verdict::Moved : Verdict::NotYet;
    if (now.focus != sent_.before) return Verdict::Moved;
    if (!now.drained) return Verdict::NotYet;
    // A move dialog adds a line to its route for every move it takes: once
    // the first press showed that, a press that adds none was lost.
    if (linesGrow_) {
        if (!now.lines || !lines_ || *now.lines != *lines_ + 1) return Verdict::NotYet;
    } else if (!pressSeen_ && now.lines && lines_ && *now.lines == *lines_ + 1) {
        linesGrow_ = true;
    }
    pressSeen_ = true;
    lines_ = now.lines;
    return Verdict::Taken;
}

Verdict TakeRule::judge(const DialogReading& now, bool untilDrained) {
    if (sent_.key == Key::Space) return judgePress(now);
    // A dialog without the keyboard focus shows none: where the arrow went
    // cannot be seen any more.
    if (!now.foreground) return Verdict::Unknown;
    // Still on the button it started on: the arrow is queued, or was lost,
    // which only the time the caller allows can tell.
    if (now.focus == sent_.before) return Verdict::NotYet;
    if (now.kind != DialogControlKind::PushButton || (sent_.expected != 0 && now.focus != sent_.expected))
        return Verdict::WrongEffect;
    // An arrow acts on its key-down; its key-up does nothing in a dialog, so
    // the focus on the new button is its whole effect. Waiting for the
    // drained signal after the key-up as well cost 2.8 ms a key under Wine 8
    // (median, receiving dialog). A press waits, though: its own drained
    // signal could come from a paint already under way for the arrow.
    if (untilDrained && !now.drained) return Verdict::NotYet;
    if (sent_.key == Key::Down) {
        downFrom_[sent_.before] = now.focus;
        walkedDownFrom_.push_back(sent_.before);
    } else if (!walkedDownFrom_.empty()) {
        walkedDownFrom_.pop_back();
    }
    return Verdict::Taken;
}

bool TakeRule::lost(const DialogReading& now) const {
    if (!now.foreground || !now.drained || now.focus != sent_.before) return false;
    // A press leaves the focus where it was whether it was taken or not;
    // only the route's lines tell.
    if (sent_.key == Key::Space) return linesGrow_ && now.lines && lines_ && *now.lines == *lines_;
    return true;
}

}  // namespace tavrel
