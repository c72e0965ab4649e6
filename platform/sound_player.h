// Short sounds from files, for the recorder and the player.
#pragma once

#include <string>

namespace tavrel {

// Starts a sound file asynchronously; a missing file plays nothing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& path) = 0;
};

}  // namespace tavrel
