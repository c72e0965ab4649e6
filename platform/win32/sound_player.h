// Sound files played asynchronously, by a path of any length or script.
#pragma once

#include <string>

#include <windows.h>

#include "platform/sound_player.h"

namespace tavrel::win32 {

class Win32SoundPlayer final : public SoundPlayer {
public:
    void play(const std::string& path) override;

private:
    std::string buffers_[2];
    int current_ = 0;
};

}  // namespace tavrel::win32
