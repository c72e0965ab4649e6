// Records presses of the four arrow keys into the keystroke list, polling
// the system-wide key state until Stop.
#pragma once

#include <string>

#include "core/path_model.h"
#include "platform/services.h"

namespace tavrel {

class Recorder {
public:
    // `appDir` ends in a backslash; the key sound lies beside the program.
    Recorder(PathModel& list, Services& services, std::string appDir);

    // Record: empties the list and runs the whole recording,
    // returning once Stop or a full list has ended it or the program is
    // ending. Pressing Record again from inside the pump nests a second
    // recording.
    void record();

    // Stop. One Stop, or the list filling up, ends every
    // nested recording.
    void stop();

    bool recording() const { return recording_; }

    // A playback or a menu has just returned, perhaps inside a recording's
    // pump: the keys a playback sent, the arrows that moved through a menu,
    // and whatever else was pressed meanwhile are no path the user walked.
    void keysTakenElsewhere() { ++playbacks_; }

private:
    PathModel& list_;
    Services& services_;
    std::string keySound_;
    // Shared by nested recordings on purpose: the flag is the only state a
    // nested Record may disturb for the one it interrupted.
    bool recording_ = false;
    // Set when the list filled up; the recordings it ends say so.
    bool listFull_ = false;
    // Counts playbacks and menus; a pass whose pump ran one records nothing.
    int playbacks_ = 0;
};

}  // namespace tavrel
