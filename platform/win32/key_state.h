// The system-wide key state (GetAsyncKeyState), as the recorder polls it.
#pragma once


#include <windows.h>

#include "platform/key_state.h"

namespace tavrel::win32 {

class Win32KeyState final : public KeyState {
public:
    std::int16_t poll(int virtualKey) override { return GetAsyncKeyState(virtualKey); }
};

}  // namespace tavrel::win32
