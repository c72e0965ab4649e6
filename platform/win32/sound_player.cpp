#include "platform/win32/sound_player.h"

#include <mmsystem.h>

#include <utility>

#include "platform/win32/file_store.h"
#include "platform/win32/system_libraries.h"

namespace tavrel::win32 {

void Win32SoundPlayer::play(const std::string& path) {
    // Wine's winmm opens a sound file by name through the ANSI code page and
    // a 128-character buffer: under Wine 8, a program folder named in
    // Cyrillic or longer than that played nothing. So the file is read here,
    // by its UTF-16 path at any length, and played from memory.
    ReadResult file = Win32FileStore{}.readAll(path);
    // Started asynchronously; a missing file plays nothing, not the default sound.
    if (!file.ok || file.bytes.empty()) return;
    // The system reads the sound from this memory after the call returns. A
    // new sound stops the one before it, so the buffer from two sounds back
    // is the first one free to go.
    current_ = 1 - current_;
    buffers_[current_] = std::move(file.bytes);
    playSoundFile(reinterpret_cast<const wchar_t*>(buffers_[current_].data()), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

}  // namespace tavrel::win32
