// Arrow keys held on a timeline: how the tests of recording, alone or
// through the main window's handlers, script the user's keys.
#pragma once

#include <vector>

namespace tavrel::fakes {

inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;

// A key held down for downFrom <= t < downUntil, in seconds after the click
// on Record.
struct Press {
    int key;
    double downFrom;
    double downUntil;
    // Whether the system reports its going down and up as input that wakes
    // a key watch (Harness::wakeOnKeys).
    bool reported = true;
};

// Whether `key` is held `t` seconds after the click on Record.
inline bool held(const std::vector<Press>& presses, int key, double t) {
    for (const Press& p : presses)
        if (p.key == key && p.downFrom <= t && t < p.downUntil) return true;
    return false;
}

}  // namespace tavrel::fakes
