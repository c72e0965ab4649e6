// Delivers keys to the focused window through SendInput.
#pragma once

#include <string>

#include <windows.h>

#include "platform/key_sender.h"

namespace tavrel::win32 {

class Win32KeySender final : public KeySender {
public:
    std::string send(Key key) override;
};

}  // namespace tavrel::win32
