#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "macro/key_strings.h"
#include "macro/player.h"
#include "tests/fakes/fake_world.h"

namespace tavrel {

struct PlayerTestAccess {
    static void SendThe(Player& player, const std::string& keys) { player.SendThe(keys); }
    static void Delay(Player& player, float seconds) { player.Delay(seconds); }
};

namespace {

using fakes::FakeWorld;
using Log = std::vector<std::string>;

const std::string kAppDir = "C:\\Tavrel\\";
const std::string kKeySound = "sound C:\\Tavrel\\key.wav";
const std::string kClick = "sound C:\\Tavrel\\click.wav";

// The pieces each direction must arrive as, one send per piece.
const std::map<std::string, std::vector<std::string>> kPieces = {
    {"UP", {"{DOWN}", "{DOWN}", "{DOWN}", " ", "{UP}", "{UP}", "{UP}"}},
    {"DOWN", {" "}},
    {"LEFT", {"{DOWN}", " ", "{UP}"}},
    {"RIGHT", {"{DOWN}", "{DOWN}", " ", "{UP}", "{UP}"}},
};

// Forwards to the shared fake, noting the fake time of every send, and can
// fail one chosen send.
struct ClockedSender final : KeySender {
    explicit ClockedSender(FakeWorld& w) : world(w) {}
    std::string send(std::string_view keys, bool wait) override {
        times.push_back(world.clock.now);
        std::string error = world.sender.send(keys, wait);
        if (failOnSend == static_cast<int>(times.size())) return "Access is denied.";
        return error;
    }
    KeysTaken keysTaken() override { return world.sender.keysTaken(); }
    std::vector<double> times;
    int failOnSend = 0;  // 1-based; 0 fails none
    FakeWorld& world;
};

struct ClockedSound final : SoundPlayer {
    explicit ClockedSound(FakeWorld& w) : world(w) {}
    void play(const std::string& path) override {
        plays.emplace_back(path, world.clock.now);
        world.sound.play(path);
    }
    std::vector<std::pair<std::string, double>> plays;
    FakeWorld& world;
};

struct Rig {
    FakeWorld world;
    ClockedSender sender{world};
    ClockedSound sound{world};
    Services services{world.keys,   sender,         sound,       world.beeper, world.clock, world.events,
                      world.notifier, world.shell,  world.order, world.files,  world.focus, world.stopKey};
    Player player{world.list, world.controls, services, kAppDir};

    Rig(std::vector<std::string> entries, int mode, int noSound) {
        world.list.entries = std::move(entries);
        world.controls.mode = mode;
        world.controls.noSoundValue = noSound;
    }

    int sends() const { return static_cast<int>(sender.times.size()); }

    bool countdownOver() const { return world.logOnly({"caption"}).size() == 5; }

    std::vector<double> keySoundTimes() const {
        std::vector<double> out;
        for (const auto& [path, time] : sound.plays)
            if (path == kAppDir + "key.wav") out.push_back(time);
        return out;
    }
};

Log countdownLog() {
    return {"actions off", kKeySound, "caption 5 seconds", kKeySound, "caption Ready...",
            kKeySound,     "caption Set", kKeySound, "caption Go!", kKeySound, "caption Play"};
}

void appendPieces(Log& log, const std::vector<std::string>& pieces, bool click) {
    for (const auto& piece : pieces) {
        if (click) log.push_back(kClick);
        log.push_back("send " + piece);
    }
}

// What a whole successful playback of `entries` must leave in the log.
Log playbackLog(const std::vector<std::string>& entries, bool click) {
    Log log = countdownLog();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        log.push_back("select " + std::to_string(i));
        if (auto it = kPieces.find(entries[i]); it != kPieces.end()) appendPieces(log, it->second, click);
    }
    log.insert(log.end(), {"sendwait ", "actions on", "message 48 DONE!"});
    return log;
}

Log collapsePumps(const Log& log) {
    Log out;
    for (const auto& s : log)
        if (s != "pump" || out.empty() || out.back() != "pump") out.push_back(s);
    return out;
}

// ---------------------------------------------------------------- key strings

TEST(KeyStrings, OnlyTheExactDirectionNamesHaveKeyStrings) {
    const struct {
        std::string entry;
        std::optional<std::string> keys;
    } cases[] = {
        {"UP", "{DOWN},{DOWN},{DOWN}, ,{UP},{UP},{UP}"},
        {"DOWN", " "},
        {"LEFT", "{DOWN}, ,{UP}"},
        {"RIGHT", "{DOWN},{DOWN}, ,{UP},{UP}"},
        {"up", std::nullopt},
        {"Up", std::nullopt},
        {"UP ", std::nullopt},
        {" UP", std::nullopt},
        {"DOWN\n", std::nullopt},
        {"UPUP", std::nullopt},
        {"RIGH", std::nullopt},
        {"", std::nullopt},
        {std::string("UP\0", 3), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("entry \"" + c.entry + "\"");
        auto keys = keyStringFor(c.entry);
        ASSERT_EQ(keys.has_value(), c.keys.has_value());
        if (keys) {
            EXPECT_EQ(std::string(*keys), *c.keys);
        }
    }
}

TEST(KeyStrings, SplitKeepsEveryPieceBetweenCommas) {
    const struct {
        std::string keys;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {}},
        {" ", {" "}},
        {"{DOWN}", {"{DOWN}"}},
        {",", {"", ""}},
        {",,", {"", "", ""}},
        {"a,,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a", ""}},
        {" , ", {" ", " "}},
        {"{DOWN}, ,{UP}", {"{DOWN}", " ", "{UP}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("keys \"" + c.keys + "\"");
        EXPECT_EQ(splitKeyString(c.keys), c.pieces);
    }
}

TEST(KeyStrings, EachDirectionSplitsIntoItsWalkPressAndWalkBack) {
    for (const auto& [name, pieces] : kPieces) {
        SCOPED_TRACE(name);
        auto keys = keyStringFor(name);
        ASSERT_TRUE(keys.has_value());
        EXPECT_EQ(splitKeyString(*keys), pieces);
    }
}

// ---------------------------------------------------------------- play

TEST(Player, EmptyListOnlySaysNothingToPlay) {
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        Rig rig({}, mode, 0);
        rig.player.play();
        EXPECT_EQ(rig.world.log, (Log{"message 48 Nothing to play."}));
        EXPECT_EQ(rig.world.events.calls, 0);
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
    }
}

TEST(Player, PlaysMixedListInEveryModeAndSoundSetting) {
    const std::vector<std::string> entries = {"RIGHT", "up", "UP", "UP ", "DOWN", "", "Left", "LEFT", "DOWN", "left"};
    const struct {
        int mode;
        int noSound;
        bool clicks;
    } cases[] = {
        {0, 0, false}, {0, 1, false}, {0, 2, false},  //
        {1, 0, true},  {1, 1, false}, {1, 2, false},  //
        {2, 0, true},  {2, 1, false}, {2, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " noSound " + std::to_string(c.noSound));
        Rig rig(entries, c.mode, c.noSound);
        rig.player.play();
        EXPECT_EQ(rig.world.log, playbackLog(entries, c.clicks));
        EXPECT_EQ(rig.world.list.selected, static_cast<int>(entries.size()) - 1);
        EXPECT_EQ(rig.world.list.entries, entries);
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
        // The guard costs one look at the focus per piece; Esc is held for
        // the playback only.
        EXPECT_EQ(rig.world.focus.reads, static_cast<int>(rig.world.logOnly({"send "}).size()));
        EXPECT_EQ(rig.world.stopKey.arms, 1);
        EXPECT_FALSE(rig.world.stopKey.armed);
    }
}

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
    const Log fullCountdown = {"caption 5 seconds", "caption Ready...", "caption Set", "caption Go!", "caption Play"};
    const auto focusTo = [](WindowId w) { return [w](Rig& r) { r.world.focus.window = w; }; };
    const auto pressEsc = [](Rig& r) { r.world.stopKey.down = true; };
    const auto afterSends = [](int n) { return [n](const Rig& r) { return r.countdownOver() && r.sends() == n; }; };

    const struct {
        const char* name;
        std::vector<std::string> entries;
        int mode;
        WindowId atStart;
        bool keyAvailable;
        std::function<bool(const Rig&)> when;  // at the first pump where it holds, `act` runs
        std::function<void(Rig&)> act;
        Log captions;  // of the countdown, as far as it got
        Log sent;      // select and send, in order
        std::string message;
    } cases[] = {
        {"our own window has the focus", {"UP", "DOWN"}, 1, 0x2001, true, nullptr, nullptr, fullCountdown,
         {"select 0"}, noTarget},
        {"no window has the focus", {"DOWN"}, 0, 0, true, nullptr, nullptr, fullCountdown, {"select 0"}, noTarget},
        {"the desktop has the focus", {"bogus", "LEFT"}, 2, FakeFocus::kDesktop, true, nullptr, nullptr,
         fullCountdown, {"select 0", "select 1"}, noTarget},
        {"lost before the second piece", {"UP", "DOWN"}, 1, FakeFocus::kEditor, true, afterSends(1),
         focusTo(kOther), fullCountdown, {"select 0", "send {DOWN}"}, lostFocus(1, 2)},
        {"lost in the middle of an entry", {"DOWN", "LEFT", "DOWN"}, 0, FakeFocus::kEditor, true, afterSends(2),
         focusTo(kOther), fullCountdown, {"select 0", "send  ", "select 1", "send {DOWN}"}, lostFocus(2, 3)},
        {"lost to nowhere before the last piece", {"DOWN", "LEFT"}, 2, FakeFocus::kEditor, true, afterSends(3),
         focusTo(0), fullCountdown, {"select 0", "send  ", "select 1", "send {DOWN}", "send  "}, lostFocus(2, 2)},
        {"Esc during the countdown", {"UP"}, 1, FakeFocus::kEditor, true,
         [](const Rig& r) { return r.world.log.back() == "caption Ready..."; }, pressEsc,
         {"caption 5 seconds", "caption Ready...", "caption Play"}, {}, escEarly},
        {"Esc in the middle of a wait", {"UP", "DOWN"}, 2, FakeFocus::kEditor, true, afterSends(2), pressEsc,
         fullCountdown, {"select 0", "send {DOWN}", "send {DOWN}"}, esc(1, 2)},
        {"Esc between pieces", {"UP", "DOWN"}, 0, FakeFocus::kEditor, true, afterSends(4), pressEsc,
         fullCountdown, {"select 0", "send {DOWN}", "send {DOWN}", "send {DOWN}", "send  "}, esc(1, 2)},
        {"Esc with the next entry selected", {"DOWN", "bogus", "DOWN"}, 1, FakeFocus::kEditor, true,
         [](const Rig& r) { return r.world.list.selected == 2; }, pressEsc, fullCountdown,
         {"select 0", "send  ", "select 1", "select 2"}, esc(3, 3)},
        {"Esc held elsewhere, the guard still stops", {"LEFT", "DOWN"}, 0, FakeFocus::kEditor, false,
         afterSends(1),
         [](Rig& r) {
             r.world.stopKey.down = true;
             r.world.focus.window = kOther;
         },
         fullCountdown, {"select 0", "send {DOWN}"}, lostFocus(1, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.entries, c.mode, 1);
        rig.world.focus.window = c.atStart;
        rig.world.stopKey.available = c.keyAvailable;
        bool acted = false;
        rig.world.events.onPump = [&](int) {
            if (acted || !c.when || !c.when(rig)) return;
            acted = true;
            c.act(rig);
        };
        rig.player.play();
        EXPECT_EQ(acted, c.when != nullptr);

        Log expected = {"actions off"};
        expected.insert(expected.end(), c.captions.begin(), c.captions.end());
        expected.insert(expected.end(), c.sent.begin(), c.sent.end());
        expected.insert(expected.end(), {"actions on", "message 48 " + c.message});
        EXPECT_EQ(rig.world.logWithout({"sound"}), expected);
        // The entry in progress stays selected.
        int lastSelected = -1;
        for (const auto& e : c.sent)
            if (e.rfind("select ", 0) == 0) lastSelected = std::stoi(e.substr(7));
        EXPECT_EQ(rig.world.list.selected, lastSelected);
        EXPECT_EQ(rig.world.list.entries, c.entries);
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.controls.playCaption, "Play");
        EXPECT_FALSE(rig.world.stopKey.armed) << "Esc still taken after the playback";

        // Nothing is left behind that would spoil the next Play.
        rig.world.events.onPump = nullptr;
        rig.world.stopKey.down = false;
        rig.world.focus.window = FakeFocus::kEditor;
        rig.player.play();
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
        EXPECT_FALSE(rig.world.stopKey.armed);
    }
}

TEST(Player, ListWithoutAnyKeyStringStillCountsDownAndFinishes) {
    const std::vector<std::string> entries = {"up", "UP ", "Down"};
    Rig rig(entries, 1, 0);
    rig.player.play();
    EXPECT_EQ(rig.world.log, playbackLog(entries, true));
    EXPECT_EQ(rig.world.logOnly({"send"}), (Log{"sendwait "}));
}

TEST(Player, WaitsAreAtLeastTheirLengthAndNoLonger) {
    struct Gap {
        double min;
        double max;
    };
    const struct {
        int mode;
        Gap piece;  // between consecutive pieces, and from the last countdown sound
    } cases[] = {
        {0, {0.0, 0.005}},
        {1, {0.01, 0.015}},
        {2, {0.05, 0.055}},
    };
    const std::vector<std::string> entries = {"UP", "DOWN", "bogus", "LEFT", "RIGHT"};
    for (double origin : {0.0, 1000.0, 1.0e6, 1.0e9}) {
        for (const auto& c : cases) {
            SCOPED_TRACE("origin " + std::to_string(origin) + " mode " + std::to_string(c.mode));
            Rig rig(entries, c.mode, 1);
            rig.world.clock.now = origin;
            rig.player.play();

            auto beats = rig.keySoundTimes();
            ASSERT_EQ(beats.size(), 5u);
            double previous = origin;
            for (double beat : beats) {
                EXPECT_GT(beat - previous, 1.0);
                EXPECT_LT(beat - previous, 1.005);
                previous = beat;
            }

            // Every piece, then the closing send.
            ASSERT_EQ(rig.sends(), 7 + 1 + 3 + 5 + 1);
            for (int i = 0; i + 1 < rig.sends(); ++i) {
                SCOPED_TRACE("piece " + std::to_string(i + 1));
                double gap = rig.sender.times[static_cast<std::size_t>(i)] - previous;
                if (c.piece.min > 0.0) {
                    EXPECT_GT(gap, c.piece.min);
                }
                EXPECT_LT(gap, c.piece.max);
                previous = rig.sender.times[static_cast<std::size_t>(i)];
            }
            // The closing send follows the last piece without a wait of its own.
            EXPECT_LT(rig.sender.times.back() - previous, 0.005);
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
        int mode;
        int noSound;
        // Applied at the first pump after this many sends.
        int afterSends;
        int newMode;
        int newNoSound;
        std::vector<Piece> pieces;  // the seven pieces of "UP"
    } cases[] = {
        // No waits in mode 0: that pump is the one just before the third send.
        {"original to ultra", 0, 0, 2, 2, 0,
         {kFast, kFast, kFast, kSlowClick, kSlowClick, kSlowClick, kSlowClick}},
        // The pump is inside the third piece's wait, before its click test.
        {"ultra to original", 2, 0, 2, 0, 0,
         {kSlowClick, kSlowClick, kSlowSilent, kFast, kFast, kFast, kFast}},
        {"surpressed to ultra during the short wait", 1, 0, 2, 2, 0,
         {kMidClick, kMidClick, {true, 0.06, 0.065}, kSlowClick, kSlowClick, kSlowClick, kSlowClick}},
        {"sound switched off", 1, 0, 2, 1, 1,
         {kMidClick, kMidClick, kMidSilent, kMidSilent, kMidSilent, kMidSilent, kMidSilent}},
        {"sound switched to third state", 2, 0, 5, 2, 2,
         {kSlowClick, kSlowClick, kSlowClick, kSlowClick, kSlowClick, kSlowSilent, kSlowSilent}},
        {"sound switched on", 1, 1, 3, 1, 0,
         {kMidSilent, kMidSilent, kMidSilent, kMidClick, kMidClick, kMidClick, kMidClick}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"UP"}, c.mode, c.noSound);
        bool changed = false;
        rig.world.events.onPump = [&](int) {
            if (changed || !rig.countdownOver() || rig.sends() != c.afterSends) return;
            changed = true;
            rig.world.controls.mode = c.newMode;
            rig.world.controls.noSoundValue = c.newNoSound;
        };
        rig.player.play();
        ASSERT_TRUE(changed);

        Log expected = countdownLog();
        expected.push_back("select 0");
        const auto& pieces = kPieces.at("UP");
        for (std::size_t i = 0; i < pieces.size(); ++i) appendPieces(expected, {pieces[i]}, c.pieces[i].click);
        expected.insert(expected.end(), {"sendwait ", "actions on", "message 48 DONE!"});
        EXPECT_EQ(rig.world.log, expected);

        ASSERT_EQ(rig.sends(), 8);
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
         {"select 0", "send  ", "select 1", "send  ", "select 2", "send {DOWN}", "send  ", "send {UP}",
          "sendwait "}},
        {"added while sending is not", false, {"select 0", "send  ", "select 1", "send  ", "sendwait "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"DOWN", "DOWN"}, 0, 1);
        bool added = false;
        rig.world.events.onPump = [&](int) {
            if (added || (c.duringCountdown ? rig.sends() != 0 : rig.sends() != 1)) return;
            added = true;
            rig.world.list.entries.push_back("LEFT");
        };
        rig.player.play();
        ASSERT_TRUE(added);
        EXPECT_EQ(rig.world.logOnly({"select", "send"}), c.expected);
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
    }
}

TEST(Player, ClosingTheWindowStopsEverythingAtOnce) {
    const struct {
        const char* name;
        int mode;
        std::function<bool(const Rig&)> when;
    } cases[] = {
        {"first pump of the countdown", 1, [](const Rig&) { return true; }},
        {"after the caption Set", 1, [](const Rig& r) { return r.world.log.back() == "caption Set"; }},
        {"before the first piece", 0, [](const Rig& r) { return r.countdownOver() && r.sends() == 0; }},
        {"before a piece in mode 0", 0, [](const Rig& r) { return r.sends() == 4; }},
        {"inside a piece's wait", 2, [](const Rig& r) { return r.sends() == 9; }},
        {"before the last piece", 1,
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
        rig.player.play();
        ASSERT_GT(closingPump, 0);
        EXPECT_EQ(rig.world.log, atClose);
        EXPECT_EQ(rig.world.events.calls, closingPump);
        EXPECT_FALSE(rig.world.controls.actionsEnabled);
        EXPECT_EQ(rig.world.events.waitingLoops, 0);
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
        {"closing send", {"up"}, 1, {"select 0", "sendwait "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.entries, 0, 0);
        rig.sender.failOnSend = c.failOnSend;
        rig.player.play();

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

TEST(Player, ClosingWaitKeepsTheWindowLiveAndSaysWhenTheKeysWereNotTaken) {
    using K = KeysTaken;
    const std::string notTaken = "message 48 The keys were sent, but the receiving window had not taken them all after ";
    const struct {
        const char* name;
        std::function<K(int check, double waited)> target;
        std::string message;
        bool closeDuringWait;
    } cases[] = {
        {"takes them at once", nullptr, "message 48 DONE!", false},
        {"takes them after some checks", [](int n, double) { return n < 50 ? K::NotYet : K::Yes; },
         "message 48 DONE!", false},
        {"slow to answer at first, then takes them",
         [](int, double waited) { return waited < 1.5 ? K::NoAnswer : waited < 3.0 ? K::NotYet : K::Yes; },
         "message 48 DONE!", false},
        {"never answers", [](int, double) { return K::NoAnswer; }, notTaken + "2 seconds.", false},
        {"answers but never takes them", [](int, double) { return K::NotYet; }, notTaken + "30 seconds.", false},
        {"stops answering after a while",
         [](int, double waited) { return waited < 10.0 ? K::NotYet : K::NoAnswer; }, notTaken + "12 seconds.",
         false},
        {"window closed while it waits", [](int, double) { return K::NoAnswer; }, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"DOWN"}, kModeOriginal, 1);
        double waitStart = 0;
        int pumpsBefore = 0;
        if (c.target)
            rig.world.sender.taken = [&](int n) {
                if (n == 1) {
                    waitStart = rig.world.clock.now;
                    pumpsBefore = rig.world.events.calls;
                }
                return c.target(n, rig.world.clock.now - waitStart);
            };
        rig.world.events.onPump = [&](int) {
            if (c.closeDuringWait && rig.world.sender.checks > 3) rig.world.ended = true;
        };
        rig.player.play();

        Log tail(rig.world.log.end() - 3, rig.world.log.end());
        if (c.closeDuringWait) {
            EXPECT_EQ(rig.world.log.back(), "sendwait ") << "the program went on after it was closed";
            continue;
        }
        EXPECT_EQ(tail, (Log{"sendwait ", "actions on", c.message}));
        // Live while it waits: a pump between every two checks.
        if (c.target) {
            EXPECT_GE(rig.world.events.calls - pumpsBefore, rig.world.sender.checks - 1);
        }
    }
}

// ---------------------------------------------------------------- SendThe and delay

TEST(Player, SendTheSkipsEmptyPiecesAndPumpsBeforeEverySend) {
    const struct {
        std::string keys;
        int mode;
        int noSound;
        Log expected;  // runs of pumps shown once
    } cases[] = {
        {"", 1, 0, {}},
        {",,,", 2, 0, {}},
        {" ", 0, 0, {"pump", "send  "}},
        {",{DOWN},,{UP},", 0, 0, {"pump", "send {DOWN}", "pump", "send {UP}"}},
        // A wait: pump, read the clock, sleep; then the polled last stretch.
        {"{DOWN},,{UP}", 1, 0,
         {"pump", "wait", "pump", kClick, "pump", "send {DOWN}", "pump", "wait", "pump", kClick, "pump", "send {UP}"}},
        {"{DOWN},,{UP}", 2, 1, {"pump", "wait", "pump", "send {DOWN}", "pump", "wait", "pump", "send {UP}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("keys \"" + c.keys + "\" mode " + std::to_string(c.mode));
        Rig rig({}, c.mode, c.noSound);
        rig.world.events.onPump = [&](int) { rig.world.log.push_back("pump"); };
        rig.world.events.onWait = [&](const fakes::FakePump::Wait&) { rig.world.log.push_back("wait"); };
        PlayerTestAccess::SendThe(rig.player, c.keys);
        EXPECT_EQ(collapsePumps(rig.world.log), c.expected);
    }
}

TEST(Player, SendTheInModeZeroPumpsExactlyOncePerPiece) {
    Rig rig({}, 0, 0);
    PlayerTestAccess::SendThe(rig.player, "{DOWN},,{DOWN}, ,{UP}");
    EXPECT_EQ(rig.world.events.calls, 4);
}

TEST(Player, SendTheAloneReportsAFailedSendAndStops) {
    Rig rig({}, 0, 0);
    rig.sender.failOnSend = 2;
    PlayerTestAccess::SendThe(rig.player, "{DOWN}, ,{UP}");
    ASSERT_EQ(rig.world.log.size(), 3u);
    EXPECT_EQ(Log(rig.world.log.begin(), rig.world.log.begin() + 2), (Log{"send {DOWN}", "send  "}));
    EXPECT_EQ(rig.world.log.back().rfind("message 16 ", 0), 0u);
}

TEST(Player, SendTheStopsWhenTheProgramEnds) {
    Rig rig({}, 1, 0);
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
            for (float seconds : {0.0f, kSurpressedWait, kUltraSurpressedWait, 1.0f}) {
                SCOPED_TRACE("step " + std::to_string(step) + " origin " + std::to_string(origin) + " seconds " +
                             std::to_string(seconds));
                Rig rig({}, 1, 0);
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
        Rig rig({}, 1, 0);
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
    Rig rig({}, 1, 0);
    rig.world.events.onPump = [&](int call) {
        if (call == 3) rig.world.ended = true;
    };
    PlayerTestAccess::Delay(rig.player, 1.0f);
    EXPECT_EQ(rig.world.events.calls, 3);
}

}  // namespace
}  // namespace tavrel
