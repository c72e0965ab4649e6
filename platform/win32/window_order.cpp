#include "platform/win32/window_order.h"

namespace tavrel::win32 {

void Win32WindowOrder::setTop(std::int16_t flag) {
    SetWindowPos(window, flag == -1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

}  // namespace tavrel::win32
