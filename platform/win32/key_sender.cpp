#include "platform/win32/key_sender.h"

#include "platform/win32/input_drained.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

void addKey(std::vector<INPUT>& events, WORD vk, bool extended) {
    for (bool up : {false, true}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        // Without the extended flag the arrows travel as numeric-keypad keys.
        in.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
        events.push_back(in);
    }
}

struct NamedKey {
    std::string_view name;
    WORD vk;
    bool extended;
};

constexpr NamedKey kNamedKeys[] = {
    {"{DOWN}", VK_DOWN, true}, {"{UP}", VK_UP, true},       {"{LEFT}", VK_LEFT, true},
    {"{RIGHT}", VK_RIGHT, true}, {"{ENTER}", VK_RETURN, false},
};

}  // namespace

bool keyEvents(std::string_view keys, std::vector<INPUT>& events, std::string& unknown) {
    while (!keys.empty()) {
        bool matched = false;
        for (const auto& k : kNamedKeys) {
            if (keys.substr(0, k.name.size()) == k.name) {
                addKey(events, k.vk, k.extended);
                keys.remove_prefix(k.name.size());
                matched = true;
                break;
            }
        }
        if (matched) continue;
        if (keys.front() == '{') {
            unknown = std::string(keys.substr(0, keys.find('}') + 1));
            return false;
        }
        SHORT scan = VkKeyScanA(keys.front());
        if (scan == -1 || (scan & 0xFF00) != 0) {  // needs Shift or has no key: not a plain key
            unknown = std::string(1, keys.front());
            return false;
        }
        addKey(events, static_cast<WORD>(scan & 0xFF), false);
        keys.remove_prefix(1);
    }
    return true;
}

std::string Win32KeySender::send(std::string_view keys, bool wait) {
    std::vector<INPUT> events;
    std::string unknown;
    if (!keyEvents(keys, events, unknown)) return "The key \"" + unknown + "\" cannot be sent.";
    if (!events.empty()) {
        SetLastError(0);
        UINT sent = SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
        if (sent != events.size()) {
            DWORD code = GetLastError();
            // A refusal by a higher-integrity window reports no error code.
            return code ? errorText(code)
                        : std::string("The keys were blocked; the target window may run with higher rights.");
        }
    }
    if (wait) {
        watched_ = GetForegroundWindow();
        if (!watched_ || !IsWindowVisible(watched_)) watched_ = nullptr;
        // Keys for our own window are taken by our own pump, which cannot be
        // watched from here.
        else if (GetWindowThreadProcessId(watched_, nullptr) == GetCurrentThreadId()) watched_ = nullptr;
        // A thread is handed WM_PAINT only when no input waits in its queue,
        // so a pixel invalidated now and found painted later marks the moment
        // its input ran dry. A sent message alone cannot tell: sent messages
        // are handled ahead of queued input. Measured under Wine 8 with the
        // receiving dialog stalled while the last 60 entries went out: the
        // sent message came back with 50 to 100 presses still queued, "DONE!"
        // took the foreground, and those keys were lost.
        else if (!markInputEnd(watched_)) watched_ = nullptr;
    }
    return {};
}

KeysTaken Win32KeySender::keysTaken() {
    if (inputDrained(watched_)) {
        watched_ = nullptr;
        return KeysTaken::Yes;
    }
    // Each answer comes between two of the target's messages, which both
    // paces the checks and tells a busy target from a hung one.
    if (!answers(watched_)) return KeysTaken::NoAnswer;
    return KeysTaken::NotYet;
}

}  // namespace tavrel::win32
