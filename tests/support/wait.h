// Bounded waits. The machines the tests run on are shared and slow at
// times, so every wait is generous, polls instead of sleeping a fixed time,
// and lets its caller say what it saw when it gives up.
#pragma once

#include <chrono>
#include <functional>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

inline constexpr Millis kWait = 30s;

// Polls `condition` until it holds or `timeout` passes; false on timeout.
bool waitUntil(const std::function<bool()>& condition, Millis timeout = kWait);

// Runs this thread's window messages.
void pumpOwnMessages();

// Like waitUntil, but runs this thread's window messages while it waits:
// under Wine a window's X events only become key input while its thread pumps.
bool pumpUntil(const std::function<bool()>& condition, Millis timeout = kWait);

}  // namespace e2e
