// SendThe and Delay on their own: the pacing of the pieces and the pumping
// while the player waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/unit/player_rig.h"

namespace tavrel {
namespace {

using namespace fakes;
using enum SpeedMode;

// The log with every run of pumps shown once.
Log collapsePumps(const Log& log) {
    Log out;
    for (const auto& s : log)
        if (s != "pump" || out.empty() || out.back() != "pump") out.push_back(s);
    return out;
}

TEST(Player, SendTheSkipsEmptyPiecesAndPumpsBeforeEverySend) {
    const struct {
        std::string keys;
        SpeedMode mode;
        int noSound;
        Log expected;  // runs of pumps shown once
    } cases[] = {
        {"", Surpressed, 0, {}},
        {",,,", UltraSurpressed, 0, {}},
        {" ", Original, 0, {"pump", "send  "}},
        {",{DOWN},,{UP},", Original, 0, {"pump", "send {DOWN}", "pump", "send {UP}"}},
        // A wait: pump, read the clock, sleep; then the polled last stretch.
        {"{DOWN},,{UP}", Surpressed, 0,
         {"pump", "wait", "pump", kClick, "pump", "send {DOWN}", "pump", "wait", "pump", kClick, "pump", "send {UP}"}},
        {"{DOWN},,{UP}", UltraSurpressed, 1,
         {"pump", "wait", "pump", "send {DOWN}", "pump", "wait", "pump", "send {UP}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("keys \"" + c.keys + "\" " + modeName(c.mode));
        Rig rig({}, c.mode, c.noSound);
        rig.world.events.onPump = [&](int) { rig.world.log.push_back("pump"); };
        rig.world.events.onWait = [&](const fakes::FakePump::Wait&) { rig.world.log.push_back("wait"); };
        PlayerTestAccess::SendThe(rig.player, c.keys);
        EXPECT_EQ(collapsePumps(rig.world.log), c.expected);
    }
}

TEST(Player, SendTheInModeZeroPumpsExactlyOncePerPiece) {
    Rig rig({}, Original, 0);
    PlayerTestAccess::SendThe(rig.player, "{DOWN},,{DOWN}, ,{UP}");
    EXPECT_EQ(rig.world.events.calls, 4);
}

TEST(Player, SendTheAloneReportsAFailedSendAndStops) {
    Rig rig({}, Original, 0);
    rig.sender.failOnSend = 2;
    PlayerTestAccess::SendThe(rig.player, "{DOWN}, ,{UP}");
    ASSERT_EQ(rig.world.log.size(), 3u);
    EXPECT_EQ(Log(rig.world.log.begin(), rig.world.log.begin() + 2), (Log{"send {DOWN}", "send  "}));
    EXPECT_EQ(rig.world.log.back().rfind("message 16 ", 0), 0u);
}

TEST(Player, SendTheStopsWhenTheProgramEnds) {
    Rig rig({}, Surpressed, 0);
    rig.world.events.onPump = [&](int) {
        if (rig.sends() == 1) rig.world.ended = true;
    };
    PlayerTestAccess::SendThe(rig.player, "{DOWN}, ,{UP}");
    EXPECT_EQ(rig.world.log, (Log{kClick, "send {DOWN}"}));
}

TEST(Player, DelayPumpsUntilStrictlyPastItsLength) {
    // A step of 0.25 s is exact in binary, so some reading lands exactly on
    // the end of the wait, which must not yet end it.
    for (double step : {0.001, 0.25}) {
        for (double origin : {0.0, 1024.0, 86399.99, 1.0e7}) {
            for (float seconds : {0.0f, speedModeRow(Surpressed).wait, speedModeRow(UltraSurpressed).wait, 1.0f}) {
                SCOPED_TRACE("step " + std::to_string(step) + " origin " + std::to_string(origin) + " seconds " +
                             std::to_string(seconds));
                Rig rig({}, Surpressed, 0);
                rig.world.clock.now = origin;
                rig.world.clock.step = step;
                PlayerTestAccess::Delay(rig.player, seconds);
                const double firstReading = origin + step;
                const double end = firstReading + static_cast<double>(seconds);
                EXPECT_GT(rig.world.clock.now - firstReading, static_cast<double>(seconds));
                EXPECT_LE(rig.world.clock.now - firstReading, static_cast<double>(seconds) + step + 1e-6);
                EXPECT_GE(rig.world.events.calls, 1);
                EXPECT_TRUE(rig.world.log.empty());
                // Asleep for all but the stretch the system could overshoot,
                // never asking to sleep past the end.
                EXPECT_LE(rig.world.events.calls, 3);
                for (const auto& wait : rig.world.events.waits) {
                    EXPECT_LE(wait.until, end - kWakeLateness + 1e-9);
                    EXPECT_LE(wait.woke, wait.until);
                }
                EXPECT_EQ(rig.world.events.waitingLoops, 0);
            }
        }
    }
}

// A message during a wait is handled as it comes, with the clock where it
// arrived, and the wait then sleeps on to its end.
TEST(Player, DelayWakesForAMessageAndHandlesItAtOnce) {
    const double origin = 1024.0;
    const double firstReading = origin + 0.001;
    for (double at : {0.0, 0.25, 0.5, 0.998}) {
        SCOPED_TRACE("message at " + std::to_string(at));
        Rig rig({}, Surpressed, 0);
        rig.world.clock.now = origin;
        rig.world.events.messagesAt = {firstReading + at};
        std::vector<double> pumpTimes;
        rig.world.events.onPump = [&](int) { pumpTimes.push_back(rig.world.clock.now - firstReading); };
        PlayerTestAccess::Delay(rig.player, 1.0f);
        const bool handledAsItCame = std::any_of(pumpTimes.begin(), pumpTimes.end(), [&](double t) {
            return t >= at && t < at + 1e-9;
        });
        EXPECT_TRUE(handledAsItCame);
        EXPECT_GT(rig.world.clock.now - firstReading, 1.0);
        EXPECT_LE(rig.world.clock.now - firstReading, 1.0 + 0.001 + 1e-6);
        EXPECT_LE(rig.world.events.calls, 5);
    }
}

TEST(Player, DelayReturnsAtOnceWhenTheProgramEnds) {
    Rig rig({}, Surpressed, 0);
    rig.world.events.onPump = [&](int call) {
        if (call == 3) rig.world.ended = true;
    };
    PlayerTestAccess::Delay(rig.player, 1.0f);
    EXPECT_EQ(rig.world.events.calls, 3);
}

}  // namespace
}  // namespace tavrel
