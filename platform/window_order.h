// Keeping the main window on top of the others.
#pragma once

#include <cstdint>

namespace tavrel {

// Always-on-top switch for the main window.
class WindowOrder {
public:
    virtual ~WindowOrder() = default;
    // -1 makes the window topmost, any other value returns it to normal order.
    virtual void setTop(std::int16_t flag) = 0;
};

}  // namespace tavrel
