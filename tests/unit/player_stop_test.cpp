// How a playback ends other than with "DONE!": the focus guard, Esc, a failed
// send, the window closing; and the closing wait for the keys to be taken.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

#include "tests/unit/player_rig.h"

namespace tavrel {
namespace {

using namespace fakes;
using enum SpeedMode;

TEST(Player, StopsEarlyWithoutTargetOnFocusLossOrEsc) {
    using fakes::FakeFocus;
    constexpr WindowId kOther = 0x3001;
    const auto lostFocus = [](int n, int m) {
        return "Playback stopped at entry " + std::to_string(n) + " of " + std::to_string(m) +
               ": the window receiving the keys lost the focus.";
    };
    const auto esc = [](int n, int m) {
        return "Playback stopped at entry " + std::to_string(n) + " of " + std::to_string(m) + ": Esc was pressed.";
    };
    const std::string noTarget =
        "Nothing was sent: no other program's window had the focus when the countdown ended.";
    const std::string escEarly = "Playback stopped before the first key: Esc was pressed.";
    const std::string higher =
        "Nothing was sent: the window with the focus runs as administrator. Start Tavrel as administrator too.";
    const Log fullCountdown = {"caption 5 seconds", "caption Ready...", "caption Set", "caption Go!", "caption Play"};
    const auto afterSends = [](int n) { return [n](const Rig& r) { return r.countdownOver() && r.sends() == n; }; };

    const struct {
        const char* name;
        std::vector<std::string> entries;
        SpeedMode mode;
        WindowId atStart;
        bool keyAvailable;
        std::function<bool(const Rig&)> when;  // at the first pump where it holds, `act` runs
        std::function<void(Rig&)> act;
        Log captions;  // of the countdown, as far as it got
        Log sent;      // select and send, in order
        std::string message;
    } cases[] = {
        {"our own window has the focus", {"UP", "DOWN"}, Surpressed, 0x2001, true, nullptr, nullptr, fullCountdown,
         {"select 0"}, noTarget},
        {"no window has the focus", {"DOWN"}, Original, 0, true, nullptr, nullptr, fullCountdown, {"select 0"},
         noTarget},
        {"the desktop has the focus", {"bogus", "LEFT"}, UltraSurpressed, FakeFocus::kDesktop, true, nullptr, nullptr,
         fullCountdown, {"select 0", "select 1"}, noTarget},
        {"the editor runs as administrator", {"LEFT"}, Surpressed, FakeFocus::kEditorAsAdministrator, true, nullptr,
         nullptr, fullCountdown, {"select 0"}, higher},
        {"the editor's token cannot be read", {"LEFT"}, Surpressed, FakeFocus::kEditorTokenUnreadable, true, nullptr,
         nullptr, fullCountdown, {"select 0"}, higher},
        {"lost before the second piece", {"UP", "DOWN"}, Surpressed, FakeFocus::kEditor, true, afterSends(1),
         focusTo(kOther), fullCountdown, {"select 0", "send {DOWN}"}, lostFocus(1, 2)},
        {"lost in the middle of an entry", {"DOWN", "LEFT", "DOWN"}, Original, FakeFocus::kEditor, true, afterSends(2),
         focusTo(kOther), fullCountdown, {"select 0", "send  ", "select 1", "send {DOWN}"}, lostFocus(2, 3)},
        {"lost to nowhere before the last piece", {"DOWN", "LEFT"}, UltraSurpressed, FakeFocus::kEditor, true,
         afterSends(3), focusAway, fullCountdown, {"select 0", "send  ", "select 1", "send {DOWN}", "send  "},
         lostFocus(2, 2)},
        {"Esc during the countdown", {"UP"}, Surpressed, FakeFocus::kEditor, true,
         [](const Rig& r) { return r.world.log.back() == "caption Ready..."; }, pressEsc,
         {"caption 5 seconds", "caption Ready...", "caption Play"}, {}, escEarly},
        // Before stopping, Esc walks the focus back up to where the entry
        // started: as many {UP}s as net {DOWN}s went, never a space.
        {"Esc after an entry's first piece", {"DOWN", "RIGHT"}, UltraSurpressed, FakeFocus::kEditor, true,
         afterSends(2), pressEsc, fullCountdown, {"select 0", "send  ", "select 1", "send {DOWN}", "send {UP}"},
         esc(2, 2)},
        {"Esc in the middle of a wait", {"UP", "DOWN"}, UltraSurpressed, FakeFocus::kEditor, true, afterSends(2),
         pressEsc, fullCountdown, {"select 0", "send {DOWN}", "send {DOWN}", "send {UP}", "send {UP}"}, esc(1, 2)},
        {"Esc between pieces", {"UP", "DOWN"}, Original, FakeFocus::kEditor, true, afterSends(4), pressEsc,
         fullCountdown,
         {"select 0", "send {DOWN}", "send {DOWN}", "send {DOWN}", "send  ", "send {UP}", "send {UP}", "send {UP}"},
         esc(1, 2)},
        {"Esc before an entry's last piece", {"RIGHT", "DOWN"}, Surpressed, FakeFocus::kEditor, true, afterSends(4),
         pressEsc, fullCountdown, {"select 0", "send {DOWN}", "send {DOWN}", "send  ", "send {UP}", "send {UP}"},
         esc(1, 2)},
        {"Esc with the next entry selected", {"DOWN", "bogus", "DOWN"}, Surpressed, FakeFocus::kEditor, true,
         [](const Rig& r) { return r.world.list.selected() == 2; }, pressEsc, fullCountdown,
         {"select 0", "send  ", "select 1", "select 2"}, esc(3, 3)},
        {"Esc held elsewhere, the guard still stops", {"LEFT", "DOWN"}, Original, FakeFocus::kEditor, false,
         afterSends(1),
         [](Rig& r) {
             pressEsc(r);
             focusTo(kOther)(r);
         },
         fullCountdown, {"select 0", "send {DOWN}"}, lostFocus(1, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.entries, c.mode, 1);
        rig.world.focus.window = c.atStart;
        rig.world.stopKey.available = c.keyAvailable;
        const AtFirstPump act([&] { return c.when && c.when(rig); }, [&] { c.act(rig); });
        std::vector<bool> missingAtFirstPump;
        rig.world.events.onPump = [&](int call) {
            if (call == 1) missingAtFirstPump = rig.world.controls.stopKeyMissing;
            act();
        };
        rig.play(rig.player);
        EXPECT_EQ(act.done(), c.when != nullptr);

        Log expected = {"actions off"};
        expected.insert(expected.end(), c.captions.begin(), c.captions.end());
        expected.insert(expected.end(), c.sent.begin(), c.sent.end());
        expected.insert(expected.end(), {"actions on", "message 48 " + c.message});
        EXPECT_EQ(rig.world.logWithout({"sound"}), expected);
        // The entry in progress stays selected.
        int lastSelected = -1;
        for (const auto& e : c.sent)
            if (e.rfind("select ", 0) == 0) lastSelected = std::stoi(e.substr(7));
        EXPECT_EQ(rig.world.list.selected(), lastSelected);
        EXPECT_EQ(rig.world.list.entries(), c.entries);
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
        EXPECT_FALSE(rig.world.stopKey.armed) << "Esc still taken after the playback";
        // Said in the caption from the start of the countdown, and no longer.
        const std::vector<bool> shown = {true}, shownThenGone = {true, false}, never;
        EXPECT_EQ(missingAtFirstPump, c.keyAvailable ? never : shown);
        EXPECT_EQ(rig.world.controls.stopKeyMissing, c.keyAvailable ? never : shownThenGone);

        // Nothing is left behind that would spoil the next Play.
        rig.world.events.onPump = nullptr;
        rig.world.stopKey.down = false;
        rig.world.focus.window = FakeFocus::kEditor;
        rig.play(rig.player);
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
        EXPECT_FALSE(rig.world.stopKey.armed);
    }
}

TEST(Player, ClosingTheWindowStopsEverythingAtOnce) {
    const struct {
        const char* name;
        SpeedMode mode;
        std::function<bool(const Rig&)> when;
    } cases[] = {
        {"first pump of the countdown", Surpressed, [](const Rig&) { return true; }},
        {"after the caption Set", Surpressed, [](const Rig& r) { return r.world.log.back() == "caption Set"; }},
        {"before the first piece", Original, [](const Rig& r) { return r.countdownOver() && r.sends() == 0; }},
        {"before a piece in mode 0", Original, [](const Rig& r) { return r.sends() == 4; }},
        {"inside a piece's wait", UltraSurpressed, [](const Rig& r) { return r.sends() == 9; }},
        {"before the last piece", Surpressed,
         [](const Rig& r) { return r.sends() == 10 && r.world.log.back() == kClick; }},
    };
    const std::vector<std::string> entries = {"UP", "DOWN", "LEFT"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(entries, c.mode, 0);
        Log atClose;
        int closingPump = 0;
        rig.world.events.onPump = [&](int call) {
            if (!c.when(rig)) return;
            rig.world.ended = true;
            atClose = rig.world.log;
            closingPump = call;
        };
        rig.play(rig.player);
        ASSERT_GT(closingPump, 0);
        EXPECT_EQ(rig.world.log, atClose);
        EXPECT_EQ(rig.world.events.calls, closingPump);
        EXPECT_FALSE(rig.world.controls.actionsEnabled);
    }
}

// A failure no part of the player expects (out of memory, say) passes on to
// the loop, but not with the actions off, a countdown caption, Esc taken or
// the fine timer held. What it gives back is asserted as done after the
// failure, not as found: the caption reads "Play" between keys anyway.
TEST(Player, FailureInsideAPlaybackGivesEverythingBack) {
    const struct {
        const char* name;
        bool keyAvailable;  // so Esc is taken, or the title says it cannot be
        int failingSound;   // the n-th sound played fails
    } cases[] = {
        {"during the countdown", true, 2},
        {"during the countdown, Esc held elsewhere", false, 3},
        {"before a key, Esc held elsewhere", false, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"UP", "DOWN"}, Surpressed, 0);
        rig.world.stopKey.available = c.keyAvailable;
        struct FailingSound final : SoundPlayer {
            void play(const std::string&) override {
                if (++plays == failAt) throw std::bad_alloc();
            }
            int plays = 0;
            int failAt = 0;
        } sound;
        sound.failAt = c.failingSound;
        Services services{rig.world.keys,   rig.sender,      sound,       rig.world.beeper, rig.world.clock,
                          rig.world.events, rig.world.notifier, rig.world.shell, rig.world.order, rig.world.files,
                          rig.world.focus,  rig.world.stopKey,  rig.world.dialog};
        Player player{rig.world.list, rig.world.settings, rig.world.controls, services, kAppDir};
        bool armedAtFailure = false;
        rig.world.events.onPump = [&](int) { armedAtFailure = rig.world.stopKey.armed; };
        std::size_t logAtFailure = 0;
        EXPECT_THROW(rig.run(player,
                             [&] {
                                 player.play();
                                 logAtFailure = rig.world.log.size();
                             }),
                     std::bad_alloc);
        EXPECT_EQ(Log(rig.world.log.end() - 2, rig.world.log.end()), (Log{"caption Play", "actions on"}));
        EXPECT_FALSE(player.running());
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
        EXPECT_EQ(armedAtFailure, c.keyAvailable);
        EXPECT_FALSE(rig.world.stopKey.armed);
        EXPECT_EQ(rig.world.events.waitingLoops, 0);
        const std::vector<bool> shownThenGone = {true, false}, never;
        EXPECT_EQ(rig.world.controls.stopKeyMissing, c.keyAvailable ? never : shownThenGone);
    }
}

TEST(Player, FailedSendStopsWithAStopMessageAndGivesTheActionsBack) {
    const struct {
        const char* name;
        std::vector<std::string> entries;
        int failOnSend;
        Log afterCountdown;
    } cases[] = {
        {"first piece", {"UP", "DOWN"}, 1, {"select 0", "send {DOWN}"}},
        {"inside an entry", {"LEFT", "RIGHT"}, 5, {"select 0", "send {DOWN}", "send  ", "send {UP}", "select 1",
                                                    "send {DOWN}", "send {DOWN}"}},
        {"last piece", {"up", "DOWN"}, 1, {"select 0", "select 1", "send  "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.entries, Original, 0);
        rig.sender.failOnSend = c.failOnSend;
        rig.play(rig.player);

        Log expected = countdownLog();
        expected.insert(expected.end(), c.afterCountdown.begin(), c.afterCountdown.end());
        expected.push_back("actions on");
        ASSERT_EQ(rig.world.log.size(), expected.size() + 1);
        EXPECT_EQ(Log(rig.world.log.begin(), rig.world.log.end() - 1), expected);
        const std::string& message = rig.world.log.back();
        EXPECT_EQ(message.rfind("message 16 ", 0), 0u) << message;
        EXPECT_NE(message.find("Access is denied."), std::string::npos) << message;
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
    }
}

// After the last key the window waits until the dialog has handled every
// key, live meanwhile, and says so when it had not.
TEST(Player, ClosingWaitKeepsTheWindowLiveAndSaysWhenTheKeysWereNotTaken) {
    const std::string notTaken = "message 48 The keys were sent, but the receiving window had not taken them all after ";
    const struct {
        const char* name;
        std::function<void(FakeDialog&)> setUp;
        // Run at every pump with the fake seconds since the last key went.
        std::function<void(FakeDialog&, double waited)> meanwhile;
        std::string message;  // empty: the window was closed while it waited
    } cases[] = {
        {"takes them at once", nullptr, nullptr, "message 48 DONE!"},
        {"busy with the last press, too busy to answer for a while", [](FakeDialog& d) { d.pressBusy = 1.5; }, nullptr,
         "message 48 DONE!"},
        {"hung with the keys in its queue", [](FakeDialog& d) { d.keyTime = 100.0, d.answering = false; }, nullptr,
         notTaken + "2 seconds."},
        {"answers but never takes them", [](FakeDialog& d) { d.keyTime = 100.0; }, nullptr,
         notTaken + "30 seconds."},
        {"stops answering after a while", [](FakeDialog& d) { d.keyTime = 100.0; },
         [](FakeDialog& d, double waited) { d.answering = waited < 10.0; }, notTaken + "12 seconds."},
        {"window closed while it waits", [](FakeDialog& d) { d.keyTime = 100.0; },
         [](FakeDialog& d, double waited) {
             if (waited > 1.0) d.world.ended = true;
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"DOWN"}, Original, 1);
        if (c.setUp) c.setUp(rig.world.dialog);
        int pumpsAfterKey = 0;
        rig.world.events.onPump = [&](int) {
            if (rig.sends() == 0) return;
            ++pumpsAfterKey;
            if (c.meanwhile) c.meanwhile(rig.world.dialog, rig.world.clock.now - rig.sender.times.back());
        };
        rig.play(rig.player);
        if (c.message.empty()) {
            EXPECT_EQ(rig.world.log.back(), "send  ") << "the program went on after it was closed";
            continue;
        }
        EXPECT_EQ(Log(rig.world.log.end() - 3, rig.world.log.end()), (Log{"send  ", "actions on", c.message}));
        // Live while it waits, and asleep: a pump at least every beat, but
        // not hundreds a second.
        const double waited = rig.world.controls.endedAt - rig.sender.times.back();
        EXPECT_GE(pumpsAfterKey, static_cast<int>(waited / 0.1));
        EXPECT_LE(pumpsAfterKey, static_cast<int>(waited / kKeysTakenBeat) + 5);
    }
}

}  // namespace
}  // namespace tavrel
