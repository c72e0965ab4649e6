#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace tavrel {

// Failures name the three values.
void PrintTo(const Settings& s, std::ostream* os) {
    *os << "{onTop " << s.onTop << ", noSound " << s.noSound << ", mode " << static_cast<int>(s.mode) << "}";
}

namespace {

using enum SpeedMode;

// The designed initial states of the three controls.
constexpr Settings kDefaults{0, 1, Surpressed};

// ---------------------------------------------------------------------------
// readSettings

struct LoadCase {
    std::string name;
    std::string file;
    Settings expected;
    int onTopClicks;  // how often the on-top box's click behaviour must run
    Settings before = kDefaults;
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

std::vector<LoadCase> loadCases() {
    return {
        {"empty_file", "", kDefaults, 0},
        {"one_line", "1\r\n", {1, 1, Surpressed}, 1},
        {"one_line_without_line_end", "1", {1, 1, Surpressed}, 1},
        {"two_lines", "1\r\n0\r\n", {1, 0, Surpressed}, 1},
        {"three_lines", "1\r\n0\r\n2\r\n", {1, 0, UltraSurpressed}, 1},
        {"three_lines_last_without_end", "1\r\n0\r\n2", {1, 0, UltraSurpressed}, 1},
        {"defaults_as_written", "0\r\n1\r\n1\r\n", kDefaults, 0},
        {"all_zero", "0\r\n0\r\n0\r\n", {0, 0, Original}, 0},
        {"lone_carriage_returns", "1\r0\r2\r", {1, 0, UltraSurpressed}, 1},
        // A lone line feed does not end a line: "1\n0" reads as 10, so the
        // file holds only two lines.
        {"lone_line_feed_joins_lines", "1\n0\r\n2\r\n", {1, 2, Surpressed}, 1},
        {"extra_lines_ignored", "1\r\n0\r\n0\r\njunk\r\n7\r\n", {1, 0, Original}, 1},
        {"extra_invalid_line_ignored", "0\r\n2\r\n2\r\n1e999\r\n", {0, 2, UltraSurpressed}, 0},
        // Line 1 is only tested against zero, never rounded.
        {"on_top_fraction_checks", "0.4\r\n1\r\n1\r\n", {1, 1, Surpressed}, 1},
        {"on_top_negative_checks", "-1\r\n1\r\n1\r\n", {1, 1, Surpressed}, 1},
        {"on_top_huge_checks", "40000\r\n1\r\n1\r\n", {1, 1, Surpressed}, 1},
        {"on_top_letters_leave_it", "abc\r\n0\r\n0\r\n", {0, 0, Original}, 0},
        {"on_top_empty_leaves_it", "\r\n0\r\n2\r\n", {0, 0, UltraSurpressed}, 0},
        {"on_top_zero_keeps_checked", "0\r\n0\r\n0\r\n", {1, 0, Original}, 0, {1, 1, Surpressed}},
        {"on_top_already_checked_no_click", "1\r\n0\r\n0\r\n", {1, 0, Original}, 0, {1, 1, Surpressed}},
        {"on_top_overflow_stops_everything", "1e999\r\n0\r\n0\r\n", kDefaults, 0},
        // Line 2 rounds to the check-box value; only 0, 1 and 2 exist.
        {"no_sound_third_state", "0\r\n2\r\n0\r\n", {0, 2, Original}, 0},
        {"no_sound_one_and_half_to_two", "0\r\n1.5\r\n1\r\n", {0, 2, Surpressed}, 0},
        {"no_sound_half_to_zero", "0\r\n0.5\r\n2\r\n", {0, 0, UltraSurpressed}, 0},
        {"no_sound_minus_half_to_zero", "0\r\n-0.5\r\n2\r\n", {0, 0, UltraSurpressed}, 0},
        {"no_sound_empty_is_zero", "1\r\n\r\n2\r\n", {1, 0, UltraSurpressed}, 1},
        {"no_sound_hex", "0\r\n&H2\r\n0\r\n", {0, 2, Original}, 0},
        {"no_sound_three_stops", "1\r\n3\r\n2\r\n", {1, 1, Surpressed}, 1},
        {"no_sound_minus_one_stops", "1\r\n-1\r\n2\r\n", {1, 1, Surpressed}, 1},
        {"no_sound_out_of_16_bits_stops", "1\r\n99999\r\n2\r\n", {1, 1, Surpressed}, 1},
        {"no_sound_two_and_half_plus_stops", "1\r\n2.51\r\n0\r\n", {1, 1, Surpressed}, 1},
        {"no_sound_overflow_stops", "1\r\n1e999\r\n0\r\n", {1, 1, Surpressed}, 1},
        // Line 3 selects the mode by its rounded index.
        {"mode_leading_blank", "0\r\n1\r\n 2\r\n", {0, 1, UltraSurpressed}, 0},
        {"mode_two_and_half_to_two", "0\r\n1\r\n2.5\r\n", {0, 1, UltraSurpressed}, 0},
        {"mode_exponent", "0\r\n1\r\n2e0\r\n", {0, 1, UltraSurpressed}, 0},
        {"mode_three_stops", "1\r\n0\r\n3\r\n", {1, 0, Surpressed}, 1},
        {"mode_minus_one_stops", "1\r\n0\r\n-1\r\n", {1, 0, Surpressed}, 1},
        {"mode_just_past_two_and_half_stops", "1\r\n2\r\n2.500001\r\n", {1, 2, Surpressed}, 1},
        {"mode_out_of_16_bits_stops", "1\r\n2\r\n32768\r\n", {1, 2, Surpressed}, 1},
        {"mode_overflow_stops", "0\r\n0\r\n&H" + std::string(300, 'F') + "\r\n", {0, 0, Surpressed}, 0},
    };
}

class ApplySettingsTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ApplySettingsTest, AppliesLinesUntilTheFirstFailure) {
    const LoadCase& c = GetParam();
    Settings settings = c.before;
    int clicks = 0;
    const auto click = [&] {
        // The click behaviour must see the box already checked.
        EXPECT_EQ(settings.onTop, 1);
        ++clicks;
    };

    readSettings(c.file, settings, click);

    EXPECT_EQ(settings, c.expected);
    EXPECT_EQ(clicks, c.onTopClicks);
}

INSTANTIATE_TEST_SUITE_P(Files, ApplySettingsTest, ::testing::ValuesIn(loadCases()),
                         [](const auto& tp) { return tp.param.name; });

// The on-top box is raised while the load step runs, before the later lines
// are read, so its click behaviour sees the earlier settings only.
TEST(ApplySettingsOrder, OnTopClickRunsBeforeLaterLinesApply) {
    Settings settings;
    std::vector<Settings> seenAtClick;

    readSettings("1\r\n0\r\n2\r\n", settings, [&] { seenAtClick.push_back(settings); });

    ASSERT_EQ(seenAtClick.size(), 1u);
    EXPECT_EQ(seenAtClick[0], (Settings{1, kDefaults.noSound, kDefaults.mode}));
}

// ---------------------------------------------------------------------------
// settingsText

struct WriteCase {
    std::string name;
    Settings state;
    std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class SettingsTextTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SettingsTextTest, ThreeLinesEachEndedByCrLf) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(settingsText(c.state), c.expected);
}

INSTANTIATE_TEST_SUITE_P(States, SettingsTextTest,
                         ::testing::Values(WriteCase{"defaults", kDefaults, "0\r\n1\r\n1\r\n"},
                                           WriteCase{"on_top_sound_ultra", {1, 0, UltraSurpressed}, "1\r\n0\r\n2\r\n"},
                                           WriteCase{"third_state_original", {0, 2, Original}, "0\r\n2\r\n0\r\n"},
                                           WriteCase{"all_on_original", {1, 1, Original}, "1\r\n1\r\n0\r\n"}),
                         [](const auto& tp) { return tp.param.name; });

// Whatever was written on close comes back unchanged on the next start.
TEST(SettingsRoundTrip, EveryStateSurvivesACloseAndStart) {
    for (int onTop : {0, 1}) {
        for (int noSound : {0, 1, 2}) {
            for (SpeedMode mode : {Original, Surpressed, UltraSurpressed}) {
                const Settings state{onTop, noSound, mode};
                SCOPED_TRACE(::testing::PrintToString(state));
                const std::string file = settingsText(state);

                Settings starting;
                readSettings(file, starting);
                EXPECT_EQ(starting, state);
            }
        }
    }
}

// A hand-edited file with more lines is cut back to three on the next close.
TEST(SettingsRoundTrip, ExtraLinesAreDroppedOnRewrite) {
    Settings settings;
    readSettings("1\r\n2\r\n0\r\nextra\r\n9\r\n", settings);
    EXPECT_EQ(settingsText(settings), "1\r\n2\r\n0\r\n");
}

}  // namespace
}  // namespace tavrel
