// The Win32 implementations of the platform services, gathered in one object
// for the main window to hand to the logic.
#pragma once

#include "platform/services.h"
#include "platform/win32/beeper.h"
#include "platform/win32/clock.h"
#include "platform/win32/event_pump.h"
#include "platform/win32/file_store.h"
#include "platform/win32/focus_watch.h"
#include "platform/win32/input_drain.h"
#include "platform/win32/key_sender.h"
#include "platform/win32/key_state.h"
#include "platform/win32/notifier.h"
#include "platform/win32/shell_launcher.h"
#include "platform/win32/sound_player.h"
#include "platform/win32/stop_key.h"
#include "platform/win32/window_order.h"

namespace tavrel::win32 {

struct Win32Services {
    Win32KeyState keys;
    Win32KeySender sender;
    Win32SoundPlayer sound;
    Win32Beeper beeper;
    Win32Clock clock;
    Win32EventPump events;
    Win32Notifier notifier;
    Win32ShellLauncher shell;
    Win32WindowOrder order;
    Win32FileStore files;
    Win32FocusWatch focus;
    Win32StopKey stopKey;
    Win32InputDrain drain;

    Services services() {
        return Services{keys, sender, sound, beeper, clock, events, notifier, shell, order, files, focus, stopKey, drain};
    }
};

}  // namespace tavrel::win32
