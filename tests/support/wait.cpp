#include "tests/support/wait.h"

#include <windows.h>

namespace e2e {

namespace {

constexpr DWORD kPollMs = 20;

bool waitWith(const std::function<bool()>& condition, Millis timeout, bool pump) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (pump) pumpOwnMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        // Wakes early for a message of this thread, which a pumping wait handles at once.
        if (pump) MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        else Sleep(kPollMs);
    }
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, Millis timeout) { return waitWith(condition, timeout, false); }

bool pumpUntil(const std::function<bool()>& condition, Millis timeout) { return waitWith(condition, timeout, true); }

void pumpOwnMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace e2e
