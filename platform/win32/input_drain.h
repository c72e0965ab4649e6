// Whether the window the keys went to has handled them, told by a pixel it
// is asked to paint, and whether it answers at all.
#pragma once

#include <windows.h>

#include "platform/input_drain.h"

namespace tavrel::win32 {

class Win32InputDrain final : public InputDrain {
public:
    void mark(WindowId target) override;
    InputDrained drained() override;
    bool answers() override;

private:
    HWND window_ = nullptr;
};

}  // namespace tavrel::win32
