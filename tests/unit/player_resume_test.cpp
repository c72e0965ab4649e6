// A stopped playback carried on by resume(): the two runs together press
// every button of the path once, in order, wherever the stop came.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/unit/player_rig.h"

namespace tavrel {
namespace {

using namespace fakes;
using enum SpeedMode;

const std::vector<std::string> kPath = {"LEFT", "bogus", "UP", "DOWN", "RIGHT"};
const std::vector<std::string> kPresses = {"LEFT", "UP", "DOWN", "RIGHT"};

// Runs `start` with `stop` (if any) applied once, at the first pump after
// the countdown with `afterSends` sends made; returns the sends it made.
Log stoppedRun(Rig& rig, int afterSends, const std::function<void(Rig&)>& stop,
               const std::function<void(Player&)>& start) {
    rig.world.log.clear();
    rig.sender.times.clear();
    rig.world.stopKey.down = false;
    rig.world.focus.window = FakeFocus::kEditor;
    rig.world.events.onWait = nullptr;
    const AtFirstPump act([&] { return stop && rig.countdownOver() && rig.sends() == afterSends; },
                          [&] { stop(rig); });
    rig.world.events.onPump = [&](int) { act(); };
    Player& player = rig.watched ? rig.watching : rig.player;
    rig.run(player, [&] { start(player); });
    EXPECT_EQ(act.done(), stop != nullptr) << "no pump after " << afterSends << " sends";
    rig.world.events.onPump = nullptr;
    return rig.world.logOnly({"send "});
}

const auto play = [](Player& p) { p.play(); };
const auto resume = [](Player& p) { p.resume(); };

TEST(PlayerResume, StopAnywhereThenResumeSendsEveryMoveOnceInOrder) {
    const Log all = sendsOf(kPath);
    const struct {
        const char* name;
        std::function<void(Rig&)> stop;
        std::size_t mostUps;  // sent after the stop to walk the focus back
        bool focusBack;       // to the first button, before the resume
    } kinds[] = {
        {"Esc", pressEsc, 3, true},
        {"focus lost", focusAway, 0, false},
        {"Esc, then the focus lost after one {UP} of the walk back",
         [](Rig& r) {
             pressEsc(r);
             r.world.events.onWait = [&r, sends = r.sends()](const FakePump::Wait&) {
                 if (r.sends() == sends + 1) focusAway(r);
             };
         },
         1, false},
    };
    // Watching the dialog changes nothing here: each piece is taken.
    for (const bool watched : {false, true})
    for (const auto& kind : kinds) {
        for (int k = 0; k < static_cast<int>(all.size()); ++k) {
            SCOPED_TRACE(std::string(kind.name) + " after " + std::to_string(k) + " sends" +
                         (watched ? ", watching" : ""));
            Rig rig(kPath, UltraSurpressed, 1);
            rig.watched = watched;
            Player& player = watched ? rig.watching : rig.player;
            const Log first = stoppedRun(rig, k, kind.stop, play);
            // The stop sends nothing but the path so far and, after Esc, {UP}s.
            ASSERT_GE(first.size(), static_cast<std::size_t>(k));
            EXPECT_EQ(Log(first.begin(), first.begin() + k), Log(all.begin(), all.begin() + k));
            const Log after(first.begin() + k, first.end());
            EXPECT_LE(after.size(), kind.mostUps);
            EXPECT_EQ(after, Log(after.size(), "send {UP}"));
            if (kind.focusBack) {
                EXPECT_EQ(dialogSees(first).focus, 0) << "the focus was left off the entry's first button";
            }

            // A walk back that finishes the last entry leaves nothing to
            // resume; watching, an {UP} on its way when the dialog lost the
            // focus leaves it to Resume to ask, and then nothing goes.
            const bool whole = dialogSees(first).presses == kPresses && dialogSees(first).focus == 0;
            const bool offered = player.canResume();
            const PlaybackOutcome& stop = rig.world.controls.outcomes.back();
            ASSERT_EQ(offered, !whole || (stop.resume && stop.resume->unsettled));
            const Log second = offered ? stoppedRun(rig, -1, nullptr, resume) : Log{};
            if (offered) {
                EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
            }
            // Exactly the rest of the path: where it starts, the dialog tells.
            ASSERT_LE(second.size(), all.size());
            EXPECT_EQ(second, Log(all.end() - static_cast<std::ptrdiff_t>(second.size()), all.end()));
            Log both = first;
            both.insert(both.end(), second.begin(), second.end());
            EXPECT_EQ(dialogSees(both).presses, kPresses);
            EXPECT_EQ(dialogSees(both).focus, 0);
            EXPECT_FALSE(player.canResume());
        }
    }
}

TEST(PlayerResume, WhatIsLeftToResumeAfterEachKindOfEnd) {
    const struct {
        const char* name;
        std::function<void(Rig&)> end;  // plays, ends it some way, and more
        Log resumed;                    // the sends of the resume; empty: none offered
    } cases[] = {
        {"Esc in the countdown: from where it would have started",
         [](Rig& r) {
             r.world.events.onPump = [&r](int) {
                 if (r.world.log.back() == "caption Set") pressEsc(r);
             };
             r.playFrom(r.player, 2);
         },
         sendsOf({"UP", "DOWN", "RIGHT"})},
        {"the stop of a resumed playback, counted in the whole list",
         [](Rig& r) {
             stoppedRun(r, 4, focusAway, play);
             stoppedRun(r, 6, pressEsc, resume);
             EXPECT_EQ(r.world.log.back(), "message 48 Playback stopped at entry 4 of 5: Esc was pressed.");
         },
         sendsOf({"DOWN", "RIGHT"})},
        {"Esc in the closing wait: everything had gone",
         [](Rig& r) {
             r.world.dialog.keyTime = 100.0;
             r.world.events.onPump = [&r](int) {
                 if (r.sends() == 16) pressEsc(r);
             };
             r.play(r.player);
             EXPECT_EQ(r.world.log.back(), "message 48 Playback stopped at entry 5 of 5: Esc was pressed.");
         },
         {}},
        {"a failed send", [](Rig& r) {
             r.sender.failOnSend = 5;
             r.play(r.player);
         }, {}},
        {"withdrawn", [](Rig& r) {
             stoppedRun(r, 5, pressEsc, play);
             r.player.withdrawResume();
         }, {}},
        {"an entry changed", [](Rig& r) {
             stoppedRun(r, 5, focusAway, play);
             std::vector<std::string> changed = r.world.list.entries();
             changed[4] = "LEFT";
             r.world.setEntries(changed);
         }, {}},
        {"played again", [](Rig& r) {
             stoppedRun(r, 5, focusAway, play);
             r.world.focus.window = FakeFocus::kEditor;
             r.play(r.player);
         }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(kPath, Surpressed, 1);
        c.end(rig);
        EXPECT_EQ(rig.player.canResume(), !c.resumed.empty());
        rig.world.log.clear();
        rig.world.stopKey.down = false;
        rig.world.dialog.keyTime = 0.0003;
        rig.world.events.onPump = nullptr;
        rig.resume(rig.player);
        if (c.resumed.empty()) {
            EXPECT_EQ(rig.world.log, Log{}) << "resume() did something with nothing to resume";
            continue;
        }
        EXPECT_EQ(rig.world.logOnly({"send "}), c.resumed);
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
    }
}

}  // namespace
}  // namespace tavrel
