// Keys reaching the recording through the X server (xdotool's XTest
// events), the way a keyboard reaches programs under Wine.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/recording_support.h"

namespace e2e {
namespace {

TEST(Recorder, ArrowsTypedThroughTheXServerComeOutInOrder) {
    Recording r;
    ASSERT_TRUE(xFocus(r.folder, r.sink));
    const std::pair<const char*, std::wstring> taps[] = {{"Left", kLeft}, {"Up", kUp},     {"Right", kRight},
                                                         {"Down", kDown}, {"Down", kDown}, {"Left", kLeft},
                                                         {"Up", kUp}};
    Entries expected;
    for (const auto& [key, entry] : taps) {
        ASSERT_TRUE(xTap(r.folder, key));
        expected.push_back(entry);
        ASSERT_TRUE(listBecomes(r.app, expected)) << "after typing " << key;
    }
    ASSERT_TRUE(stopsWithHalted(r.app));
    EXPECT_TRUE(savesAs(r.folder, r.app, "LEFT\r\nUP\r\nRIGHT\r\nDOWN\r\nDOWN\r\nLEFT\r\nUP\r\n"));
}

TEST(Recorder, ArrowHeldThroughTheXServerGivesOneEntry) {
    Recording r;
    ASSERT_TRUE(xFocus(r.folder, r.sink));
    {
        const double pressed = seconds();
        XHeldKey held(r.folder, "Down");
        ASSERT_TRUE(held.error.empty()) << held.error;
        EXPECT_TRUE(listBecomes(r.app, {kDown}));
        // The X server repeats a held key; the repeats must not count.
        pumpUntil([&] { return seconds() > pressed + 1.0; });
        EXPECT_TRUE(listBecomes(r.app, {kDown})) << "while the key was held";
        EXPECT_GE(r.sink.keyDownsOf(VK_DOWN), 2) << "the X server did not repeat the held key, so no repeat was tried";
    }
    ASSERT_TRUE(passCompleted(r.app)) << "the program stopped answering";
    ASSERT_TRUE(xTap(r.folder, "Down"));
    EXPECT_TRUE(listBecomes(r.app, {kDown, kDown})) << "released and pressed again: one more entry, and only it";
    ASSERT_TRUE(xTap(r.folder, "Up"));
    EXPECT_TRUE(listBecomes(r.app, {kDown, kDown, kUp})) << "something came late after the second press";
    EXPECT_TRUE(stopsWithHalted(r.app));
}

TEST(Recorder, OtherKeysTypedThroughTheXServerAreNotRecorded) {
    Recording r;
    ASSERT_TRUE(xFocus(r.folder, r.sink));
    // Besides the keys tried through SendInput: the characters % & ' ( whose
    // character codes are the arrows' key codes 37-40.
    ASSERT_TRUE(xTap(r.folder, "Prior Next End Home Insert Delete a w s d space Return Escape Tab BackSpace "
                               "Shift_L Control_L 5 percent ampersand apostrophe parenleft Up"));
    EXPECT_TRUE(listBecomes(r.app, {kUp})) << "only the up arrow, typed last, counts";
    EXPECT_TRUE(stopsWithHalted(r.app));
}

}  // namespace
}  // namespace e2e
