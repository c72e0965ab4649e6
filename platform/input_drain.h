// Whether another program's thread has handled the keys sent to it, and
// whether it answers at all: the closing wait and the watch on the dialog ask
// the same two questions of the window the keys go to.
#pragma once

#include "platform/focus_watch.h"

namespace tavrel {

enum class InputDrained { Yes, NotYet };

class InputDrain {
public:
    virtual ~InputDrain() = default;
    // Right after keys went to `target`: from here on, drained() tells when
    // its thread has handled them.
    virtual void mark(WindowId target) = 0;
    // Yes once the thread of the window last marked has handled every input
    // sent before the mark, or when there is no such window any more.
    virtual InputDrained drained() = 0;
    // Whether that window answers a message within a moment: a busy one
    // does, a hung one does not.
    virtual bool answers() = 0;
};

}  // namespace tavrel
