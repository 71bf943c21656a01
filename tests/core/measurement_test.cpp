#include "core/measurement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

using clearmark::formatMeasurement;
using clearmark::parseMeasurement;

namespace {

struct ParseCase {
    std::string text;
    double expected;
};

class ParseAccepts : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseAccepts, ReadsTheNearestDouble) {
    const auto value = parseMeasurement(GetParam().text);
    ASSERT_TRUE(value.has_value()) << "text: [" << GetParam().text << "]";
    EXPECT_EQ(*value, GetParam().expected) << "text: [" << GetParam().text << "]";
    EXPECT_EQ(std::signbit(*value), std::signbit(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParseAccepts,
    testing::Values(ParseCase{"0.175", 0.175}, ParseCase{".175", 0.175}, ParseCase{"2", 2.0},
                    ParseCase{"-0.05", -0.05}, ParseCase{"1.5E-1", 0.15}, ParseCase{"1.5e-1", 0.15},
                    ParseCase{"+2.45", 2.45}, ParseCase{"  0.175  ", 0.175},
                    ParseCase{"\t0.175\t", 0.175}, ParseCase{" \t 2.45 \t ", 2.45},
                    ParseCase{"2.", 2.0}, ParseCase{"-.5", -0.5}, ParseCase{"1E+3", 1000.0},
                    ParseCase{"1e3", 1000.0}, ParseCase{"007", 7.0}, ParseCase{"0", 0.0},
                    ParseCase{"-0", -0.0}, ParseCase{"0.0000", 0.0}, ParseCase{"25.4", 25.4},
                    ParseCase{"1.7976931348623157e308", std::numeric_limits<double>::max()},
                    ParseCase{"-1.7976931348623157e308", -std::numeric_limits<double>::max()},
                    ParseCase{"2.2250738585072014e-308", std::numeric_limits<double>::min()},
                    // Below the double range: the nearest double, subnormal or zero.
                    ParseCase{"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
                    ParseCase{"1e-310", 1e-310}, ParseCase{"1e-400", 0.0},
                    ParseCase{"-1e-400", -0.0}, ParseCase{"0e999999", 0.0},
                    ParseCase{"1e-99999999999999999999", 0.0},
                    ParseCase{"0.00000000000000000000000000000000000000001e41", 1.0},
                    ParseCase{"100000000000000000000000000000000000000000e-40", 10.0},
                    // The decimal comma, as the numeric keypad types it under many layouts.
                    ParseCase{"0,20", 0.2}, ParseCase{",175", 0.175}, ParseCase{"2,45E-1", 0.245},
                    ParseCase{"-,5", -0.5}, ParseCase{" 2,45 ", 2.45}, ParseCase{"2,", 2.0},
                    ParseCase{"1,000", 1.0}));

class ParseRejects : public testing::TestWithParam<std::string> {};

TEST_P(ParseRejects, GivesNoNumber) {
    EXPECT_FALSE(parseMeasurement(GetParam()).has_value()) << "text: [" << GetParam() << "]";
}

INSTANTIATE_TEST_SUITE_P(NotNumbers, ParseRejects,
                         testing::Values("", "   ", "\t", "abc", "1.2.3", "-", "+", ".", "-.", "+.",
                                         "1e", "1e+", "1e-", "e5", ".e5", "1 2", "1..2", "--1",
                                         "+-1", "0x10", "0X1p3", "inf", "-inf", "INF", "infinity",
                                         "nan", "NaN", "1e999", "-1e999", "1e309", "1.8e308",
                                         "2.45mm", "$2", "1_000",
                                         // One decimal mark at most; no thousands separators.
                                         "1,2.3", "1.2,3", "1,234,5", "1,,2", ",", "-,", ",e5",
                                         "1e,5", "1e5,0", "\n1", "1\n", "1\r", "\v1", "\f1",
                                         std::string("1\0", 2),
                                         std::string("\0"
                                                     "1",
                                                     2),
                                         std::string("1\0"
                                                     "2",
                                                     3),
                                         "\xd9\xa1",     // ARABIC-INDIC DIGIT ONE
                                         "\xef\xbc\x91", // FULLWIDTH DIGIT ONE
                                         "1\xc2\xa0",    // trailing no-break space
                                         "\xe2\x88\x92"
                                         "1")); // MINUS SIGN

TEST(ParseMeasurement, LongTextsDoNotBreakTheReader) {
    const std::string digits(100'000, '7');
    const auto huge = parseMeasurement(digits);
    EXPECT_FALSE(huge.has_value()); // 7.77e99999 is beyond the double range

    const auto tiny = parseMeasurement("0." + std::string(100'000, '0') + "1");
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(*tiny, 0.0);

    const auto precise = parseMeasurement("2." + std::string(100'000, '4'));
    ASSERT_TRUE(precise.has_value());
    EXPECT_EQ(*precise, 2.4444444444444446);

    EXPECT_FALSE(parseMeasurement(std::string(100'000, ' ')).has_value());
    EXPECT_FALSE(parseMeasurement(std::string(100'000, '.')).has_value());
}

// A decimal comma in a text longer than any short buffer reads as the point does, down to the
// last digit that decides a rounding: 1 + 2^-53 lies halfway between 1 and the next double.
TEST(ParseMeasurement, LongTextsWithACommaReadAsWithAPoint) {
    const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
    const std::string zeros(2'000, '0');
    const std::string texts[] = {
        halfway + zeros,           // a tie: to the even neighbour, 1
        halfway + zeros + "1",     // just above: the next double
        "0." + zeros + "175e2003", // 1.75
        "2." + std::string(5'000, '4'),
        "0." + zeros + "1",    // below the smallest double: zero
        zeros + "7.5e-1",      // leading zeros
        "9." + zeros + "e400", // beyond the range
    };
    for (const std::string& text : texts) {
        std::string typed = text;
        typed[typed.find('.')] = ',';
        const auto withPoint = parseMeasurement(text);
        const auto withComma = parseMeasurement(typed);
        ASSERT_EQ(withComma.has_value(), withPoint.has_value()) << text.substr(0, 60);
        if (withPoint) {
            EXPECT_EQ(*withComma, *withPoint) << text.substr(0, 60);
        }
    }
    EXPECT_EQ(parseMeasurement(halfway + zeros), 1.0);
    EXPECT_EQ(parseMeasurement(halfway + zeros + "1"), std::nextafter(1.0, 2.0));
    EXPECT_FALSE(parseMeasurement(zeros + "," + zeros + ",5").has_value());
}

struct FormatCase {
    double value;
    std::string expected;
};

class FormatWrites : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatWrites, TheShortDecimal) {
    EXPECT_EQ(formatMeasurement(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatWrites,
    testing::Values(FormatCase{2.0, "2"}, FormatCase{2.5, "2.5"}, FormatCase{0.175, "0.175"},
                    FormatCase{-0.025, "-0.025"}, FormatCase{0.0, "0"}, FormatCase{-0.0, "0"},
                    // Base-2 noise is rounded away at 15 significant digits.
                    FormatCase{2.475, "2.475"}, FormatCase{2.3249999999999997, "2.325"},
                    FormatCase{3.2750000000000004, "3.275"},
                    FormatCase{-0.025000000000000022, "-0.025"},
                    FormatCase{2.4750000000000001, "2.475"}, FormatCase{645.16, "645.16"},
                    FormatCase{25.4 * 25.4, "645.16"}, FormatCase{1.0 / 25.4 * 25.4, "1"},
                    FormatCase{0.2 / 25.4, "0.0078740157480315"}, FormatCase{0.0001, "0.0001"},
                    FormatCase{123456789012345.0, "123456789012345"},
                    FormatCase{1234567890123456.0, "1.23456789012346e+15"},
                    FormatCase{0.00001, "1e-05"}, FormatCase{1e300, "1e+300"},
                    FormatCase{-1e-300, "-1e-300"}, FormatCase{100.0, "100"},
                    FormatCase{1000000.0, "1000000"},
                    // The largest doubles are cut, not rounded up beyond the double range.
                    FormatCase{std::numeric_limits<double>::max(), "1.79769313486231e+308"},
                    FormatCase{-std::numeric_limits<double>::max(), "-1.79769313486231e+308"},
                    FormatCase{1.79769313486231e308, "1.79769313486231e+308"},
                    FormatCase{1.7976931348623e308, "1.7976931348623e+308"}));

// Found by fuzzing: the largest double, written, must read back.
TEST(FormatMeasurement, TheLargestDoublesReadBack) {
    for (double value :
         {std::numeric_limits<double>::max(), 1.797693134862315e308,
          std::nextafter(1.79769313486231e308, std::numeric_limits<double>::max())}) {
        for (double signedValue : {value, -value}) {
            const auto back = parseMeasurement(formatMeasurement(signedValue));
            ASSERT_TRUE(back.has_value()) << formatMeasurement(signedValue);
            EXPECT_EQ(formatMeasurement(*back), formatMeasurement(signedValue));
        }
    }
}

// Every written text reads back as the value rounded to 15 significant digits, and writing
// that again gives the same text.
TEST(FormatMeasurement, RoundTripsThroughTheReader) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> exponent(-320, 307);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int i = 0; i < 20'000; ++i) {
        const double value = (i % 2 ? -1 : 1) * mantissa(random) * std::pow(10.0, exponent(random));
        if (!std::isfinite(value))
            continue;
        const std::string text = formatMeasurement(value);
        const auto back = parseMeasurement(text);
        ASSERT_TRUE(back.has_value()) << text;
        char rounded[64];
        std::snprintf(rounded, sizeof rounded, "%.14e", value);
        EXPECT_EQ(*back, std::strtod(rounded, nullptr)) << text;
        EXPECT_EQ(formatMeasurement(*back), text);
        EXPECT_EQ(text.find_first_of(", "), std::string::npos) << text;
    }
}

// For random decimals the reader gives the correctly rounded double, which the C library
// (in its default "C" locale) computes independently.
TEST(ParseMeasurement, PropertyCorrectlyRoundedAndStable) {
    std::mt19937_64 random(1975);
    std::uniform_int_distribution<int> digitCount(1, 25);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-330, 310);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int i = 0; i < 100'000; ++i) {
        std::string text;
        if (coin(random) == 0)
            text += '-';
        const int count = digitCount(random);
        const int point = std::uniform_int_distribution<int>(0, count)(random);
        for (int d = 0; d < count; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + digit(random));
        }
        if (coin(random) != 0) {
            text += 'e';
            text += std::to_string(exponent(random));
        }

        const double expected = std::strtod(text.c_str(), nullptr);
        // Typed with the decimal comma now and then: the same number.
        std::string typed = text;
        if (coin(random) == 0)
            std::replace(typed.begin(), typed.end(), '.', ',');
        const auto value = parseMeasurement(typed);
        if (std::isinf(expected)) {
            EXPECT_FALSE(value.has_value()) << typed;
            continue;
        }
        ASSERT_TRUE(value.has_value()) << typed;
        EXPECT_EQ(*value, expected) << typed;
        const std::string written = formatMeasurement(*value);
        const auto reread = parseMeasurement(written);
        ASSERT_TRUE(reread.has_value()) << written;
        EXPECT_EQ(formatMeasurement(*reread), written) << text;
    }
}

} // namespace
