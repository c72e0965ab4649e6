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

    // A playback or a menu takes the keys from here (`begins`) until it
    // ends: the keys a playback sends, the arrows that move through a menu,
    // and whatever else is pressed meanwhile are no path the user walked.
    void keysTakenElsewhere(bool begins) {
        elsewhere_ += begins ? 1 : -1;
        ++playbacks_;
    }

private:
    PathModel& list_;
    Services& services_;
    std::string keySound_;
    // Shared by nested recordings on purpose: the flag is the only state a
    // nested Record may disturb for the one it interrupted.
    bool recording_ = false;
    // Set when the list filled up; the recordings it ends say so.
    bool listFull_ = false;
    // Counts the starts and ends of playbacks and menus; a pass whose pump
    // saw one, or that runs while one goes on, records nothing.
    int playbacks_ = 0;
    int elsewhere_ = 0;
};

}  // namespace tavrel
