#include "platform/win32/key_sender.h"

#include <array>
#include <cstddef>

#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

struct KeyRow {
    WORD vk;
    // Without the extended flag the arrows travel as numeric-keypad keys.
    bool extended;
};

// In the order of Key.
constexpr std::array<KeyRow, 3> kKeys{{{VK_DOWN, true}, {VK_UP, true}, {VK_SPACE, false}}};

}  // namespace

std::string Win32KeySender::send(Key key) {
    const KeyRow& row = kKeys[static_cast<std::size_t>(key)];
    std::array<INPUT, 2> events{};
    for (std::size_t i = 0; i < events.size(); ++i) {
        INPUT& in = events[i];
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = row.vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(row.vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = (row.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SetLastError(0);
    if (SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) == events.size()) return {};
    const DWORD code = GetLastError();
    // A refusal by a higher-integrity window reports no error code.
    return code ? errorText(code) : std::string("The keys were blocked; the target window may run with higher rights.");
}

}  // namespace tavrel::win32
