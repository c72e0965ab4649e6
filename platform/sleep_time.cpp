#include "platform/sleep_time.h"

#include <cmath>

namespace tavrel {

int sleepMilliseconds(double nowSeconds, double untilSeconds) {
    constexpr double kDayMs = 86400.0 * 1000.0;
    const double ms = std::floor((untilSeconds - nowSeconds) * 1000.0 + 0.5);
    if (!(ms > 0.0)) return 0;  // also a NaN
    return static_cast<int>(ms < kDayMs ? ms : kDayMs);
}

}  // namespace tavrel
