// The system-wide key state the recorder polls.
#pragma once

#include <cstdint>

namespace tavrel {

// The system-wide key state, as GetAsyncKeyState reports it.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual std::int16_t poll(int virtualKey) = 0;
};

}  // namespace tavrel
