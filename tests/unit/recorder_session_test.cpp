// Record and Stop as the user clicks them: a second Stop, nested recordings,
// the window closing, and a list that fills up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/recorder_rig.h"

namespace tavrel {
namespace {

using namespace fakes;

TEST(Recorder, RecordEmptiesAFilledListAndBeepsBeforeTheFirstPass) {
    Harness h;
    h.world.setEntries({"UP", "up", "RIGHT"});
    Log seenAtFirstPump;
    bool flagAtFirstPump = false;
    h.atPump = [&](double) {
        seenAtFirstPump = h.world.log;
        flagAtFirstPump = h.recorder.recording();
        EXPECT_EQ(h.world.list.count(), 0);
        h.recorder.stop();
    };

    h.recorder.record();

    EXPECT_EQ(seenAtFirstPump, (Log{"clear", "beep"}));
    EXPECT_TRUE(flagAtFirstPump);
    EXPECT_EQ(h.world.list.count(), 0);
    EXPECT_EQ(h.world.log, (Log{"clear", "beep", kHalted}));
    EXPECT_FALSE(h.recorder.recording());
}

TEST(Recorder, StopWithNothingRecordingOnlyComplains) {
    Harness h;
    h.world.setEntries({"LEFT", "DOWN"});

    h.recorder.stop();

    EXPECT_EQ(h.world.log, (Log{kNothingToStop}));
    EXPECT_EQ(h.world.list.entries(), (std::vector<std::string>{"LEFT", "DOWN"}));
    EXPECT_FALSE(h.recorder.recording());
}

TEST(Recorder, StopAfterTheRecordingEndedComplains) {
    Harness h;
    h.stopAt(0.5);
    h.recorder.record();

    h.recorder.stop();

    EXPECT_EQ(h.world.log, (Log{"clear", "beep", kHalted, kNothingToStop}));
}

TEST(Recorder, SecondStopInTheSamePumpComplains) {
    Harness h;
    h.presses = {{kLeft, 0.5, 1.0}};
    h.atPump = [&h](double t) {
        if (t >= 2.0 && h.recorder.recording()) {
            h.recorder.stop();
            h.recorder.stop();
        }
    };

    h.recorder.record();

    EXPECT_EQ(h.world.log,
              (Log{"clear", "beep", "append LEFT", kKeySound, kNothingToStop, kHalted}));
}

TEST(Recorder, SoundPathIsTheProgramFolderFollowedByKeyWav) {
    struct Case {
        std::string appDir;
        std::string sound;
    };
    const Case cases[] = {
        {"C:\\", "sound C:\\key.wav"},
        {"D:\\Games\\RMXP Tools\\", "sound D:\\Games\\RMXP Tools\\key.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.appDir);
        Harness h;
        Recorder recorder{h.world.list, h.services, c.appDir};
        h.presses = {{kLeft, 0.5, 1.0}, {kDown, 1.5, 2.0}};
        h.atPump = [&recorder](double t) {
            if (t >= 3.0) recorder.stop();
        };

        recorder.record();

        EXPECT_EQ(h.world.log, (Log{"clear", "beep", "append LEFT", c.sound, "append DOWN",
                                    c.sound, kHalted}));
    }
}

// The outer recording is interrupted inside its pump at t = 1. LEFT is held
// across the nested recording, RIGHT goes down during it: when the outer pass
// resumes it still remembers LEFT as down and RIGHT as up.
TEST(Recorder, NestedRecordEndsWithOneStopAndOuterPassUsesItsOwnStates) {
    Harness h;
    h.presses = {
        {kLeft, 0.5, 10.0},
        {kDown, 0.7, 1.5},
        {kUp, 2.0, 2.5},
        {kRight, 3.0, 10.0},
    };
    bool nested = false;
    bool stopped = false;
    std::vector<bool> flagSeenByOuterAfterNested;
    h.atPump = [&](double t) {
        if (!nested && t >= 1.0) {
            nested = true;
            h.recorder.record();
            flagSeenByOuterAfterNested.push_back(h.recorder.recording());
        } else if (nested && !stopped && t >= 4.0) {
            stopped = true;
            h.recorder.stop();
        }
    };

    h.recorder.record();

    EXPECT_EQ(h.world.log, (Log{
                               "clear", "beep",
                               "append LEFT", kKeySound,
                               "append DOWN", kKeySound,
                               "clear", "beep",  // nested Record
                               "append UP", kKeySound,
                               "append RIGHT", kKeySound,
                               kHalted,  // nested recording ends
                               "append RIGHT", kKeySound,
                               kHalted,
                           }));
    EXPECT_EQ(h.world.list.entries(), (std::vector<std::string>{"UP", "RIGHT", "RIGHT"}));
    EXPECT_EQ(flagSeenByOuterAfterNested, std::vector<bool>{false});
    EXPECT_FALSE(h.recorder.recording());
}

// A nested recording starts its own grace period from its own click, while
// the outer one, long past its grace period, records at once after resuming.
TEST(Recorder, NestedRecordHasItsOwnGracePeriod) {
    Harness h;
    h.presses = {
        {kUp, 1.0 + 0.1, 1.0 + 0.2},  // inside the nested grace period
    };
    bool nested = false;
    h.atPump = [&](double t) {
        if (!nested && t >= 1.0) {
            nested = true;
            h.recorder.record();
        } else if (nested && t >= 1.0 + 0.15 && h.recorder.recording()) {
            h.recorder.stop();
        }
    };

    h.recorder.record();

    EXPECT_EQ(h.world.log, (Log{"clear", "beep", "clear", "beep", kHalted, "append UP",
                                kKeySound, kHalted}));
}

TEST(Recorder, ClosingDuringTheRecordingEndsItSilently) {
    struct Case {
        const char* name;
        double closeAt;
        Log log;
    };
    const Case cases[] = {
        {"BeforeAnyPress", 0.2, {"clear", "beep"}},
        {"AfterOnePress", 0.8, {"clear", "beep", "append UP", kKeySound}},
        // LEFT goes down in the pass whose pump ends the program.
        {"InThePassOfANewPress", 1.0, {"clear", "beep", "append UP", kKeySound}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.presses = {{kUp, 0.5, 0.6}, {kLeft, 1.0, 9.0}};
        int closingPump = 0;
        h.atPump = [&](double t) {
            if (t >= c.closeAt && !h.world.ended) {
                h.world.ended = true;
                closingPump = h.world.events.calls;
            }
        };

        h.recorder.record();

        EXPECT_EQ(h.world.log, c.log);
        EXPECT_EQ(h.world.events.calls, closingPump);
    }
}

TEST(Recorder, ClosingDuringANestedRecordingEndsBothSilently) {
    Harness h;
    h.presses = {{kLeft, 0.5, 0.6}, {kRight, 1.1, 9.0}, {kUp, 1.5, 1.6}};
    bool nested = false;
    h.atPump = [&](double t) {
        if (!nested && t >= 1.0) {
            nested = true;
            h.recorder.record();
        } else if (nested && t >= 2.0) {
            h.world.ended = true;
        }
    };

    h.recorder.record();

    // RIGHT went down while the outer recording waited: it would be appended
    // if the outer pass went on.
    EXPECT_EQ(h.world.log, (Log{"clear", "beep", "append LEFT", kKeySound, "clear", "beep",
                                "append UP", kKeySound}));
}

// A full list ends the recording as Stop would, with its own message, at
// the end of the pass in which it filled; presses the list cannot take get
// no sound. Load, in the pump, can bring it to the brink or fill it.
TEST(Recorder, FullListEndsTheRecordingAndSaysSo) {
    const std::string kFull = "message 64 Recording halted: the list is full (32,767 entries).";
    const struct {
        const char* name;
        std::vector<Press> presses;
        int loadedAtHalfASecond;  // entries Load leaves in the list at t = 0.5
        bool nestAfterTheGrace;  // Record pressed again at t = 0.25
        Log log;
        std::string last;
    } cases[] = {
        {"a press takes the last place",
         {{kLeft, 1.0, 1.2}, {kUp, 1.5, 1.7}, {kRight, 2.0, 2.2}},
         kListCapacity - 1,
         false,
         {"clear", "beep", "append LEFT", kKeySound, kFull},
         "LEFT"},
        {"two presses in one pass with one place left",
         {{kRight, 1.0, 1.2}, {kDown, 1.0, 1.2}},
         kListCapacity - 1,
         false,
         {"clear", "beep", "append RIGHT", kKeySound, kFull},
         "RIGHT"},
        {"Load fills it", {{kLeft, 1.0, 1.2}}, kListCapacity, false, {"clear", "beep", kFull}, "UP"},
        {"a nested recording fills it: both end and both say so",
         {{kUp, 1.5, 1.7}},
         kListCapacity - 1,
         true,
         {"clear", "beep", "clear", "beep", "append UP", kKeySound, kFull, kFull},
         "UP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.presses = c.presses;
        bool nested = false, loaded = false;
        h.atPump = [&](double t) {
            if (c.nestAfterTheGrace && !nested && t >= 0.25) {
                nested = true;
                h.recorder.record();
            }
            if (!loaded && t >= 0.5) {
                loaded = true;
                h.world.setEntries(std::vector<std::string>(static_cast<std::size_t>(c.loadedAtHalfASecond), "UP"));
            }
            // The user would stop at 3 s; the full list must have ended it by then.
            if (t >= 3.0 && h.recorder.recording()) h.recorder.stop();
        };

        h.recorder.record();

        EXPECT_EQ(h.world.log, c.log);
        EXPECT_LT(h.elapsed(), 2.0);
        ASSERT_EQ(h.world.list.count(), kListCapacity);
        EXPECT_EQ(h.world.list.entries().back(), c.last);
        EXPECT_FALSE(h.recorder.recording());
    }
}

}  // namespace
}  // namespace tavrel
