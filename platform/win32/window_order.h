// The main window's always-on-top switch.
#pragma once


#include <windows.h>

#include "platform/window_order.h"

namespace tavrel::win32 {

class Win32WindowOrder final : public WindowOrder {
public:
    void setTop(std::int16_t flag) override;
    // The window the switch applies to, given once it exists.
    HWND window = nullptr;
};

}  // namespace tavrel::win32
