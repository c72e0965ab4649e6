// Delivers send-keys strings to the focused window through SendInput.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "platform/key_sender.h"

namespace tavrel::win32 {

// The press and release of every key in `keys`, in order. Known tokens are
// "{DOWN}", "{UP}", "{LEFT}", "{RIGHT}", "{ENTER}" and single printable
// characters; false (and `unknown` set) for anything else.
bool keyEvents(std::string_view keys, std::vector<INPUT>& events, std::string& unknown);

class Win32KeySender final : public KeySender {
public:
    std::string send(std::string_view keys, bool wait) override;
    KeysTaken keysTaken() override;

private:
    // The window whose taking of the keys is watched; null when none is.
    HWND watched_ = nullptr;
};

}  // namespace tavrel::win32
