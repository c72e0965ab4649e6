// Reads another program's dialog from outside: its thread's focus
// (GetGUIThreadInfo), what its controls are and their captions, its group
// order, and when its thread has handled its input. Nothing is injected, no
// keyboard hook is set, and the thread input is not attached: a hung target
// must not hang this program, nor share its key state.
#pragma once

#include <windows.h>

#include "platform/dialog_watch.h"

namespace tavrel::win32 {

class Win32DialogWatch final : public DialogWatch {
public:
    ~Win32DialogWatch() override { end(); }
    bool begin(WindowId target) override;
    void end() override;
    bool glance(WindowId target, double seconds) override;
    bool answered() const override { return !unanswered_; }
    DialogControl focus() override;
    DialogControlKind kind(DialogControl control) override;
    std::string caption(DialogControl control) override;
    DialogControl groupFirst(DialogControl button) override;
    DialogControl groupNext(DialogControl button) override;
    TabWay tabTo(DialogControl control, DialogControl button) override;
    std::optional<int> listCount() override;

private:
    bool start(HWND window, bool hook);
    // Sends `message` to a control of the target, waiting no longer than
    // this watch may; false when it went unanswered.
    bool ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result);
    bool isPushButton(HWND window);
    HWND firstPushButton(HWND window);
    static BOOL CALLBACK findPushButton(HWND child, LPARAM search);

    HWND target_ = nullptr;
    DWORD thread_ = 0;
    HWINEVENTHOOK focusHook_ = nullptr;
    // The target's one list box, where it has exactly one.
    HWND list_ = nullptr;
    // A glance's reads all end by this time (monotonicSeconds); 0 outside one.
    double glanceEnd_ = 0.0;
    bool unanswered_ = false;
};

}  // namespace tavrel::win32
