// Playback that watches the dialog: what counts as a key taken, the focus
// checked before the first key, the stops at a key not taken, Resume after
// every kind of stop, and the blind playback into a window that cannot be
// watched. The fake dialog takes its keys in its own time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/take_rule.h"
#include "tests/unit/player_rig.h"

namespace tavrel {
namespace {

using namespace fakes;
using enum SpeedMode;

constexpr DialogControl kA = 0x11, kB = 0x12, kC = 0x13, kList = 0x20;
constexpr WindowId kOther = 0x3001;

TEST(TakeRule, JudgesEachKeyByWhereTheFocusWent) {
    const auto button = [](DialogControl c, bool drained = true, bool foreground = true,
                           std::optional<int> lines = std::nullopt) {
        return DialogReading{c, DialogControlKind::PushButton, drained, foreground, lines};
    };
    struct Step {
        Key key;
        DialogControl before;
        DialogReading after;
    };
    const struct {
        const char* name;
        std::vector<Step> earlier;  // each judged Taken first
        Step last;
        Verdict verdict;
        DialogControl expected;
        bool pressNext = false;
        bool lost = false;  // what the dialog shows once the time is over
        std::optional<int> lines = std::nullopt;
    } cases[] = {
        {"down to any other button", {}, {Key::Down, kA, button(kB)}, Verdict::Taken, 0},
        {"down dropped: the focus stays", {}, {Key::Down, kA, button(kA)}, Verdict::NotYet, 0, false, true},
        {"down still queued", {}, {Key::Down, kA, button(kA, false)}, Verdict::NotYet, 0},
        {"down moved, its key-up still queued", {}, {Key::Down, kA, button(kB, false)}, Verdict::Taken, 0},
        {"... before a press", {}, {Key::Down, kA, button(kB, false)}, Verdict::NotYet, 0, true},
        {"down into a list", {}, {Key::Down, kA, {kList, DialogControlKind::List, true, true, std::nullopt}},
         Verdict::WrongEffect, 0},
        {"down with the dialog no longer in front", {}, {Key::Down, kA, button(0, true, false)}, Verdict::Unknown,
         0},
        {"down as it went before", {{Key::Down, kA, button(kB)}, {Key::Up, kB, button(kA)}},
         {Key::Down, kA, button(kB)}, Verdict::Taken, kB},
        {"down elsewhere than it went before", {{Key::Down, kA, button(kB)}, {Key::Up, kB, button(kA)}},
         {Key::Down, kA, button(kC)}, Verdict::WrongEffect, kB},
        {"up back where the down came from", {{Key::Down, kA, button(kC)}}, {Key::Up, kC, button(kA)},
         Verdict::Taken, kA},
        {"up somewhere else", {{Key::Down, kA, button(kC)}}, {Key::Up, kC, button(kB)}, Verdict::WrongEffect, kA},
        {"up after two downs, to the middle one", {{Key::Down, kA, button(kB)}, {Key::Down, kB, button(kC)}},
         {Key::Up, kC, button(kB)}, Verdict::Taken, kB},
        {"press handled", {}, {Key::Space, kA, button(kA)}, Verdict::Taken, kA},
        {"press still being handled", {}, {Key::Space, kA, button(kA, false)}, Verdict::NotYet, kA},
        {"press moved the focus", {}, {Key::Space, kA, button(kB)}, Verdict::Moved, kA},
        {"press opened a window of another program", {}, {Key::Space, kA, button(0, true, false)}, Verdict::Moved,
         kA},
        {"press that added a line to the route", {}, {Key::Space, kA, button(kA, true, true, 4)}, Verdict::Taken, kA,
         false, false, 3},
        {"press that added none, after one that did", {{Key::Space, kA, button(kA, true, true, 4)}},
         {Key::Space, kA, button(kA, true, true, 4)}, Verdict::NotYet, kA, false, true, 3},
        {"press that added none to a list that never grew", {}, {Key::Space, kA, button(kA, true, true, 3)},
         Verdict::Taken, kA, false, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TakeRule rule;
        rule.startLines(c.lines);
        for (const Step& step : c.earlier) {
            rule.sending(step.key, step.before);
            ASSERT_EQ(rule.judge(step.after), Verdict::Taken);
        }
        rule.sending(c.last.key, c.last.before);
        EXPECT_EQ(rule.sent().expected, c.expected);
        EXPECT_EQ(rule.judge(c.last.after, c.pressNext), c.verdict);
        if (c.verdict == Verdict::NotYet) {
            EXPECT_EQ(rule.lost(c.last.after), c.lost);
        }
    }
}

// A user's doing from outside, at a pump after the countdown of any run.
using During = std::function<void(Rig&)>;
bool sending(const Rig& r) { return !r.world.controls.actionsEnabled && r.world.controls.playCaption == "Play"; }
During afterSends(int n, std::function<void(Rig&)> act) {
    return [n, act, done = false](Rig& r) mutable {
        if (done || r.sends() != n) return;
        done = true;
        act(r);
    };
}

TEST(PlayerWatch, StopsOrRefusesAtTheFirstKeyTheDialogDidNotTake) {
    const std::string atFirst = "Nothing was sent: the dialog's focus is on ";
    const auto stopped = [](int n, int m, const std::string& why) {
        return "Playback stopped at entry " + std::to_string(n) + " of " + std::to_string(m) + ": " + why;
    };
    const std::vector<std::string> path = {"DOWN", "LEFT", "UP", "RIGHT"};
    const std::vector<std::string> whole = {"Move Down", "Move Left", "Move Up", "Move Right"};
    const struct {
        const char* name;
        SpeedMode mode;
        std::function<void(FakeDialog&)> setUp;
        During during;
        std::string message;  // empty: none, the program ended
        std::vector<std::string> presses;
        bool resumable;
        bool atLimit = false;  // the stop comes the time allowed after the last key
    } cases[] = {
        // Each next key waits until the dialog has handled the last press.
        {"a slow dialog gets everything", Original, [](FakeDialog& d) { d.pressBusy = 0.03; }, nullptr, "DONE!",
         whole, false},
        {"a slow dialog, paced", Surpressed, [](FakeDialog& d) { d.pressBusy = 0.03; }, nullptr, "DONE!", whole,
         false},
        {"buttons in an order of their own", Surpressed,
         [](FakeDialog& d) {
             d.order = {0, 2, 1, 3};
             d.managerGroup = false;
         },
         nullptr, "DONE!", {"Move Down", "Move Right", "Move Up", "Move Left"}, false},
        {"the focus on the list", Original, [](FakeDialog& d) { d.state.focus = FakeDialog::kList; }, nullptr,
         atFirst + "its list. Press Tab once to put it on \"Move Down\", then press Play again.", {}, true},
        {"the focus on the list of a window with a focus order of its own", Original,
         [](FakeDialog& d) {
             d.standardDialog = false;
             d.managerGroup = false;
             d.state.focus = FakeDialog::kList;
         },
         nullptr, atFirst + "its list. Press Tab until \"Move Down\" has the focus, then press Play again.", {},
         true},
        {"the focus on the third button", UltraSurpressed,
         [](FakeDialog& d) { d.state.focus = FakeDialog::kFirst + 2; }, nullptr,
         atFirst + "\"Move Right\", not on its first button \"Move Down\". Give the dialog the focus by its title "
                   "bar, not by a button.",
         {}, true},
        {"the third button of a window with no group", Original,
         [](FakeDialog& d) {
             d.state.focus = FakeDialog::kFirst + 2;
             d.managerGroup = false;
         },
         nullptr, "DONE!", {"Move Right", "Move Up", "Move Left", "Move Down"}, false},
        {"the fifth arrow dropped", Surpressed, [](FakeDialog& d) { d.dropArrow = 5; }, nullptr,
         stopped(3, 4, "the dialog did not take a key."), {"Move Down", "Move Left"}, true, true},
        {"a dialog that hangs after its first press", Original, nullptr,
         afterSends(1, [](Rig& r) { r.world.dialog.answering = false; }),
         stopped(1, 4, "the receiving window stopped responding."), {}, true, true},
        {"a down-arrow that went elsewhere than before", Original, nullptr,
         afterSends(5, [](Rig& r) { r.world.dialog.order = {0, 2, 1, 3}; }),
         stopped(3, 4, "the dialog's focus went to \"Move Right\" instead of \"Move Left\"."),
         {"Move Down", "Move Left"}, true},
        {"a press that opened another program's window", Original, nullptr, afterSends(3, focusTo(kOther)),
         stopped(2, 4, "the window receiving the keys lost the focus."), {"Move Down", "Move Left"}, true},
        {"another window in front while an arrow is on its way", Original, [](FakeDialog& d) { d.keyTime = 0.01; },
         afterSends(2, focusTo(kOther)), stopped(2, 4, "the window receiving the keys lost the focus."),
         {"Move Down"}, true},
        {"a press that put the focus on the list", Surpressed, [](FakeDialog& d) { d.pressMovesFocus = 2; },
         nullptr, stopped(2, 4, "pressing \"Move Left\" put the dialog's focus on its list."),
         {"Move Down", "Move Left"}, true},
        {"a lost press, in a dialog whose route shows every move", Original,
         [](FakeDialog& d) {
             d.routeGrows = true;
             d.dropPress = 2;
         },
         nullptr, stopped(2, 4, "the dialog did not take a key."), {"Move Down"}, true, true},
        {"Esc, then closed while the lost key's verdict is out", Original, [](FakeDialog& d) { d.dropArrow = 1; },
         [](Rig& r) {
             if (r.sends() == 2) pressEsc(r);
             if (r.sends() == 2 && r.world.clock.now > r.sender.times.back() + 1.0) r.world.ended = true;
         },
         "", {"Move Down"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(path, c.mode, 1);
        FakeDialog& dialog = rig.world.dialog;
        if (c.setUp) c.setUp(dialog);
        During during = c.during;
        rig.world.events.onPump = [&](int) {
            if (during && sending(rig)) during(rig);
        };
        rig.play(rig.watching);
        dialog.catchUp(rig.world.clock.now + 10.0);
        EXPECT_EQ(dialog.state.presses, c.presses);
        EXPECT_EQ(dialog.state.ahead, 0) << "a key was sent before the dialog had taken a press";
        EXPECT_EQ(dialog.begins, c.message.empty() ? dialog.ends + 1 : dialog.ends)
            << "the watch outlived its playback";
        if (c.message.empty()) {
            EXPECT_EQ(rig.world.logOnly({"message", "actions on"}), Log{}) << "it went on after the program ended";
            continue;
        }
        EXPECT_EQ(rig.world.log.back(), "message 48 " + c.message);
        EXPECT_EQ(rig.watching.canResume(), c.resumable);
        EXPECT_TRUE(rig.world.controls.notWatching.empty());
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
        if (c.atLimit) {
            const double waited = rig.world.controls.endedAt - rig.sender.times.back();
            EXPECT_GE(waited, 2.0);
            EXPECT_LT(waited, 2.01);
        }
    }
}

// Whatever stopped it, Resume carries on from the first key the dialog did
// not take, once the focus is where the account says: every move arrives
// exactly once, and a key nobody could judge is asked about first.
TEST(PlayerWatch, ResumeAfterAnyStopCompletesThePathOnce) {
    const std::vector<std::string> path = {"LEFT", "DOWN", "RIGHT", "UP", "LEFT"};
    const std::vector<std::string> whole = {"Move Left", "Move Down", "Move Right", "Move Up", "Move Left"};
    const auto buttonOf = [](const std::string& caption) {
        for (DialogControl b = FakeDialog::kFirst; b < FakeDialog::kFirst + 4; ++b)
            if (FakeDialog::captionOf(b) == caption) return b;
        return DialogControl{0};
    };
    const auto lost = [](int arrow) { return [arrow](FakeDialog& d) { d.dropArrow = arrow; }; };
    const struct {
        const char* name;
        std::function<void(FakeDialog&)> setUp;
        During during;  // in every run
        std::string firstStop;
        std::function<void(Rig&)> beforeResume;
    } cases[] = {
        {"the first arrow lost", lost(1), nullptr, "the dialog did not take a key.", nullptr},
        {"an up-arrow lost", lost(2), nullptr, "the dialog did not take a key.", nullptr},
        {"the last arrow of an entry lost", lost(6), nullptr, "the dialog did not take a key.", nullptr},
        {"Esc while a lost up-arrow is on its way", lost(2), afterSends(3, pressEsc), "Esc was pressed.", nullptr},
        {"Esc while a lost down-arrow is on its way", lost(3), afterSends(5, pressEsc), "Esc was pressed.",
         nullptr},
        {"a press the dialog takes longer than the time allowed",
         [](FakeDialog& d) {
             d.pressBusy = 3.0;
             d.busyFirstPressOnly = true;
         },
         nullptr, "the receiving window stopped responding.", nullptr},
        {"a press that put the focus on the list", [](FakeDialog& d) { d.pressMovesFocus = 2; }, nullptr,
         "pressing \"Move Down\" put the dialog's focus on its list.",
         [&](Rig& r) { r.world.dialog.state.focus = buttonOf(r.world.dialog.state.presses.back()); }},
        {"a lost press, in a dialog whose route shows every move",
         [](FakeDialog& d) {
             d.routeGrows = true;
             d.dropPress = 3;
         },
         nullptr, "the dialog did not take a key.", nullptr},
        {"after a Resume, another window in front while an up-arrow is on its way",
         [](FakeDialog& d) {
             d.dropArrow = 4;
             d.keyTime = 0.01;
         },
         [done = false](Rig& r) mutable {
             if (done || r.world.controls.outcomes.size() != 1 || r.world.log.back() != "send {UP}") return;
             done = true;
             focusTo(kOther)(r);
         },
         "the dialog did not take a key.", [](Rig& r) { r.world.focus.window = FakeFocus::kEditor; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(path, Original, 1);
        FakeDialog& dialog = rig.world.dialog;
        c.setUp(dialog);
        During during = c.during;
        rig.world.events.onPump = [&](int) {
            if (during && sending(rig)) during(rig);
        };
        rig.play(rig.watching);
        ASSERT_NE(rig.world.log.back().find(c.firstStop), std::string::npos) << rig.world.log.back();
        for (int resumes = 0; resumes < 3 && rig.watching.canResume(); ++resumes) {
            // The user takes the time the dialog needs, puts the focus back
            // where asked, and chooses Resume.
            rig.world.clock.now += 5.0;
            rig.world.stopKey.down = false;
            if (c.beforeResume) c.beforeResume(rig);
            rig.resume(rig.watching);
        }
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
        dialog.catchUp(rig.world.clock.now + 10.0);
        EXPECT_EQ(dialog.state.presses, whole);
        EXPECT_EQ(dialog.state.focus, FakeDialog::kFirst);
        EXPECT_EQ(dialog.state.ahead, 0);
    }
}

// Resume refuses rather than guess: a focus elsewhere than the account
// says, and a key the dialog still shows nothing about.
TEST(PlayerWatch, ResumeRefusesWhereTheAccountCannotTell) {
    const std::vector<std::string> path = {"UP", "LEFT"};
    const struct {
        const char* name;
        std::function<void(FakeDialog&)> setUp;
        std::function<void(FakeDialog&)> beforeResume;
        std::string message;
        bool stillResumable;
    } cases[] = {
        {"the focus moved since the stop", [](FakeDialog& d) { d.dropArrow = 2; },
         [](FakeDialog& d) { d.state.focus = FakeDialog::kFirst; },
         "Nothing was sent: Resume needs the dialog's focus on \"Move Left\", where the playback stopped; it is on "
         "\"Move Down\".",
         true},
        {"the focus on the list since the stop", [](FakeDialog& d) { d.dropArrow = 3; },
         [](FakeDialog& d) { d.state.focus = FakeDialog::kList; },
         "Nothing was sent: Resume needs the dialog's focus on \"Move Right\", where the playback stopped; it is on "
         "its list. Press Tab 3 times to put it on \"Move Right\", then press Resume again.",
         true},
        {"a dialog still hung", [](FakeDialog& d) { d.pressBusy = 100.0; }, nullptr,
         "Nothing was sent: the dialog does not show whether it took the last key sent at entry 1, so Resume "
         "cannot tell where to carry on. Use Play from here on that entry, with the dialog's focus on its first "
         "button.",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(path, Original, 1);
        c.setUp(rig.world.dialog);
        rig.play(rig.watching);
        ASSERT_TRUE(rig.watching.canResume()) << rig.world.log.back();
        if (c.beforeResume) c.beforeResume(rig.world.dialog);
        const auto presses = rig.world.dialog.state.presses;
        rig.resume(rig.watching);
        EXPECT_EQ(rig.world.log.back(), "message 48 " + c.message);
        EXPECT_EQ(rig.world.dialog.state.presses, presses);
        EXPECT_EQ(rig.watching.canResume(), c.stillResumable);
    }
}

// While the countdown runs, the title follows the focus and says what the
// start check would say then, never holding the countdown up; the normal
// title is back when the countdown ends.
TEST(PlayerWatch, TheCountdownTitleSaysWhetherThePlaybackWouldStart) {
    const auto on = [](DialogControl control) {
        return [control](Rig& r) { r.world.focus.window = FakeFocus::kEditor, r.world.dialog.state.focus = control; };
    };
    const WindowId tavrel = *FakeFocus{}.ownWindows.begin();
    const std::string ready = "ready: \"Move Down\"";
    const struct {
        const char* name;
        bool answering;
        std::vector<std::pair<double, std::function<void(Rig&)>>> moves;  // seconds into the countdown
        std::vector<std::string> hints;
    } cases[] = {
        {"the focus moved about", true,
         {{0.5, on(FakeDialog::kList)}, {1.5, on(FakeDialog::kFirst + 2)}, {2.5, on(FakeDialog::kFirst)},
          {3.2, focusTo(FakeFocus::kEditorAsAdministrator)}, {3.7, focusTo(tavrel)}, {4.2, on(FakeDialog::kFirst)}},
         {"press Tab once: the focus is on its list", "the focus is on \"Move Right\", not on \"Move Down\"", ready,
          "runs as administrator: start Tavrel as administrator too", "", ready, ""}},
        {"a dialog that does not answer", false, {{0.5, on(FakeDialog::kFirst)}}, {"not watching this window", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"DOWN"}, Original, 1);
        rig.world.dialog.answering = c.answering;
        rig.world.focus.window = tavrel;
        const double start = rig.world.clock.now;
        std::size_t next = 0, hintsInCountdown = 0;
        rig.world.events.onPump = [&](int) {
            if (!rig.countdownOver()) hintsInCountdown = rig.world.controls.hints.size();
            if (next < c.moves.size() && rig.world.clock.now - start >= c.moves[next].first)
                c.moves[next++].second(rig);
        };
        rig.play(rig.watching);
        EXPECT_EQ(rig.world.controls.hints, c.hints);
        EXPECT_EQ(hintsInCountdown, c.hints.size() - 1) << "the title changed after the countdown";
        EXPECT_EQ(rig.world.dialog.begins, rig.world.dialog.ends) << "a watch outlived its look";
        double previous = start;
        for (double beat : rig.keySoundTimes()) {
            EXPECT_LT(beat - previous, 1.005) << "a look held the countdown up";
            previous = beat;
        }
        EXPECT_GT(rig.sender.times.at(0), previous) << "a key went in the countdown";
    }
}

TEST(PlayerWatch, AWindowThatCannotBeWatchedIsPlayedBlindWithTheTitleSaySo) {
    Rig rig({"UP", "DOWN"}, Surpressed, 1);
    rig.world.dialog.watchable = false;
    std::vector<bool> duringPlay;
    rig.world.events.onPump = [&](int) {
        if (rig.sends() == 3) duringPlay = rig.world.controls.notWatching;
    };
    rig.play(rig.watching);
    EXPECT_EQ(rig.world.log, playbackLog({"UP", "DOWN"}, false));
    EXPECT_EQ(duringPlay, std::vector<bool>{true});
    EXPECT_EQ(rig.world.controls.notWatching, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace tavrel
