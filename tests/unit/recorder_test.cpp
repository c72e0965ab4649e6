#include "macro/recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/fakes/fake_world.h"

namespace tavrel {
namespace {

using fakes::FakeWorld;
using Log = std::vector<std::string>;

constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;

// Binary fractions keep every fake-clock time exact, so the grace boundary
// can be hit on the nose. The clock advances one step per reading, so pass k
// of a recording started at time 0 pumps and polls at k steps.
constexpr double kStep = 1.0 / 64;
constexpr double kClickTime = 1000.0;
constexpr double kGrace = 0.25;  // exactly 16 steps

const std::string kAppDir = "C:\\Tavrel\\";
const std::string kKeySound = "sound C:\\Tavrel\\key.wav";
const std::string kHalted = "message 64 Recording halted.";
const std::string kNothingToStop = "message 48 Nothing to stop.";

// A key held down for downFrom <= t < downUntil, in seconds after the click
// on Record.
struct Press {
    int key;
    double downFrom;
    double downUntil;
};

// One recorder in a scripted world: key presses on a timeline, and handlers
// run from the event pump at chosen times.
struct Harness {
    FakeWorld world;
    Services services = world.services();
    Recorder recorder{world.list, services, kAppDir};
    std::vector<Press> presses;
    std::int16_t downValue = 1;
    // Called from every pump with the time since the click on Record.
    std::function<void(double t)> atPump;

    Harness() {
        world.clock.now = kClickTime;
        world.clock.step = kStep;
        // Passes one clock step apart, as if a message were always waiting;
        // the tests of idle passes let the waits sleep.
        world.events.alwaysInput = true;
        world.keys.timeline = [this](int key, double now) -> std::int16_t {
            const double t = now - kClickTime;
            for (const Press& p : presses)
                if (p.key == key && p.downFrom <= t && t < p.downUntil) return downValue;
            return 0;
        };
        world.events.onPump = [this](int) {
            if (atPump) atPump(elapsed());
        };
    }

    double elapsed() const { return world.clock.now - kClickTime; }

    // Stop is clicked in the first pump at or after `t`.
    void stopAt(double t) {
        atPump = [this, t, done = false](double now) mutable {
            if (!done && now >= t) {
                done = true;
                recorder.stop();
            }
        };
    }
};

Log recordingLog(const std::vector<std::string>& entries) {
    Log log{"clear", "beep"};
    for (const auto& e : entries) {
        log.push_back("append " + e);
        log.push_back(kKeySound);
    }
    log.push_back(kHalted);
    return log;
}

struct TimelineCase {
    const char* name;
    std::vector<Press> presses;
    double stopAt;
    std::vector<std::string> entries;
};

class RecorderTimeline : public ::testing::TestWithParam<TimelineCase> {};

TEST_P(RecorderTimeline, AppendsOneEntryPerNewPress) {
    const TimelineCase& c = GetParam();
    Harness h;
    h.presses = c.presses;
    h.stopAt(c.stopAt);

    h.recorder.record();

    EXPECT_EQ(h.world.list.entries, c.entries);
    EXPECT_EQ(h.world.log, recordingLog(c.entries));
    EXPECT_FALSE(h.recorder.recording());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Recorder, RecorderTimeline, ::testing::Values(
    TimelineCase{"StopAtOnceWithoutKeys", {}, 0.0, {}},
    TimelineCase{"NoKeysPressed", {}, 2.0, {}},
    TimelineCase{"LongHoldGivesOneEntry",
        {{kLeft, 0.5, 4.0}}, 5.0, {"LEFT"}},
    TimelineCase{"ReleaseAndPressAgainGivesSecondEntry",
        {{kLeft, 0.5, 1.0},
         {kLeft, 1.5, 2.0}}, 3.0, {"LEFT", "LEFT"}},
    TimelineCase{"ReleaseForOnePassIsEnough",
        {{kUp, 0.5, 1.0},
         {kUp, 1.0 + kStep, 2.0}}, 3.0, {"UP", "UP"}},
    TimelineCase{"TapSeenInOnePassOnly",
        {{kRight, 1.0, 1.0 + kStep}}, 2.0, {"RIGHT"}},
    TimelineCase{"EachKeyInTheOrderPressed",
        {{kDown, 0.5, 0.7},
         {kRight, 0.8, 0.9},
         {kUp, 1.0, 1.1},
         {kLeft, 1.2, 1.3}}, 2.0, {"DOWN", "RIGHT", "UP", "LEFT"}},
    TimelineCase{"OverlappingPressesOfDifferentKeys",
        {{kLeft, 0.5, 3.0},
         {kUp, 1.0, 1.5},
         {kDown, 2.0, 4.0}}, 5.0, {"LEFT", "UP", "DOWN"}},
    TimelineCase{"SamePassLeftAndDownInTableOrder",
        {{kDown, 0.5, 1.0},
         {kLeft, 0.5, 1.0}}, 2.0, {"LEFT", "DOWN"}},
    TimelineCase{"SamePassAllFourInTableOrder",
        {{kDown, 0.5, 1.0},
         {kRight, 0.5, 1.0},
         {kUp, 0.5, 1.0},
         {kLeft, 0.5, 1.0}}, 2.0, {"LEFT", "UP", "RIGHT", "DOWN"}},
    TimelineCase{"PressInsideGracePeriodIgnored",
        {{kUp, 0.1, 0.6}}, 2.0, {}},
    TimelineCase{"PressInsideGracePeriodIgnoredButNextPressCounts",
        {{kUp, 0.1, 0.6},
         {kUp, 1.0, 1.2}}, 2.0, {"UP"}},
    TimelineCase{"KeyHeldFromBeforeRecordIgnored",
        {{kRight, -5.0, 3.0}}, 4.0, {}},
    TimelineCase{"KeyHeldFromBeforeRecordCountsAfterRelease",
        {{kRight, -5.0, 3.0},
         {kRight, 3.5, 4.0}}, 5.0, {"RIGHT"}},
    // The pass polling at exactly the grace time reads the clock at exactly
    // start + 0.25, which is not yet past it.
    TimelineCase{"PressSeenWhenGraceEndsExactlyIgnored",
        {{kDown, kGrace, 1.0}}, 2.0, {}},
    TimelineCase{"PressSeenOnePassAfterGraceRecorded",
        {{kDown, kGrace + kStep, 1.0}}, 2.0, {"DOWN"}},
    TimelineCase{"PressInThePassOfStopRecorded",
        {{kLeft, 1.0, 2.0}}, 1.0, {"LEFT"}},
    TimelineCase{"PressAfterThePassOfStopIgnored",
        {{kLeft, 1.0, 2.0},
         {kUp, 1.0 + kStep, 2.0}}, 1.0, {"LEFT"}},
    TimelineCase{"OtherKeysNeverRecorded",
        {{36, 0.5, 1.0},
         {41, 0.5, 1.0},
         {'A', 1.0, 1.5}}, 2.0, {}}),
    [](const ::testing::TestParamInfo<TimelineCase>& p) { return std::string(p.param.name); });
// clang-format on

class RecorderKeyValue : public ::testing::TestWithParam<std::int16_t> {};

// Only zero means up: the low "pressed since last asked" bit and the high
// "down now" bit each count on their own.
TEST_P(RecorderKeyValue, AnyNonZeroPollCountsAsDown) {
    Harness h;
    h.downValue = GetParam();
    h.presses = {{kUp, 0.5, 1.0}, {kUp, 1.5, 2.0}};
    h.stopAt(3.0);

    h.recorder.record();

    EXPECT_EQ(h.world.list.entries, (std::vector<std::string>{"UP", "UP"}));
}

INSTANTIATE_TEST_SUITE_P(Recorder, RecorderKeyValue,
                         ::testing::Values(std::int16_t{1}, std::int16_t{-32768},
                                           std::int16_t{-32767}, std::int16_t{0x7FFF},
                                           std::int16_t{-1}, std::int16_t{0x0100}));

TEST(Recorder, EachPassPumpsFirstThenPollsTheFourArrowsInOrderThenWaits) {
    for (bool alwaysInput : {true, false}) {
        SCOPED_TRACE(alwaysInput ? "a message always waiting" : "idle");
        Harness h;
        h.world.events.alwaysInput = alwaysInput;
        h.world.keys.timeline = [&h](int key, double) -> std::int16_t {
            h.world.log.push_back("poll " + std::to_string(key));
            return 0;
        };
        h.world.events.onWait = [&h](const fakes::FakePump::Wait&) { h.world.log.push_back("wait"); };
        h.atPump = [&h](double) {
            h.world.log.push_back("pump");
            if (h.world.events.calls == 4) h.recorder.stop();
        };

        h.recorder.record();

        Log pass{"pump", "poll 37", "poll 38", "poll 39", "poll 40", "wait"};
        Log expected{"clear", "beep"};
        for (int i = 0; i < 4; ++i) expected.insert(expected.end(), pass.begin(), pass.end());
        expected.pop_back();  // no wait after the pass of Stop
        expected.push_back(kHalted);
        EXPECT_EQ(h.world.log, expected);
        EXPECT_EQ(h.world.events.waitingLoops, 0);
    }
}

// With nothing happening a pass comes every millisecond, each wait asking to
// end a millisecond after its pass read the clock; a message ends a wait at
// once and its handler runs in the next pump, with the clock where it woke.
TEST(Recorder, IdlePassesComeEveryMillisecondAndAMessageWakesAtOnce) {
    const struct {
        const char* name;
        std::vector<double> messagesAt;  // after the click
    } cases[] = {
        {"no message", {}},
        {"one mid-sleep", {0.0105}},
        {"two in one sleep", {0.0201, 0.0202}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.world.events.alwaysInput = false;
        h.world.clock.step = 0.0;  // only waits move the time
        for (double t : c.messagesAt) h.world.events.messagesAt.push_back(kClickTime + t);
        std::vector<double> pumpTimes;
        h.atPump = [&](double t) {
            pumpTimes.push_back(t);
            if (t >= 0.05 - 1e-9) h.recorder.stop();
        };

        h.recorder.record();

        const auto& waits = h.world.events.waits;
        ASSERT_FALSE(waits.empty());
        for (const auto& w : waits) {
            EXPECT_NEAR(w.until - w.from, 0.001, 1e-9);
            EXPECT_LE(w.woke, w.until);
        }
        for (double t : c.messagesAt) {
            EXPECT_NE(std::find_if(pumpTimes.begin(), pumpTimes.end(),
                                   [t](double p) { return std::abs(p - t) < 1e-9; }),
                      pumpTimes.end())
                << "no pump at " << t;
        }
        for (std::size_t i = 1; i < pumpTimes.size(); ++i) EXPECT_LE(pumpTimes[i] - pumpTimes[i - 1], 0.001 + 1e-9);
        EXPECT_EQ(pumpTimes.size(), 51 + c.messagesAt.size());
        EXPECT_EQ(h.world.events.waitingLoops, 0);
    }
}

TEST(Recorder, RecordEmptiesAFilledListAndBeepsBeforeTheFirstPass) {
    Harness h;
    h.world.list.entries = {"UP", "up", "RIGHT"};
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
    h.world.list.entries = {"LEFT", "DOWN"};

    h.recorder.stop();

    EXPECT_EQ(h.world.log, (Log{kNothingToStop}));
    EXPECT_EQ(h.world.list.entries, (std::vector<std::string>{"LEFT", "DOWN"}));
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
    EXPECT_EQ(h.world.list.entries, (std::vector<std::string>{"UP", "RIGHT", "RIGHT"}));
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
                h.world.list.entries.assign(static_cast<std::size_t>(c.loadedAtHalfASecond), "UP");
            }
            // The user would stop at 3 s; the full list must have ended it by then.
            if (t >= 3.0 && h.recorder.recording()) h.recorder.stop();
        };

        h.recorder.record();

        EXPECT_EQ(h.world.log, c.log);
        EXPECT_LT(h.elapsed(), 2.0);
        ASSERT_EQ(h.world.list.count(), kListCapacity);
        EXPECT_EQ(h.world.list.entries.back(), c.last);
        EXPECT_FALSE(h.recorder.recording());
    }
}

}  // namespace
}  // namespace tavrel
