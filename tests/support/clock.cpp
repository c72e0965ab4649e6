#include "tests/support/clock.h"

#include "platform/win32/clock.h"

namespace e2e {

double seconds() { return tavrel::win32::monotonicSeconds(); }

std::uint64_t microseconds() {
    static const std::uint64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<std::uint64_t>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    // Split so that ticks * 1e6 cannot overflow after a few days of uptime.
    return ticks / frequency * 1000000u + ticks % frequency * 1000000u / frequency;
}

}  // namespace e2e
