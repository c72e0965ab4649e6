// The key that stops a playback.
#pragma once

namespace tavrel {

// A key taken system-wide while it is armed, so it reaches no other window.
class StopKey {
public:
    virtual ~StopKey() = default;
    // Takes the key; false when another program holds it.
    virtual bool arm() = 0;
    // Gives the key back; harmless when it is not armed.
    virtual void disarm() = 0;
    // True once the key has been pressed since arm(). Presses are delivered
    // as events, so this changes only inside an event pump.
    virtual bool pressed() = 0;
};

}  // namespace tavrel
