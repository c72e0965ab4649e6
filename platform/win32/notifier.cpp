#include "platform/win32/notifier.h"

#include <utility>

#include "platform/win32/text.h"

namespace tavrel::win32 {

void Win32Notifier::attach(HWND mainWindow, std::string title) {
    main_ = mainWindow;
    if (!title.empty()) title_ = std::move(title);
}

void Win32Notifier::message(std::string_view text, Icon icon) {
    // Over About while it shows, so the box is not hidden with the main
    // window; with no window of ours visible, modal for the whole program.
    HWND parent = GetActiveWindow();
    if (!parent || !IsWindowVisible(parent)) parent = main_ && IsWindowVisible(main_) ? main_ : nullptr;
    MessageBoxW(parent, widen(text).c_str(), widen(title_).c_str(),
                MB_OK | static_cast<UINT>(icon) | (parent ? 0u : static_cast<UINT>(MB_TASKMODAL)));
}

}  // namespace tavrel::win32
