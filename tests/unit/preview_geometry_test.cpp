#include "core/preview_geometry.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrel {

// Readable failure messages for the geometry types; found by ADL.
static void PrintTo(const Point& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
static void PrintTo(const Segment& s, std::ostream* os) {
    PrintTo(s.from, os);
    *os << "-";
    PrintTo(s.to, os);
}

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Every case carries a name so that test names stay stable and readable.
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& p) {
    return p.param.name;
}

// --- roundHalfEven -------------------------------------------------------

struct HalfEvenCase {
    const char* name;
    float in;
    std::int32_t out;
};
void PrintTo(const HalfEvenCase& c, std::ostream* os) { *os << c.name; }

class RoundHalfEvenTest : public ::testing::TestWithParam<HalfEvenCase> {};

TEST_P(RoundHalfEvenTest, RoundsToNearestWithHalvesToEven) {
    EXPECT_EQ(roundHalfEven(GetParam().in), GetParam().out) << "input " << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTest,
    ::testing::Values(
        HalfEvenCase{"odd_width_half_up_to_even", 2407.5f, 2408},
        HalfEvenCase{"odd_width_half_down_to_even", 2392.5f, 2392},
        HalfEvenCase{"above_half", 48.9f, 49},
        HalfEvenCase{"half_down_to_46", 46.5f, 46},
        HalfEvenCase{"half_up_to_48", 47.5f, 48},
        HalfEvenCase{"half_down_to_0", 0.5f, 0},
        HalfEvenCase{"half_up_to_2", 1.5f, 2},
        HalfEvenCase{"half_down_to_2", 2.5f, 2},
        HalfEvenCase{"just_below_half", 0.49999997f, 0},
        HalfEvenCase{"just_above_half", 2.5000002f, 3},
        HalfEvenCase{"below_half", 3.4f, 3},
        HalfEvenCase{"zero", 0.0f, 0},
        HalfEvenCase{"negative_zero", -0.0f, 0},
        HalfEvenCase{"negative_half_to_0", -0.5f, 0},
        HalfEvenCase{"negative_half_to_minus_2", -1.5f, -2},
        HalfEvenCase{"negative_half_to_minus_2_again", -2.5f, -2},
        HalfEvenCase{"negative_beyond_half", -2.6f, -3},
        HalfEvenCase{"negative_within_half", -3.4f, -3},
        HalfEvenCase{"last_halves_in_float_up", 8388607.5f, 8388608},
        HalfEvenCase{"last_halves_in_float_down", 8388606.5f, 8388606},
        HalfEvenCase{"largest_float_below_2_pow_31", 2147483520.0f, 2147483520},
        HalfEvenCase{"int32_minimum", -2147483648.0f,
                     std::numeric_limits<std::int32_t>::min()}),
    caseName<HalfEvenCase>);

struct OutOfRangeCase {
    const char* name;
    float in;
};
void PrintTo(const OutOfRangeCase& c, std::ostream* os) { *os << c.name; }

class RoundHalfEvenOverflowTest : public ::testing::TestWithParam<OutOfRangeCase> {};

TEST_P(RoundHalfEvenOverflowTest, ThrowsInsteadOfWrapping) {
    EXPECT_THROW(roundHalfEven(GetParam().in), std::overflow_error) << "input " << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenOverflowTest,
                         ::testing::Values(OutOfRangeCase{"two_pow_31", 2147483648.0f},
                                           OutOfRangeCase{"below_int32_minimum", -2147483904.0f},
                                           OutOfRangeCase{"huge", 1e20f},
                                           OutOfRangeCase{"huge_negative", -1e20f},
                                           OutOfRangeCase{"infinity", kInf},
                                           OutOfRangeCase{"negative_infinity", -kInf},
                                           OutOfRangeCase{"nan", kNaN}),
                         caseName<OutOfRangeCase>);

struct ModeCase {
    const char* name;
    int mode;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class RoundHalfEvenModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(RoundHalfEvenModeTest, IgnoresTheCurrentRoundingMode) {
    const int saved = std::fegetround();
    ASSERT_EQ(std::fesetround(GetParam().mode), 0) << GetParam().name;
    const std::int32_t a = roundHalfEven(2.5f);
    const std::int32_t b = roundHalfEven(3.5f);
    const std::int32_t c = roundHalfEven(2.2f);
    const std::int32_t d = roundHalfEven(2.7f);
    const std::int32_t e = roundHalfEven(-2.2f);
    const std::int32_t f = roundHalfEven(-2.7f);
    std::fesetround(saved);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(d, 3);
    EXPECT_EQ(e, -2);
    EXPECT_EQ(f, -3);
}

INSTANTIATE_TEST_SUITE_P(Modes, RoundHalfEvenModeTest,
                         ::testing::Values(ModeCase{"to_nearest", FE_TONEAREST},
                                           ModeCase{"upward", FE_UPWARD},
                                           ModeCase{"downward", FE_DOWNWARD},
                                           ModeCase{"toward_zero", FE_TOWARDZERO}),
                         caseName<ModeCase>);

// --- previewPath: exact segment lists -------------------------------------

struct PathCase {
    const char* name;
    float width;
    float height;
    std::vector<std::string> entries;
    std::vector<Segment> expected;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class PreviewPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PreviewPathTest, DrawsExactlyTheseSegments) {
    const PathCase& c = GetParam();
    EXPECT_EQ(previewPath(c.width, c.height, c.entries), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewPathTest,
    ::testing::Values(
        PathCase{"worked_example_at_the_initial_size",
                 6990, 4890,
                 {"UP", "UP", "RIGHT"},
                 {{{3495, 2445}, {3495, 2396}},
                  {{3495, 2396}, {3495, 2347}},
                  {{3495, 2347}, {3544, 2347}}}},
        PathCase{"down_grows_y_and_left_shrinks_x",
                 6990, 4890,
                 {"DOWN", "LEFT"},
                 {{{3495, 2445}, {3495, 2494}},
                  {{3495, 2494}, {3446, 2494}}}},
        PathCase{"empty_list_draws_nothing", 6990, 4890, {}, {}},
        PathCase{"non_moving_entries_give_point_segments",
                 6990, 4890,
                 {"up", "UP ", "JUMP", "", " DOWN", "Right", "left", "RIGHT"},
                 {{{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3495, 2445}},
                  {{3495, 2445}, {3544, 2445}}}},
        PathCase{"non_moving_entry_mid_path_stays_at_the_reached_point",
                 6990, 4890,
                 {"RIGHT", "JUMP", "DOWN"},
                 {{{3495, 2445}, {3544, 2445}},
                  {{3544, 2445}, {3544, 2445}},
                  {{3544, 2445}, {3544, 2494}}}},
        PathCase{"step_0_keeps_every_segment_on_the_start",
                 6990, 50,
                 {"UP", "LEFT", "DOWN", "RIGHT"},
                 {{{3495, 25}, {3495, 25}},
                  {{3495, 25}, {3495, 25}},
                  {{3495, 25}, {3495, 25}},
                  {{3495, 25}, {3495, 25}}}},
        PathCase{"zero_size_client_area",
                 0, 0,
                 {"UP", "RIGHT"},
                 {{{0, 0}, {0, 0}}, {{0, 0}, {0, 0}}}}),
    caseName<PathCase>);

// --- previewPath: start point and step by client size ---------------------

struct SizeCase {
    const char* name;
    float width;
    float height;
    Point start;
    std::int32_t step;
};
void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class PreviewSizeTest : public ::testing::TestWithParam<SizeCase> {};

// A no-op entry pins the start; one move in each direction pins the step on
// both axes and the direction of each move.
TEST_P(PreviewSizeTest, StartsInTheMiddleWithAHundredthOfTheShorterSide) {
    const SizeCase& c = GetParam();
    const Point s = c.start;
    const std::int32_t k = c.step;
    const std::vector<Segment> expected{
        {s, s},
        {s, {s.x + k, s.y}},
        {{s.x + k, s.y}, {s.x + k, s.y + k}},
        {{s.x + k, s.y + k}, {s.x, s.y + k}},
        {{s.x, s.y + k}, s},
    };
    EXPECT_EQ(previewPath(c.width, c.height, {"NONE", "RIGHT", "DOWN", "LEFT", "UP"}),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PreviewSizeTest,
    ::testing::Values(
        SizeCase{"initial_size_48_9_rounds_up", 6990, 4890, {3495, 2445}, 49},
        SizeCase{"odd_width_4815_starts_at_2408", 4815, 6000, {2408, 3000}, 48},
        SizeCase{"odd_width_4785_starts_at_2392", 4785, 6000, {2392, 3000}, 48},
        SizeCase{"odd_height_4891_starts_at_2446", 6990, 4891, {3495, 2446}, 49},
        SizeCase{"odd_height_4889_starts_at_2444", 6990, 4889, {3495, 2444}, 49},
        SizeCase{"shorter_side_4650_steps_46", 6990, 4650, {3495, 2325}, 46},
        SizeCase{"shorter_side_4750_steps_48", 6990, 4750, {3495, 2375}, 48},
        SizeCase{"shorter_side_150_steps_2", 6990, 150, {3495, 75}, 2},
        SizeCase{"shorter_side_50_steps_0", 6990, 50, {3495, 25}, 0},
        SizeCase{"tall_window_takes_the_width", 4650, 9000, {2325, 4500}, 46},
        SizeCase{"square_window", 4750, 4750, {2375, 2375}, 48},
        SizeCase{"fractional_sizes_round_each_half", 4.5f, 300.5f, {2, 150}, 0},
        SizeCase{"zero_size", 0, 0, {0, 0}, 0},
        SizeCase{"zero_width", 0, 4890, {0, 2445}, 0},
        SizeCase{"zero_height", 6990, 0, {3495, 0}, 0},
        SizeCase{"negative_width_counts_as_zero", -6990, 4890, {0, 2445}, 0},
        SizeCase{"negative_height_counts_as_zero", 6990, -4890, {3495, 0}, 0},
        SizeCase{"nan_width_counts_as_zero", kNaN, 4890, {0, 2445}, 0},
        SizeCase{"nan_height_counts_as_zero", 6990, kNaN, {3495, 0}, 0}),
    caseName<SizeCase>);

// --- previewPath: the path is never clipped or clamped --------------------

struct WalkCase {
    const char* name;
    const char* entry;
    int repeats;
    Point end;
};
void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class PreviewWalkOffTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(PreviewWalkOffTest, LeavesTheClientAreaUnclipped) {
    const WalkCase& c = GetParam();
    const std::vector<std::string> entries(static_cast<std::size_t>(c.repeats), c.entry);
    const std::vector<Segment> path = previewPath(6990, 4890, entries);
    ASSERT_EQ(path.size(), entries.size());
    EXPECT_EQ(path.back().to, c.end);
    for (std::size_t i = 1; i < path.size(); ++i) {
        ASSERT_EQ(path[i].from, path[i - 1].to) << "segment " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Walks, PreviewWalkOffTest,
    ::testing::Values(WalkCase{"fiftieth_up_leaves_the_top", "UP", 50, {3495, -5}},
                      WalkCase{"fiftieth_down_leaves_the_bottom", "DOWN", 50, {3495, 4895}},
                      WalkCase{"seventy_second_left_leaves_the_left", "LEFT", 72, {-33, 2445}},
                      WalkCase{"seventy_second_right_leaves_the_right", "RIGHT", 72,
                               {7023, 2445}}),
    caseName<WalkCase>);

// --- previewPath: absurd sizes fail loudly instead of wrapping ------------

struct OverflowCase {
    const char* name;
    float width;
    float height;
    std::vector<std::string> entries;
};
void PrintTo(const OverflowCase& c, std::ostream* os) { *os << c.name; }

class PreviewOverflowTest : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(PreviewOverflowTest, Throws) {
    const OverflowCase& c = GetParam();
    EXPECT_THROW(previewPath(c.width, c.height, c.entries), std::overflow_error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewOverflowTest,
    ::testing::Values(
        OverflowCase{"half_width_beyond_32_bits", 5e9f, 100, {}},
        OverflowCase{"infinite_height", 100, kInf, {}},
        // Start 1.5e9, step 3e7: the 22nd move right passes 2^31 - 1.
        OverflowCase{"pen_runs_past_the_top_of_the_range", 3e9f, 3e9f,
                     std::vector<std::string>(22, "RIGHT")},
        OverflowCase{"pen_runs_past_the_bottom_of_the_range", 3e9f, 3e9f,
                     std::vector<std::string>(200, "UP")}),
    caseName<OverflowCase>);

TEST(PreviewOverflowEdge, JustInsideTheRangeStillWorks) {
    // Start 1.5e9, step 3e7: 21 moves end at 2,130,000,000.
    const std::vector<Segment> path =
        previewPath(3e9f, 3e9f, std::vector<std::string>(21, "RIGHT"));
    ASSERT_EQ(path.size(), 21u);
    EXPECT_EQ(path.back().to, (Point{2130000000, 1500000000}));
}

}  // namespace
}  // namespace tavrel
