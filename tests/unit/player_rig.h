// One player in the fake world, noting the fake time of every send and sound,
// and the logs a playback must leave; shared by the player's test files.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/player.h"
#include "tests/fakes/fake_world.h"
#include "tests/fakes/first_pump.h"

namespace tavrel {

namespace fakes {

inline const std::string kClick = "sound C:\\Tavrel\\click.wav";

// The pieces each direction must arrive as, one send per piece.
inline const std::map<std::string, std::vector<std::string>> kPieces = {
    {"UP", {"{DOWN}", "{DOWN}", "{DOWN}", " ", "{UP}", "{UP}", "{UP}"}},
    {"DOWN", {" "}},
    {"LEFT", {"{DOWN}", " ", "{UP}"}},
    {"RIGHT", {"{DOWN}", "{DOWN}", " ", "{UP}", "{UP}"}},
};

// Forwards to the shared fake, noting the fake time of every send, and can
// fail one chosen send (which then reaches nothing).
struct ClockedSender final : KeySender {
    explicit ClockedSender(FakeWorld& w) : world(w) {}
    std::string send(Key key) override {
        times.push_back(world.clock.now);
        if (failOnSend == static_cast<int>(times.size())) {
            world.sender.failWith = "Access is denied.";
            std::string error = world.sender.send(key);
            world.sender.failWith.clear();
            return error;
        }
        return world.sender.send(key);
    }
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
    Services services{world.keys,  sender,      sound,       world.beeper, world.clock,   world.events, world.notifier,
                      world.shell, world.order, world.files, world.focus,  world.stopKey, world.dialog};
    Player player{world.list, world.settings, world.controls, services, kAppDir};
    // The same, watching world.dialog.
    Player watching{world.list, world.settings, world.controls, services, kAppDir, &world.dialog};
    bool watched = false;  // whether a shared helper plays with `watching`

    Rig(std::vector<std::string> entries, SpeedMode mode, int noSound) {
        world.setEntries(std::move(entries));
        world.settings.mode = mode;
        world.settings.noSound = noSound;
    }

    int sends() const { return static_cast<int>(sender.times.size()); }

    // A playback started as a click would, then the window's loop until it ends.
    void play(Player& p) { run(p, [&] { p.play(); }); }
    void playFrom(Player& p, int first) { run(p, [&] { p.playFrom(first); }); }
    void resume(Player& p) { run(p, [&] { p.resume(); }); }
    void run(Player& p, const std::function<void()>& start) {
        start();
        world.runWhile([&] { return p.running(); });
    }

    bool countdownOver() const { return world.logOnly({"caption"}).size() == 5; }

    std::vector<double> keySoundTimes() const {
        std::vector<double> out;
        for (const auto& [path, time] : sound.plays)
            if (path == kAppDir + "key.wav") out.push_back(time);
        return out;
    }
};

// How a user stops a playback from outside, as the tests do it from a pump.
inline void pressEsc(Rig& rig) { rig.world.stopKey.down = true; }
inline std::function<void(Rig&)> focusTo(WindowId window) {
    return [window](Rig& rig) { rig.world.focus.window = window; };
}
inline void focusAway(Rig& rig) { focusTo(0)(rig); }

inline std::string modeName(SpeedMode mode) { return std::string(speedModeRow(mode).caption); }

inline Log countdownLog() {
    return {"actions off", kKeySound, "caption 5 seconds", kKeySound, "caption Ready...",
            kKeySound,     "caption Set", kKeySound, "caption Go!", kKeySound, "caption Play"};
}

inline void appendPieces(Log& log, const std::vector<std::string>& pieces, bool click) {
    for (const auto& piece : pieces) {
        if (click) log.push_back(kClick);
        log.push_back("send " + piece);
    }
}

// What a whole successful playback of `entries` from entry `first` on must
// leave in the log.
inline Log playbackLog(const std::vector<std::string>& entries, bool click, std::size_t first = 0) {
    Log log = countdownLog();
    for (std::size_t i = first; i < entries.size(); ++i) {
        log.push_back("select " + std::to_string(i));
        if (auto it = kPieces.find(entries[i]); it != kPieces.end()) appendPieces(log, it->second, click);
    }
    log.insert(log.end(), {"actions on", "message 48 DONE!"});
    return log;
}

// Every "send" a whole playback of `entries` makes for their pieces, in order.
inline Log sendsOf(const std::vector<std::string>& entries) {
    Log log;
    for (const auto& e : entries)
        if (auto it = kPieces.find(e); it != kPieces.end()) appendPieces(log, it->second, false);
    return log;
}

// What the editor's dialog makes of the sends in `log`: the buttons pressed,
// in order, and how many buttons below the first the focus ends.
struct DialogSeen {
    std::vector<std::string> presses;
    int focus = 0;
};

inline DialogSeen dialogSees(const Log& log) {
    const std::vector<std::string> buttons = {"DOWN", "LEFT", "RIGHT", "UP"};
    DialogSeen seen;
    for (const auto& e : log) {
        seen.focus += e == "send {DOWN}" ? 1 : e == "send {UP}" ? -1 : 0;
        if (e == "send  ")
            seen.presses.push_back(seen.focus >= 0 && seen.focus < 4 ? buttons[static_cast<std::size_t>(seen.focus)]
                                                                      : "none");
    }
    return seen;
}

}  // namespace fakes
}  // namespace tavrel
