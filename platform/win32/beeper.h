// The default system beep.
#pragma once


#include <windows.h>

#include "platform/beeper.h"

namespace tavrel::win32 {

class Win32Beeper final : public Beeper {
public:
    void beep() override { MessageBeep(MB_OK); }
};

}  // namespace tavrel::win32
