// Everything the logic may ask of the platform, one seam a header, gathered
// here for injection. platform/win32 implements each seam; tests/fakes
// implements them for unit tests.
#pragma once

#include "platform/beeper.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/file_store.h"
#include "platform/focus_watch.h"
#include "platform/input_drain.h"
#include "platform/key_sender.h"
#include "platform/key_state.h"
#include "platform/notifier.h"
#include "platform/shell_launcher.h"
#include "platform/sound_player.h"
#include "platform/stop_key.h"
#include "platform/window_order.h"

namespace tavrel {

struct Services {
    KeyState& keys;
    KeySender& sender;
    SoundPlayer& sound;
    Beeper& beeper;
    Clock& clock;
    EventPump& events;
    Notifier& notifier;
    ShellLauncher& shell;
    WindowOrder& order;
    FileStore& files;
    FocusWatch& focus;
    StopKey& stopKey;
    InputDrain& drain;
};

}  // namespace tavrel
