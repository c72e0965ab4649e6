// The time every wait and grace period is measured in.
#pragma once

namespace tavrel {

// Monotonic seconds: only differences are meaningful, so no wait or grace
// period can stall when the wall clock passes midnight.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double seconds() = 0;
};

}  // namespace tavrel
