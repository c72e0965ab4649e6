#include "platform/win32/dialog_watch.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/clock.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

// A caption, or what a control is, is waited for this long at most: the
// dialog's thread answers between two of its messages, and one that takes
// longer is busy enough to be asked again later.
constexpr UINT kAnswerTimeoutMs = 100;

HWND asWindow(DialogControl control) { return reinterpret_cast<HWND>(control); }
DialogControl asControl(HWND window) { return reinterpret_cast<DialogControl>(window); }

LONG buttonType(HWND window) { return GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK; }

struct ListBoxes {
    HWND first = nullptr;
    int count = 0;
};

BOOL CALLBACK findListBoxes(HWND child, LPARAM found) {
    wchar_t cls[16] = {};
    if (GetClassNameW(child, cls, 16) && _wcsicmp(cls, L"ListBox") == 0) {
        auto* lists = reinterpret_cast<ListBoxes*>(found);
        if (lists->count++ == 0) lists->first = child;
    }
    return TRUE;
}

// Tab reaches at most this many controls before the walk gives up: a focus
// order the dialog manager walks never ends, it comes round.
constexpr int kTabWalkLimit = 64;

struct PushButtonSearch {
    Win32DialogWatch* watch;
    HWND found = nullptr;
};

bool isDialog(HWND window) {
    wchar_t cls[16] = {};
    return window && GetClassNameW(window, cls, 16) && std::wcscmp(cls, L"#32770") == 0;
}

// The event only has to arrive: an out-of-context event is delivered as a
// message to this thread, which ends the player's wait for input at once.
void CALLBACK onFocusEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

}  // namespace

bool Win32DialogWatch::begin(WindowId target) {
    end();
    return start(asWindow(target), true);
}

bool Win32DialogWatch::glance(WindowId target, double seconds) {
    end();
    glanceEnd_ = monotonicSeconds() + seconds;
    // No focus events: nothing waits for them while nothing is sent.
    return start(asWindow(target), false);
}

bool Win32DialogWatch::start(HWND window, bool hook) {
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (thread == 0 || !IsWindowVisible(window)) return false;
    // The server answers for any thread, of any process (so does Wine 8's).
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus) return false;
    if (!firstPushButton(window)) return false;
    target_ = window;
    thread_ = thread;
    // Looked for once: the route list a move dialog adds a line to per move.
    ListBoxes lists;
    EnumChildWindows(window, findListBoxes, reinterpret_cast<LPARAM>(&lists));
    list_ = lists.count == 1 ? lists.first : nullptr;
    if (!hook) return true;
    // Thread id 0 and the process: Wine refuses a thread of another process
    // here. The target notices a new hook only at its next message, so the
    // first focus change may come unannounced: the beat covers it.
    focusHook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onFocusEvent, process, 0,
                                 WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    return true;
}

bool Win32DialogWatch::ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    UINT timeout = kAnswerTimeoutMs;
    if (glanceEnd_ > 0.0) {
        const double left = glanceEnd_ - monotonicSeconds();
        if (unanswered_ || left <= 0.0) return unanswered_ = true, false;
        timeout = std::min<UINT>(timeout, static_cast<UINT>(left * 1000.0) + 1);
    }
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, result)) return true;
    unanswered_ = true;
    return false;
}

// Toolkits build their buttons on the system's under names of their own
// (Delphi's TButton, WinForms' WindowsForms10.BUTTON...), and under Wine 8
// another process reads the new name even through RealGetWindowClassW: the
// class cannot tell. What a control tells the dialog manager can: a push
// button answers DLGC_BUTTON with DLGC_(UN)DEFPUSHBUTTON (TButton: 0x2020).
// An owner-drawn one answers DLGC_BUTTON alone, as a check box does (both
// 0x2000); its type tells the two apart.
bool Win32DialogWatch::isPushButton(HWND window) {
    if (!window) return false;
    DWORD_PTR code = 0;
    if (!ask(window, WM_GETDLGCODE, 0, 0, &code)) {
        // Busy or hung: the system's own button is known without asking.
        wchar_t cls[16] = {};
        if (!GetClassNameW(window, cls, 16) || _wcsicmp(cls, L"Button") != 0) return false;
        const LONG type = buttonType(window);
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
    }
    if ((code & DLGC_BUTTON) == 0) return false;
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0 || buttonType(window) == BS_OWNERDRAW;
}

BOOL CALLBACK Win32DialogWatch::findPushButton(HWND child, LPARAM search) {
    auto* s = reinterpret_cast<PushButtonSearch*>(search);
    if (!s->watch->isPushButton(child)) return TRUE;
    s->found = child;
    return FALSE;
}

HWND Win32DialogWatch::firstPushButton(HWND window) {
    PushButtonSearch search{this};
    EnumChildWindows(window, findPushButton, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Win32DialogWatch::end() {
    if (focusHook_) UnhookWinEvent(focusHook_);
    focusHook_ = nullptr;
    target_ = nullptr;
    thread_ = 0;
    list_ = nullptr;
    glanceEnd_ = 0.0;
    unanswered_ = false;
}

DialogControl Win32DialogWatch::focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (thread_ == 0 || !GetGUIThreadInfo(thread_, &info)) return 0;
    return asControl(info.hwndFocus);
}

DialogControlKind Win32DialogWatch::kind(DialogControl control) {
    HWND window = asWindow(control);
    if (!window || !IsWindow(window)) return DialogControlKind::None;
    if (isPushButton(window)) return DialogControlKind::PushButton;
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    for (const wchar_t* list : {L"ListBox", L"ComboBox", L"ComboLBox", L"SysListView32", L"SysTreeView32"})
        if (_wcsicmp(cls, list) == 0) return DialogControlKind::List;
    if (_wcsicmp(cls, L"Edit") == 0 || _wcsnicmp(cls, L"RichEdit", 8) == 0) return DialogControlKind::TextBox;
    return DialogControlKind::Other;
}

std::string Win32DialogWatch::caption(DialogControl control) {
    HWND window = asWindow(control);
    if (!window) return {};
    // Sent, not GetWindowText: that reads another process's control's own
    // text only through the message, and would wait on a hung one for ever.
    wchar_t text[256] = {};
    DWORD_PTR length = 0;
    if (!ask(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), &length)) return {};
    // "Move &Down" shows as "Move Down"; "&&" is a plain ampersand.
    std::wstring shown;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c == L'&' && c[1] == L'&') ++c;
        else if (*c == L'&') continue;
        shown += *c;
    }
    return narrow(shown);
}

DialogControl Win32DialogWatch::groupFirst(DialogControl button) {
    HWND control = asWindow(button);
    HWND dialog = control ? GetParent(control) : nullptr;
    if (!isPushButton(control) || !isDialog(dialog)) return 0;
    // The group runs from the last control marked WS_GROUP at or before
    // this one, the way GetNextDlgGroupItem walks it.
    for (HWND at = control; at; at = GetWindow(at, GW_HWNDPREV)) {
        if (GetWindowLongW(at, GWL_STYLE) & WS_GROUP) return isPushButton(at) ? asControl(at) : 0;
    }
    return 0;
}

DialogControl Win32DialogWatch::groupNext(DialogControl button) {
    HWND control = asWindow(button);
    HWND dialog = control ? GetParent(control) : nullptr;
    if (!control || !isDialog(dialog)) return 0;
    HWND next = GetNextDlgGroupItem(dialog, control, FALSE);
    return next && next != control ? asControl(next) : 0;
}

TabWay Win32DialogWatch::tabTo(DialogControl control, DialogControl button) {
    HWND from = asWindow(control);
    HWND dialog = from ? GetAncestor(from, GA_ROOT) : nullptr;
    if (!dialog || from == dialog) return {};
    // A toolkit's own window walks its own focus order, which nothing here
    // can read: its buttons can only be named.
    if (!isDialog(dialog)) return {button != 0 ? button : asControl(firstPushButton(dialog)), std::nullopt};
    // The dialog manager walks its own children; a control inside one of
    // them (a combo box's text box) tabs on from there.
    while (GetParent(from) != dialog) from = GetParent(from);
    HWND at = from;
    for (int presses = 1; presses <= kTabWalkLimit; ++presses) {
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (!at || at == from) return {};
        if (button != 0 ? at == asWindow(button) : isPushButton(at)) return {asControl(at), presses};
    }
    return {};
}

std::optional<int> Win32DialogWatch::listCount() {
    DWORD_PTR count = 0;
    if (!list_ || !ask(list_, LB_GETCOUNT, 0, 0, &count) ||
        static_cast<LRESULT>(count) == LB_ERR)
        return std::nullopt;
    return static_cast<int>(count);
}

}  // namespace tavrel::win32
