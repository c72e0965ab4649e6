// Sending keys to the focused window, for the player.
#pragma once

#include <string>

namespace tavrel {

// The only keys a path is played with: two walk the dialog's focus, one
// presses the button it is on.
enum class Key { Down, Up, Space };

// Delivers keys to the window that has the keyboard focus.
class KeySender {
public:
    virtual ~KeySender() = default;
    // The key's press and release, queued for the focused window: an empty
    // string on success, otherwise the system's description of why it could
    // not be delivered.
    virtual std::string send(Key key) = 0;
};

}  // namespace tavrel
