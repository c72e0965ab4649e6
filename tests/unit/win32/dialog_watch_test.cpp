// What the watch makes of each kind of control in a dialog, made here in
// this process: WM_GETDLGCODE, which decides a push button, is answered the
// same from here as from another process.
#include <gtest/gtest.h>

#include "platform/win32/dialog_watch.h"

namespace tavrel::win32 {
namespace {

// A toolkit's button, as Delphi registers its TButton: the system's button
// class under another name.
const wchar_t* superclassedButton() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW button{};
        button.cbSize = sizeof button;
        if (!GetClassInfoExW(nullptr, L"Button", &button)) return L"";
        button.hInstance = GetModuleHandleW(nullptr);
        button.lpszClassName = L"TButton";
        return RegisterClassExW(&button) ? L"TButton" : L"";
    }();
    return name;
}

struct EmptyDialog {
    alignas(DWORD) DLGTEMPLATE head{WS_POPUP, 0, 0, 0, 0, 100, 100};
    WORD menu = 0, windowClass = 0, title = 0;
};

INT_PTR CALLBACK ignoreAll(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(Win32DialogWatch, KnowsAPushButtonByWhatItTellsTheDialogManagerWhateverItsClass) {
    const struct {
        const char* what;
        const wchar_t* cls;
        DWORD style;
        DialogControlKind kind;
    } cases[] = {
        {"the system's button", L"Button", BS_PUSHBUTTON, DialogControlKind::PushButton},
        {"the system's default button", L"Button", BS_DEFPUSHBUTTON, DialogControlKind::PushButton},
        {"a class built on it", superclassedButton(), BS_PUSHBUTTON, DialogControlKind::PushButton},
        {"an owner-drawn button", L"Button", BS_OWNERDRAW, DialogControlKind::PushButton},
        {"a check box", L"Button", BS_AUTOCHECKBOX, DialogControlKind::Other},
        {"a check box of a class built on the button", superclassedButton(), BS_AUTOCHECKBOX,
         DialogControlKind::Other},
        {"a radio button", L"Button", BS_AUTORADIOBUTTON, DialogControlKind::Other},
        {"a group box", L"Button", BS_GROUPBOX, DialogControlKind::Other},
        {"a list", L"ListBox", LBS_NOTIFY, DialogControlKind::List},
        {"a text box", L"Edit", ES_LEFT, DialogControlKind::TextBox},
    };
    ASSERT_STRNE(superclassedButton(), L"") << "no button class of its own, error " << GetLastError();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyDialog layout;
        HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &layout.head, nullptr, ignoreAll, 0);
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        // The control leads a group; a system button follows it there.
        const auto child = [&](const wchar_t* cls, DWORD style) {
            return CreateWindowExW(0, cls, L"Move", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 50, 20,
                                   dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
        };
        HWND control = child(c.cls, WS_GROUP | c.style);
        HWND after = child(L"Button", BS_PUSHBUTTON);
        ASSERT_TRUE(control && after) << "error " << GetLastError();
        Win32DialogWatch watch;
        const auto asControl = [](HWND window) { return reinterpret_cast<DialogControl>(window); };
        EXPECT_EQ(watch.kind(asControl(control)), c.kind);
        // The group's first button, as the focus check before playback asks
        // for it; none when the group starts with anything else.
        EXPECT_EQ(watch.groupFirst(asControl(after)),
                  c.kind == DialogControlKind::PushButton ? asControl(control) : 0);
        // Tab reaches the button from any of them at the first press.
        EXPECT_EQ(watch.tabTo(asControl(control), 0), (TabWay{asControl(after), 1}));
        DestroyWindow(dialog);
    }
}

}  // namespace
}  // namespace tavrel::win32
