// Whole playbacks in every mode and sound setting, their pacing, and the
// settings and list as they change while it plays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/player_rig.h"

namespace tavrel {
namespace {

using namespace fakes;
using enum SpeedMode;

TEST(Player, EmptyListOnlySaysNothingToPlay) {
    for (SpeedMode mode : {Original, Surpressed, UltraSurpressed}) {
        SCOPED_TRACE(modeName(mode));
        Rig rig({}, mode, 0);
        rig.play(rig.player);
        EXPECT_EQ(rig.world.log, (Log{"message 48 Nothing to play."}));
        EXPECT_EQ(rig.world.events.calls, 0);
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
    }
}

TEST(Player, PlaysMixedListInEveryModeAndSoundSetting) {
    const std::vector<std::string> entries = {"RIGHT", "up", "UP", "UP ", "DOWN", "", "Left", "LEFT", "DOWN", "left"};
    const struct {
        SpeedMode mode;
        int noSound;
        bool clicks;
    } cases[] = {
        {Original, 0, false},        {Original, 1, false},        {Original, 2, false},         //
        {Surpressed, 0, true},       {Surpressed, 1, false},      {Surpressed, 2, false},       //
        {UltraSurpressed, 0, true},  {UltraSurpressed, 1, false}, {UltraSurpressed, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(modeName(c.mode) + " noSound " + std::to_string(c.noSound));
        Rig rig(entries, c.mode, c.noSound);
        rig.play(rig.player);
        EXPECT_EQ(rig.world.log, playbackLog(entries, c.clicks));
        EXPECT_EQ(rig.world.list.selected(), static_cast<int>(entries.size()) - 1);
        EXPECT_EQ(rig.world.list.entries(), entries);
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
        // The guard costs one look at the focus per piece; Esc is held for
        // the playback only.
        EXPECT_EQ(rig.world.focus.reads, static_cast<int>(rig.world.logOnly({"send "}).size()));
        EXPECT_EQ(rig.world.stopKey.arms, 1);
        EXPECT_FALSE(rig.world.stopKey.armed);
    }
}

TEST(Player, PlaysFromAnyEntryToTheEndAndNothingFromOutsideTheList) {
    const std::vector<std::string> entries = {"RIGHT", "up", "UP", "DOWN", "LEFT"};
    for (int first : {-1, 0, 1, 3, 4, 5}) {
        SCOPED_TRACE("from entry " + std::to_string(first));
        Rig rig(entries, Surpressed, 0);
        rig.playFrom(rig.player, first);
        const bool inside = first >= 0 && first < static_cast<int>(entries.size());
        EXPECT_EQ(rig.world.log, inside ? playbackLog(entries, true, static_cast<std::size_t>(first))
                                        : Log{"message 48 Nothing to play."});
    }
}

TEST(Player, ListWithoutAnyKeyStringStillCountsDownAndFinishes) {
    const std::vector<std::string> entries = {"up", "UP ", "Down"};
    Rig rig(entries, Surpressed, 0);
    rig.play(rig.player);
    EXPECT_EQ(rig.world.log, playbackLog(entries, true));
    EXPECT_EQ(rig.world.logOnly({"send"}), Log{});
}

TEST(Player, WaitsAreAtLeastTheirLengthAndNoLonger) {
    struct Gap {
        double min;
        double max;
    };
    const struct {
        SpeedMode mode;
        Gap piece;  // between consecutive pieces, and from the last countdown sound
    } cases[] = {
        {Original, {0.0, 0.005}},
        {Surpressed, {0.01, 0.015}},
        {UltraSurpressed, {0.05, 0.055}},
    };
    const std::vector<std::string> entries = {"UP", "DOWN", "bogus", "LEFT", "RIGHT"};
    for (double origin : {0.0, 1000.0, 1.0e6, 1.0e9}) {
        for (const auto& c : cases) {
            SCOPED_TRACE("origin " + std::to_string(origin) + " " + modeName(c.mode));
            Rig rig(entries, c.mode, 1);
            rig.world.clock.now = origin;
            rig.play(rig.player);

            auto beats = rig.keySoundTimes();
            ASSERT_EQ(beats.size(), 5u);
            double previous = origin;
            for (double beat : beats) {
                EXPECT_GT(beat - previous, 1.0);
                EXPECT_LT(beat - previous, 1.005);
                previous = beat;
            }

            ASSERT_EQ(rig.sends(), 7 + 1 + 3 + 5);
            for (int i = 0; i < rig.sends(); ++i) {
                SCOPED_TRACE("piece " + std::to_string(i + 1));
                double gap = rig.sender.times[static_cast<std::size_t>(i)] - previous;
                if (c.piece.min > 0.0) {
                    EXPECT_GT(gap, c.piece.min);
                }
                EXPECT_LT(gap, c.piece.max);
                previous = rig.sender.times[static_cast<std::size_t>(i)];
            }
            // Asleep for all but the stretch the system's timer could
            // overshoot: a few pumps a wait, never a spin.
            EXPECT_LE(rig.world.events.calls, 4 * (5 + rig.sends()) + 4);
            for (const auto& wait : rig.world.events.waits) EXPECT_LE(wait.woke, wait.until);
        }
    }
}

TEST(Player, SettingsChangedMidPlaybackCountForTheTestsStillAhead) {
    struct Piece {
        bool click;
        double minGap;
        double maxGap;
    };
    constexpr Piece kFast{false, 0.0, 0.005};
    constexpr Piece kSlowClick{true, 0.05, 0.055};
    constexpr Piece kSlowSilent{false, 0.05, 0.055};
    constexpr Piece kMidClick{true, 0.01, 0.015};
    constexpr Piece kMidSilent{false, 0.01, 0.015};
    const struct {
        const char* name;
        SpeedMode mode;
        int noSound;
        // Applied at the first pump after this many sends.
        int afterSends;
        SpeedMode newMode;
        int newNoSound;
        std::vector<Piece> pieces;  // the seven pieces of "UP"
        // The change comes this long after the last send: inside the next
        // piece's wait, which goes on, row by row, under the new mode.
        double late = 0.0;
    } cases[] = {
        {"original to ultra", Original, 0, 2, UltraSurpressed, 0,
         {kFast, kFast, kSlowClick, kSlowClick, kSlowClick, kSlowClick, kSlowClick}},
        {"ultra to original", UltraSurpressed, 0, 2, Original, 0, {kSlowClick, kSlowClick, kFast, kFast, kFast, kFast, kFast}},
        // Before its click test.
        {"ultra to original inside a wait", UltraSurpressed, 0, 2, Original, 0,
         {kSlowClick, kSlowClick, kSlowSilent, kFast, kFast, kFast, kFast}, 0.005},
        {"surpressed to ultra during the short wait", Surpressed, 0, 2, UltraSurpressed, 0,
         {kMidClick, kMidClick, {true, 0.06, 0.065}, kSlowClick, kSlowClick, kSlowClick, kSlowClick}, 0.005},
        {"sound switched off", Surpressed, 0, 2, Surpressed, 1,
         {kMidClick, kMidClick, kMidSilent, kMidSilent, kMidSilent, kMidSilent, kMidSilent}},
        {"sound switched to third state", UltraSurpressed, 0, 5, UltraSurpressed, 2,
         {kSlowClick, kSlowClick, kSlowClick, kSlowClick, kSlowClick, kSlowSilent, kSlowSilent}},
        {"sound switched on", Surpressed, 1, 3, Surpressed, 0,
         {kMidSilent, kMidSilent, kMidSilent, kMidClick, kMidClick, kMidClick, kMidClick}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"UP"}, c.mode, c.noSound);
        const AtFirstPump change(
            [&] {
                return rig.countdownOver() && rig.sends() == c.afterSends &&
                       (c.late == 0.0 || rig.world.clock.now > rig.sender.times.back() + c.late);
            },
                                 [&] {
                                     rig.world.settings.mode = c.newMode;
                                     rig.world.settings.noSound = c.newNoSound;
                                 });
        rig.world.events.onPump = [&](int) { change(); };
        rig.play(rig.player);
        ASSERT_TRUE(change.done());

        Log expected = countdownLog();
        expected.push_back("select 0");
        const auto& pieces = kPieces.at("UP");
        for (std::size_t i = 0; i < pieces.size(); ++i) appendPieces(expected, {pieces[i]}, c.pieces[i].click);
        expected.insert(expected.end(), {"actions on", "message 48 DONE!"});
        EXPECT_EQ(rig.world.log, expected);

        ASSERT_EQ(rig.sends(), 7);
        double previous = rig.keySoundTimes().back();
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            SCOPED_TRACE("piece " + std::to_string(i + 1));
            double gap = rig.sender.times[i] - previous;
            if (c.pieces[i].minGap > 0.0) {
                EXPECT_GT(gap, c.pieces[i].minGap);
            }
            EXPECT_LT(gap, c.pieces[i].maxGap);
            previous = rig.sender.times[i];
        }
    }
}

TEST(Player, CountIsTakenAfterTheCountdownAndThenFixed) {
    const struct {
        const char* name;
        bool duringCountdown;  // otherwise after the first send
        Log expected;
    } cases[] = {
        {"added during the countdown is played", true,
         {"select 0", "send  ", "select 1", "send  ", "select 2", "send {DOWN}", "send  ", "send {UP}"}},
        {"added while sending is not", false, {"select 0", "send  ", "select 1", "send  "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"DOWN", "DOWN"}, Original, 1);
        const AtFirstPump add([&] { return rig.sends() == (c.duringCountdown ? 0 : 1); },
                              [&] { rig.world.list.append("LEFT"); });
        rig.world.events.onPump = [&](int) { add(); };
        rig.play(rig.player);
        ASSERT_TRUE(add.done());
        EXPECT_EQ(rig.world.logOnly({"select", "send"}), c.expected);
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
    }
}

}  // namespace
}  // namespace tavrel
