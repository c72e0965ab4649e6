// What a recording appends for presses on a timeline, which key states count
// as down, and the order and pace of the polling passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/unit/recorder_rig.h"

namespace tavrel {
namespace {

using namespace fakes;

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
    // Messages that are no key change (a timer, say), after the click.
    std::vector<double> messages = {};
};

// A timer's messages from `first` on, `period` apart, until `last`.
std::vector<double> timerMessages(double first, double period, double last) {
    std::vector<double> times;
    for (double t = first; t <= last; t += period) times.push_back(t);
    return times;
}

class RecorderTimeline : public ::testing::TestWithParam<TimelineCase> {};

TEST_P(RecorderTimeline, AppendsOneEntryPerNewPress) {
    const TimelineCase& c = GetParam();
    Harness h;
    h.presses = c.presses;
    h.stopAt(c.stopAt);

    h.recorder.record();

    EXPECT_EQ(h.world.list.entries(), c.entries);
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

// Where the system wakes the loop on key changes, the loop rests between
// them; what is recorded stays as if it polled every millisecond.
class RecorderAtRest : public ::testing::TestWithParam<TimelineCase> {};

TEST_P(RecorderAtRest, RecordsWhatTheBusyLoopWould) {
    const TimelineCase& c = GetParam();
    Harness h;
    h.presses = c.presses;
    h.wakeOnKeys();
    for (double t : c.messages) h.world.events.messagesAt.push_back(kClickTime + t);
    h.stopAt(c.stopAt);

    h.recorder.record();

    EXPECT_EQ(h.world.list.entries(), c.entries);
    EXPECT_EQ(h.world.log, recordingLog(c.entries));
    EXPECT_EQ(h.world.events.keyWatches, 0);
    // Passes a millisecond apart only while a key is down and for 70 ms after
    // (an unreported change: after the rest pass that sees it); 0.25 s apart
    // otherwise, whatever other messages come meanwhile.
    for (const auto& w : h.world.events.waits) {
        const double from = w.from - kClickTime;
        const double asked = w.until - w.from;
        const bool nearAKey = std::any_of(c.presses.begin(), c.presses.end(), [&](const Press& p) {
            return from >= p.downFrom - 0.001 && from < p.downUntil + (p.reported ? 0.072 : 0.322);
        });
        if (nearAKey)
            EXPECT_TRUE(std::abs(asked - 0.001) < 1e-9 || std::abs(asked - 0.25) < 1e-9) << "at " << from;
        else
            EXPECT_NEAR(asked, 0.25, 1e-9) << "at " << from;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Recorder, RecorderAtRest, ::testing::Values(
    TimelineCase{"TapWakesTheLoop", {{kLeft, 1.0, 1.001}}, 2.0, {"LEFT"}},
    TimelineCase{"UnreportedTapCaughtByTheNextPass",
        {{kRight, 1.1, 1.101, false}}, 2.0, {"RIGHT"}},
    TimelineCase{"UnreportedPressesInOnePassInTableOrder",
        {{kDown, 1.1, 1.2, false},
         {kLeft, 1.11, 1.2, false}}, 2.0, {"LEFT", "DOWN"}},
    TimelineCase{"TwoArrowsEightMsApartInTheOrderPressed",
        {{kDown, 1.0, 1.1},
         {kLeft, 1.008, 1.1}}, 2.0, {"DOWN", "LEFT"}},
    TimelineCase{"SameArrowUpAndDownAgainFifteenMsEach",
        {{kUp, 1.0, 1.015},
         {kUp, 1.03, 1.045}}, 2.0, {"UP", "UP"}},
    // Held keys keep the beat, so unreported taps meanwhile stay apart.
    TimelineCase{"WhileAKeyIsHeldPassesKeepTheBeat",
        {{kDown, 1.0, 1.8},
         {kUp, 1.5, 1.51, false},
         {kUp, 1.52, 1.53, false}}, 2.0, {"DOWN", "UP", "UP"}},
    TimelineCase{"UnreportedTapInsideGracePeriodIgnored",
        {{kUp, 0.2, 0.201, false}}, 2.0, {}},
    TimelineCase{"KeyHeldFromBeforeRecordIgnored",
        {{kRight, -5.0, 3.0}}, 4.0, {}},
    TimelineCase{"PressJustAfterGraceRecorded",
        {{kDown, kGrace + 0.001, 0.3}}, 2.0, {"DOWN"}},
    // A tool tip's timer while the pointer rests on Record: each message gets
    // its pass, none starts the settling time; the key change among them does.
    TimelineCase{"TimerMessagesLeaveTheRestAKeyStillStirsIt",
        {{kLeft, 1.0, 1.001}}, 2.0, {"LEFT"}, timerMessages(0.01, 0.03, 2.0)}),
    [](const ::testing::TestParamInfo<TimelineCase>& p) { return std::string(p.param.name); });
// clang-format on

// At rest a pass comes every 0.25 s; a key change, or a key wake that shows
// none (a press Wine's copy of the key state hides for up to 50 ms), makes
// them a millisecond apart for 70 ms, long enough to poll once that copy has
// expired; a key wake while they are a millisecond apart starts the 70 ms
// again.
TEST(Recorder, AtRestPassesAreRareUntilAKeyStirsThem) {
    Harness h;
    h.presses = {{kLeft, 1.0, 1.001}};
    h.wakeOnKeys();
    h.world.events.keyChangesAt.push_back(kClickTime + 0.6);
    h.world.events.keyChangesAt.push_back(kClickTime + 0.65);
    h.stopAt(2.0);

    h.recorder.record();

    // From the wakes at 0.6 and 0.65 and from the release at 1.001; a pass or
    // two later may still count as stirred, as a pass a message ended on the
    // dot can.
    const double stirs[] = {0.6, 0.65, 1.001};
    int restWaits = 0;
    int beats = 0;
    for (const auto& w : h.world.events.waits) {
        const double from = w.from - kClickTime;
        const double asked = w.until - w.from;
        bool settling = false;
        bool settled = true;
        for (double stir : stirs) {
            settling = settling || (from >= stir - 0.001 && from < stir + 0.07);
            settled = settled && (from < stir - 0.001 || from >= stir + 0.072);
        }
        if (settling) {
            EXPECT_NEAR(asked, 0.001, 1e-9) << "at " << from;
            ++beats;
        }
        if (settled) {
            EXPECT_NEAR(asked, 0.25, 1e-9) << "at " << from;
            ++restWaits;
        }
    }
    // 0.6 to 0.72 and 1.0 to 1.071, a millisecond apart.
    EXPECT_GE(beats, 186);
    // Beyond the beats, only the few passes at the edges of the stirs.
    EXPECT_LE(h.world.events.waits.size(), static_cast<std::size_t>(restWaits + beats + 8));
    EXPECT_GE(restWaits, 5);
}

class RecorderKeyValue : public ::testing::TestWithParam<std::int16_t> {};

// Only zero means up: the low "pressed since last asked" bit and the high
// "down now" bit each count on their own.
TEST_P(RecorderKeyValue, AnyNonZeroPollCountsAsDown) {
    Harness h;
    h.downValue = GetParam();
    h.presses = {{kUp, 0.5, 1.0}, {kUp, 1.5, 2.0}};
    h.stopAt(3.0);

    h.recorder.record();

    EXPECT_EQ(h.world.list.entries(), (std::vector<std::string>{"UP", "UP"}));
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

}  // namespace
}  // namespace tavrel
