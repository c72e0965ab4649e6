// The beep that starts a recording.
#pragma once

namespace tavrel {

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

}  // namespace tavrel
