// The performance counter, the program's one clock.
#pragma once


#include <windows.h>

#include "platform/clock.h"

namespace tavrel::win32 {

// The performance counter in seconds.
double monotonicSeconds();

class Win32Clock final : public Clock {
public:
    double seconds() override { return monotonicSeconds(); }
};

}  // namespace tavrel::win32
