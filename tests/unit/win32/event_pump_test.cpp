// What ends a wait for input, on the system's own message queue.
#include <gtest/gtest.h>

#include "platform/win32/clock.h"
#include "platform/win32/event_pump.h"

namespace tavrel::win32 {
namespace {

TEST(Win32EventPump, AMessageAlreadyWaitingEndsTheWaitHoweverLittleTimeIsLeft) {
    const struct {
        bool messageWaiting;
        double timeLeft;  // seconds; negative: the wait's time has passed
        Wake wake;
    } cases[] = {{false, -1.0, Wake::Time}, {false, 0.001, Wake::Time}, {true, 0.0001, Wake::Message},
                 {true, -1.0, Wake::Message}, {true, 1.0, Wake::Message}};
    Win32EventPump events;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes this thread's queue
    for (const auto& c : cases) {
        if (c.messageWaiting) {
            ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0));
        }
        EXPECT_EQ(events.waitForInput(monotonicSeconds() + c.timeLeft), c.wake) << c.timeLeft;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
}

}  // namespace
}  // namespace tavrel::win32
