#include "core/number_reading.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tavrel {
namespace {

std::string repeat(char c, std::size_t n) { return std::string(n, c); }

// ---------------------------------------------------------------------------
// numericValue

struct ValueCase {
    std::string name;
    std::string line;
    std::optional<double> expected;  // empty: the reading must fail
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

// The midpoint between 1 and the next double up: ties-to-even keeps 1, and any
// further non-zero digit, however far out, must tip it upwards.
const std::string kHalfwayAboveOne = "1.00000000000000011102230246251565404236316680908203125";

std::vector<ValueCase> valueCases() {
    const double nextAboveOne = std::nextafter(1.0, 2.0);
    return {
        // Plain numbers and the documented examples.
        {"one", "1", 1.0},
        {"leading_blank", " 1", 1.0},
        {"junk_after_digits", "1abc", 1.0},
        {"letters_only", "abc", 0.0},
        {"empty", "", 0.0},
        {"lone_minus", "-", 0.0},
        {"lone_plus", "+", 0.0},
        {"lone_point", ".", 0.0},
        {"minus_point", "-.", 0.0},
        {"fraction", "0.4", 0.4},
        {"point_first", ".5", 0.5},
        {"trailing_point", "5.", 5.0},
        {"multi_digit", "32767", 32767.0},
        {"leading_zeros", "0007", 7.0},
        // Signs.
        {"plus_sign", "+7", 7.0},
        {"minus_sign", "-7", -7.0},
        {"minus_fraction", "-.5", -0.5},
        {"double_minus", "--1", 0.0},
        {"plus_minus", "+-1", 0.0},
        {"sign_after_digits", "1-2", 1.0},
        // Only the full stop is a decimal point; a second one ends the number.
        {"comma_is_junk", "1,5", 1.0},
        {"second_point", "1.2.3", 1.2},
        // Blanks, tabs and line feeds vanish wherever they are.
        {"blanks_inside", "1 2 3", 123.0},
        {"tab_inside", "1\t2", 12.0},
        {"line_feed_inside", "1\n2", 12.0},
        {"blanks_everywhere", " - 1 . 5 ", -1.5},
        {"blanks_in_exponent", "1 e - 2", 0.01},
        {"only_blanks", " \t\n ", 0.0},
        // Other white space is not ignored: it stops the number.
        {"carriage_return_stops", "1\r2", 1.0},
        {"vertical_tab_stops", "1\v2", 1.0},
        {"leading_form_feed", "\f1", 0.0},
        // Exponents.
        {"exponent", "1e3", 1000.0},
        {"exponent_upper", "1E3", 1000.0},
        {"exponent_plus", "1e+3", 1000.0},
        {"exponent_minus", "2.5e-3", 0.0025},
        {"exponent_on_fraction_only", ".5e1", 5.0},
        {"exponent_without_digits", "1e", 1.0},
        {"exponent_sign_without_digits", "1e+", 1.0},
        {"exponent_minus_without_digits", "2E-", 2.0},
        {"exponent_then_junk", "1ex", 1.0},
        {"exponent_fraction_is_junk", "1e3.5", 1000.0},
        {"exponent_without_mantissa", "e5", 0.0},
        {"point_then_exponent", ".e5", 0.0},
        {"d_is_not_an_exponent", "1d2", 1.0},
        // Spellings other readers of numbers accept are junk here.
        {"infinity_word", "inf", 0.0},
        {"infinity_long_word", "-Infinity", 0.0},
        {"nan_word", "nan", 0.0},
        {"c_hex_prefix", "0x10", 0.0},
        {"zero_with_huge_exponent", "0e99999999999999999999", 0.0},
        {"zeros_with_huge_exponent", "0.000e99999999999999999999", 0.0},
        {"huge_negative_exponent", "1e-99999999999999999999", 0.0},
        // Hexadecimal and octal.
        {"hex", "&H10", 16.0},
        {"hex_lower", "&hff", 255.0},
        {"hex_mixed_case_digits", "&HaB", 171.0},
        {"hex_sixteen_bits", "&HFFFF", 65535.0},
        {"hex_no_digits", "&H", 0.0},
        {"hex_bad_digit", "&Hg", 0.0},
        {"hex_then_junk", "&H1g", 1.0},
        {"hex_point_is_junk", "&H10.8", 16.0},
        {"hex_with_blanks", "& H 1 0", 16.0},
        {"hex_sixty_four_bits_rounds", "&H1FFFFFFFFFFFFFFFF", std::ldexp(1.0, 65)},
        {"hex_long_leading_zeros", "&H" + repeat('0', 500) + "1", 1.0},
        {"octal", "&O17", 15.0},
        {"octal_lower", "&o777", 511.0},
        {"octal_no_digits", "&O", 0.0},
        {"octal_eight_is_junk", "&O8", 0.0},
        {"octal_stops_at_eight", "&O78", 7.0},
        {"octal_sixty_bits", "&O1" + repeat('0', 20), std::ldexp(1.0, 60)},
        {"octal_sixty_four_bits_rounds", "&O1777777777777777777777", std::ldexp(1.0, 64)},
        {"lone_ampersand", "&", 0.0},
        {"ampersand_other_letter", "&X1", 0.0},
        {"sign_before_ampersand", "-&H10", 0.0},
        {"ampersand_then_digits", "&10", 0.0},
        // Long digit runs must convert like any decimal text, not digit by digit.
        {"four_hundred_digits_in_range", "1" + repeat('0', 300), 1e300},
        {"four_hundred_leading_zeros", repeat('0', 400) + "25", 25.0},
        {"long_run_scaled_back", "1" + repeat('0', 400) + "e-400", 1.0},
        {"long_fraction_in_range", "0." + repeat('0', 299) + "1", 1e-300},
        {"long_fraction_underflows", "0." + repeat('0', 400) + "1", 0.0},
        {"negative_long_fraction_underflows", "-0." + repeat('0', 400) + "1", 0.0},
        {"tiny_scaled_up", "0." + repeat('0', 400) + "1e401", 1.0},
        {"halfway_goes_to_even", kHalfwayAboveOne, 1.0},
        {"past_halfway_far_out", kHalfwayAboveOne + repeat('0', 400) + "1", nextAboveOne},
        {"largest_double", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"smallest_subnormal", "4.9406564584124654e-324",
         std::numeric_limits<double>::denorm_min()},
        {"underflow", "1e-400", 0.0},
        {"negative_underflow", "-1e-400", 0.0},
        // Too large for a double: the caller must see a failure.
        {"overflow", "1e999", std::nullopt},
        {"negative_overflow", "-1e999", std::nullopt},
        {"overflow_just_past_max", "1.8e308", std::nullopt},
        {"overflow_huge_exponent", "1e99999999999999999999", std::nullopt},
        {"overflow_small_mantissa", "0.0001e99999999999999999999", std::nullopt},
        {"overflow_four_hundred_nines", repeat('9', 400), std::nullopt},
        {"overflow_long_run_with_junk", repeat('1', 400) + "abc", std::nullopt},
        {"overflow_hex_run", "&H" + repeat('F', 300), std::nullopt},
        {"overflow_hex_rounds_up_to_2_1024", "&H" + repeat('F', 256), std::nullopt},
        {"hex_largest_power", "&H1" + repeat('0', 255), std::ldexp(1.0, 1020)},
        {"overflow_octal_run", "&O" + repeat('7', 400), std::nullopt},
    };
}

class NumericValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(NumericValueTest, ReadsTheLongestNumericPrefix) {
    const ValueCase& c = GetParam();
    std::optional<double> actual = numericValue(c.line);
    if (!c.expected) {
        EXPECT_FALSE(actual.has_value()) << "got " << actual.value_or(0.0);
        return;
    }
    ASSERT_TRUE(actual.has_value());
    EXPECT_EQ(*actual, *c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, NumericValueTest, ::testing::ValuesIn(valueCases()),
                         [](const auto& tp) { return tp.param.name; });

// The decimal point stays the full stop even when the C locale in effect
// says otherwise. Only meaningful where such a locale is installed.
TEST(NumericValueLocale, FullStopWhateverTheLocale) {
    const char* const candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8",
                                      "German_Germany.1252", "de-DE", "French_France.1252"};
    std::string previous = std::setlocale(LC_ALL, nullptr);
    bool commaLocale = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::string(std::localeconv()->decimal_point) == ",") {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    std::optional<double> point = numericValue("0.4");
    std::optional<double> comma = numericValue("0,4");
    std::optional<double> exponent = numericValue("2.5e-3");
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_TRUE(point && comma && exponent);
    EXPECT_EQ(*point, 0.4);
    EXPECT_EQ(*comma, 0.0);
    EXPECT_EQ(*exponent, 0.0025);
}

// ---------------------------------------------------------------------------
// roundToInteger

struct RoundCase {
    std::string name;
    double value;
    std::optional<std::int16_t> expected;  // empty: the rounding must fail
};

void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.name; }

std::vector<RoundCase> roundCases() {
    const double inf = std::numeric_limits<double>::infinity();
    return {
        {"zero", 0.0, 0},
        {"negative_zero", -0.0, 0},
        {"subnormal", std::numeric_limits<double>::denorm_min(), 0},
        {"half_to_even_zero", 0.5, 0},
        {"one_and_half_to_two", 1.5, 2},
        {"two_and_half_to_two", 2.5, 2},
        {"three_and_half_to_four", 3.5, 4},
        {"minus_half_to_zero", -0.5, 0},
        {"minus_one_and_half", -1.5, -2},
        {"minus_two_and_half", -2.5, -2},
        {"just_below_half", 0.49999999999999994, 0},
        {"just_above_half", 0.5000000000000001, 1},
        {"just_below_one_and_half", std::nextafter(1.5, 0.0), 1},
        {"just_above_two_and_half", std::nextafter(2.5, 3.0), 3},
        {"below_half_down", 1.4, 1},
        {"above_half_up", 1.6, 2},
        {"negative_above_half", -1.6, -2},
        {"negative_below_half", -1.4, -1},
        {"integer", 7.0, 7},
        {"top_fraction_down", 32767.4, 32767},
        {"top_exact", 32767.0, 32767},
        {"top_half_goes_out", 32767.5, std::nullopt},
        {"below_top_half_to_even", 32766.5, 32766},
        {"one_past_top", 32768.0, std::nullopt},
        {"bottom_exact", -32768.0, -32768},
        {"bottom_half_to_even", -32768.5, -32768},
        {"just_past_bottom_half", -32768.50000000001, std::nullopt},
        {"one_past_bottom", -32769.0, std::nullopt},
        {"far_above", 1e300, std::nullopt},
        {"far_below", -1e300, std::nullopt},
        {"wraps_to_zero_if_truncated", 65536.0, std::nullopt},
        {"just_above_two_pow_52", 4503599627370497.0, std::nullopt},
        {"not_a_number", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {"plus_infinity", inf, std::nullopt},
        {"minus_infinity", -inf, std::nullopt},
    };
}

struct RoundingMode {
    const char* name;
    int mode;
};

std::vector<RoundingMode> roundingModes() {
    std::vector<RoundingMode> modes{{"nearest", FE_TONEAREST}};
#ifdef FE_UPWARD
    modes.push_back({"upward", FE_UPWARD});
#endif
#ifdef FE_DOWNWARD
    modes.push_back({"downward", FE_DOWNWARD});
#endif
#ifdef FE_TOWARDZERO
    modes.push_back({"toward_zero", FE_TOWARDZERO});
#endif
    return modes;
}

class RoundToIntegerTest
    : public ::testing::TestWithParam<std::tuple<RoundCase, RoundingMode>> {};

TEST_P(RoundToIntegerTest, NearestWithHalvesToEven) {
    const auto& [c, mode] = GetParam();
    const int saved = std::fegetround();
    ASSERT_EQ(std::fesetround(mode.mode), 0);
    std::optional<std::int16_t> actual = roundToInteger(c.value);
    std::fesetround(saved);
    if (!c.expected) {
        EXPECT_FALSE(actual.has_value()) << "got " << actual.value_or(0);
        return;
    }
    ASSERT_TRUE(actual.has_value());
    EXPECT_EQ(*actual, *c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundToIntegerTest,
                         ::testing::Combine(::testing::ValuesIn(roundCases()),
                                            ::testing::ValuesIn(roundingModes())),
                         [](const auto& tp) {
                             return std::get<0>(tp.param).name + "_" +
                                    std::get<1>(tp.param).name;
                         });

}  // namespace
}  // namespace tavrel
