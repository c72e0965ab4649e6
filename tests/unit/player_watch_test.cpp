// Playback that watches the dialog: what counts as a piece taken, the focus
// checked before the first key, the stops at a key not taken, Resume after
// them, and the blind playback into a window that cannot be watched.
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

TEST(TakeRule, JudgesEachPieceByWhereTheFocusWent) {
    const auto button = [](DialogControl c, bool drained = true, bool foreground = true) {
        return DialogReading{c, DialogControlKind::PushButton, drained, foreground};
    };
    struct Step {
        const char* piece;
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
    } cases[] = {
        {"down to any other button", {}, {"{DOWN}", kA, button(kB)}, Verdict::Taken, 0},
        {"down dropped: the focus stays", {}, {"{DOWN}", kA, button(kA)}, Verdict::NotYet, 0},
        {"down moved, its key-up still queued", {}, {"{DOWN}", kA, button(kB, false)}, Verdict::Taken, 0},
        {"... before a press", {}, {"{DOWN}", kA, button(kB, false)}, Verdict::NotYet, 0, true},
        {"down into a list", {}, {"{DOWN}", kA, {kList, DialogControlKind::List, true, true}},
         Verdict::WrongEffect, 0},
        {"down as it went before", {{"{DOWN}", kA, button(kB)}, {"{UP}", kB, button(kA)}},
         {"{DOWN}", kA, button(kB)}, Verdict::Taken, kB},
        {"down elsewhere than it went before", {{"{DOWN}", kA, button(kB)}, {"{UP}", kB, button(kA)}},
         {"{DOWN}", kA, button(kC)}, Verdict::WrongEffect, kB},
        {"up back where the down came from", {{"{DOWN}", kA, button(kC)}}, {"{UP}", kC, button(kA)},
         Verdict::Taken, kA},
        {"up somewhere else", {{"{DOWN}", kA, button(kC)}}, {"{UP}", kC, button(kB)}, Verdict::WrongEffect, kA},
        {"up after two downs, to the middle one", {{"{DOWN}", kA, button(kB)}, {"{DOWN}", kB, button(kC)}},
         {"{UP}", kC, button(kB)}, Verdict::Taken, kB},
        {"press taken", {}, {" ", kA, button(kA)}, Verdict::Taken, kA},
        {"press moved the focus", {}, {" ", kA, button(kB)}, Verdict::WrongEffect, kA},
        {"press opened a window of another program", {}, {" ", kA, button(kA, true, false)},
         Verdict::LeftForeground, kA},
        {"a piece with no move", {}, {"{ENTER}", kA, button(kC)}, Verdict::Taken, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TakeRule rule;
        for (const Step& step : c.earlier) {
            rule.sending(step.piece, step.before);
            ASSERT_EQ(rule.judge(step.after), Verdict::Taken);
        }
        rule.sending(c.last.piece, c.last.before);
        const DialogControl predicted = rule.expected();
        EXPECT_EQ(rule.judge(c.last.after, c.pressNext), c.verdict);
        EXPECT_EQ(predicted, c.expected);
    }
}

TEST(PlayerWatch, StopsOrRefusesAtTheFirstKeyTheDialogDidNotTake) {
    const std::string atFirst = "Nothing was sent: the dialog's focus is on ";
    const auto stopped = [](int n, int m, const std::string& why) {
        return "Playback stopped at entry " + std::to_string(n) + " of " + std::to_string(m) + ": " + why;
    };
    const std::vector<std::string> path = {"DOWN", "LEFT", "UP", "RIGHT"};
    const struct {
        const char* name;
        SpeedMode mode;
        std::function<void(FakeDialog&)> setUp;
        std::function<void(FakeDialog&)> afterSecondEntry;  // at the first pump after 4 sends
        std::string message;
        std::vector<std::string> presses;
        bool resumable;
    } cases[] = {
        {"a slow dialog gets everything", Original, [](FakeDialog& d) { d.busyLooks = 30; }, nullptr, "DONE!",
         {"Move Down", "Move Left", "Move Up", "Move Right"}, false},
        {"buttons in an order of their own", Surpressed,
         [](FakeDialog& d) {
             d.order = {0, 2, 1, 3};
             d.managerGroup = false;
         },
         nullptr, "DONE!", {"Move Down", "Move Right", "Move Up", "Move Left"}, false},
        {"the focus on the list", Original, [](FakeDialog& d) { d.focusOn = FakeDialog::kList; }, nullptr,
         atFirst + "its list, not on its first button.", {}, true},
        {"the focus on the third button", UltraSurpressed,
         [](FakeDialog& d) { d.focusOn = FakeDialog::kFirst + 2; }, nullptr,
         atFirst + "\"Move Right\", not on its first button \"Move Down\". Give the dialog the focus by its title "
                   "bar, not by a button.",
         {}, true},
        {"the third button of a window with no group", Original,
         [](FakeDialog& d) {
             d.focusOn = FakeDialog::kFirst + 2;
             d.managerGroup = false;
         },
         nullptr, "DONE!", {"Move Right", "Move Up", "Move Left", "Move Down"}, false},
        {"the fifth arrow dropped", Surpressed, [](FakeDialog& d) { d.dropArrow = 5; }, nullptr,
         stopped(3, 4, "the dialog did not take a key."), {"Move Down", "Move Left"}, true},
        {"a dialog that stopped answering", Original,
         [](FakeDialog& d) {
             d.dropArrow = 1;
             d.answering = false;
         },
         nullptr, stopped(2, 4, "the receiving window stopped responding."), {"Move Down"}, true},
        {"a down-arrow that went elsewhere than before", Original, nullptr,
         [](FakeDialog& d) { d.order = {0, 2, 1, 3}; },
         stopped(3, 4, "the dialog's focus went to \"Move Right\" instead of \"Move Left\"."),
         {"Move Down", "Move Left"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(path, c.mode, 1);
        FakeDialog& dialog = rig.world.dialog;
        if (c.setUp) c.setUp(dialog);
        rig.world.events.onPump = [&](int) {
            if (c.afterSecondEntry && rig.sends() == 4) {
                c.afterSecondEntry(dialog);
                rig.world.events.onPump = nullptr;
            }
        };
        rig.watching.play();
        EXPECT_EQ(rig.world.log.back(), "message 48 " + c.message);
        EXPECT_EQ(dialog.presses, c.presses);
        EXPECT_EQ(rig.watching.canResume(), c.resumable);
        EXPECT_TRUE(rig.world.controls.notWatching.empty());
        EXPECT_EQ(dialog.begins, dialog.ends) << "the watch outlived its playback";
        EXPECT_TRUE(rig.world.controls.actionsEnabled);
    }
}

// After a key lost, Resume sends from the first piece not seen taken, once
// the focus is back where the stop left it: every move arrives once.
TEST(PlayerWatch, ResumeAfterALostKeyCompletesThePathOnce) {
    const std::vector<std::string> path = {"UP", "LEFT", "RIGHT", "DOWN", "UP"};
    const std::vector<std::string> whole = {"Move Up", "Move Left", "Move Right", "Move Down", "Move Up"};
    for (int drop : {1, 3, 4, 7, 9, 12}) {
        SCOPED_TRACE("arrow " + std::to_string(drop) + " lost");
        Rig rig(path, Original, 1);
        FakeDialog& dialog = rig.world.dialog;
        dialog.dropArrow = drop;
        rig.watching.play();
        ASSERT_NE(rig.world.log.back().find("the dialog did not take a key."), std::string::npos)
            << rig.world.log.back();
        ASSERT_TRUE(rig.watching.canResume());

        // Someone clicked another button meanwhile: nothing goes, Resume stays.
        const DialogControl leftOn = dialog.focusOn;
        const DialogControl clicked = leftOn == FakeDialog::kFirst ? leftOn + 1 : FakeDialog::kFirst;
        dialog.focusOn = clicked;
        const auto presses = dialog.presses.size();
        rig.watching.resume();
        EXPECT_EQ(rig.world.log.back(), "message 48 Nothing was sent: Resume needs the dialog's focus on \"" +
                                            dialog.caption(leftOn) + "\", where the playback stopped; it is on \"" +
                                            dialog.caption(clicked) + "\".");
        EXPECT_EQ(dialog.presses.size(), presses);
        ASSERT_TRUE(rig.watching.canResume());

        dialog.focusOn = leftOn;
        rig.watching.resume();
        EXPECT_EQ(rig.world.log.back(), "message 48 DONE!");
        EXPECT_EQ(dialog.presses, whole);
        EXPECT_EQ(dialog.focusOn, FakeDialog::kFirst);
    }
}

TEST(PlayerWatch, AWindowThatCannotBeWatchedIsPlayedBlindWithTheTitleSaySo) {
    Rig rig({"UP", "DOWN"}, Surpressed, 1);
    rig.world.dialog.watchable = false;
    std::vector<bool> duringPlay;
    rig.world.events.onPump = [&](int) {
        if (rig.sends() == 3) duringPlay = rig.world.controls.notWatching;
    };
    rig.watching.play();
    EXPECT_EQ(rig.world.log, playbackLog({"UP", "DOWN"}, false));
    EXPECT_EQ(duringPlay, std::vector<bool>{true});
    EXPECT_EQ(rig.world.controls.notWatching, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace tavrel
