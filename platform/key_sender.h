// Sending keys to the focused window, for the player.
#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// Whether the window the keys went to has taken them all (KeySender::keysTaken).
enum class KeysTaken { Yes, NotYet, NoAnswer };

// Delivers a send-keys string ("{DOWN}", "{UP}", " ") to the focused window.
class KeySender {
public:
    virtual ~KeySender() = default;
    // Returns once the keys are queued: an empty string on success, otherwise
    // the system's description of why they could not be delivered. With
    // `wait`, the focused window is also marked for keysTaken() to watch.
    virtual std::string send(std::string_view keys, bool wait) = 0;
    // After a send with `wait`: Yes once that window has taken every key sent
    // (or there is no window to wait for), NotYet while it is still working
    // through them, NoAnswer when it did not answer within a moment (hung or
    // busy). Returns within about 0.1 s, so the caller can keep its own window
    // live between checks.
    virtual KeysTaken keysTaken() = 0;
};

}  // namespace tavrel
