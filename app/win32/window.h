// One pattern for the program's windows: the window class is registered
// once, the C++ object is bound to its HWND from WM_NCCREATE to WM_NCDESTROY,
// and every message goes to the object's handle().
#pragma once

#include <string_view>

#include <windows.h>

namespace tavrel::win32 {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    struct Class {
        const wchar_t* name;
        HBRUSH background = nullptr;  // nullptr: the window paints its own
        HICON icon = nullptr;
        HICON smallIcon = nullptr;
    };
    struct Frame {
        DWORD style;
        DWORD exStyle;
        POINT at;  // CW_USEDEFAULT in x lets the system choose
        SIZE size;
        HWND owner;
    };
    // Registers `windowClass` on first use and creates the window, which is
    // bound to this object before its first message.
    bool createWindow(HINSTANCE instance, const Class& windowClass, std::wstring_view caption, const Frame& frame);

    // Every message of the window. The default passes it to the system.
    virtual LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

    // Closes the window: a modal run ends (runModal gives the owner back its
    // input first); a modeless window is destroyed at once.
    void unload();

    HWND control(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    friend bool runModal(Window& window, HWND owner);

    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool unloaded_ = false;
};

// Shows `window` modally: `owner` (if any) takes no input until the window
// unloads; messages keep flowing meanwhile. The owner gets its input back
// before the window is destroyed, so the system hands the activation to it
// and not to another program. False when the program is ending: the caller
// then returns at once, as every loop does.
bool runModal(Window& window, HWND owner);

}  // namespace tavrel::win32
