// SPDX-License-Identifier: GPL-3.0-or-later
// The console writes values with its own formatter instead of printf; it must agree with
// "%g" byte for byte on every double, rounding and special values included, and so must its
// other styles with "%.Ng" and with the shortest text that reads back.

#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Printf(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Formatted(double value) {
    char text[kValueTextSize];
    const size_t length = FormatValue(value, text);
    EXPECT_EQ(length, std::strlen(text));
    return std::string(text, length);
}

struct ValueCase {
    const char* name;
    double value;
};

class ValueFormat : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueFormat, MatchesPrintfG) {
    const double value = GetParam().value;
    EXPECT_EQ(Formatted(value), Printf(value));
}

// The other two styles over the same values: "%.Ng" for every N allowed, and an exact text that
// reads back as the value and is no longer than the shortest "%.Ng" that does.
TEST_P(ValueFormat, DigitsMatchPrintfAndExactIsShortestRoundTrip) {
    const double value = GetParam().value;
    size_t shortest = kValueTextSize;
    for (int digits = kFewestDigits; digits <= kMostDigits; ++digits) {
        char reference[64];
        std::snprintf(reference, sizeof reference, "%.*g", digits, value);
        char text[kValueTextSize];
        FormatValue(value, text, ValueStyle{ValueForm::Digits, digits});
        EXPECT_STREQ(text, reference) << digits << " digits";
        if (std::strtod(reference, nullptr) == value)
            shortest = std::min(shortest, std::strlen(reference));
    }
    char exact[kValueTextSize];
    const size_t length = FormatValue(value, exact, ValueStyle{ValueForm::Exact});
    EXPECT_EQ(length, std::strlen(exact));
    if (std::isnan(value)) {
        EXPECT_EQ(exact, Printf(value));
        return;
    }
    const double back = std::strtod(exact, nullptr);
    EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << exact;
    EXPECT_LE(length, shortest) << exact;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

const ValueCase kValueCases[] = {
    {"Zero", 0.0},
    {"NegativeZero", -0.0},
    {"Integer", 5.0},
    {"Third", 1.0 / 3.0},
    {"PowerOfTwoInExponentForm", 1048576.0},
    {"LargestSixDigitInteger", 999999.0},
    {"RoundsUpIntoExponentForm", 999999.5},
    {"SmallestFixedForm", 1e-4},
    {"JustBelowFixedForm", 9.99999e-5},
    {"RoundsUpIntoFixedForm", 9.999995e-5},
    {"TrailingZerosDropped", 2.5},
    {"Negative", -7.14},
    {"TieRoundsToEven", 0.1234565},
    {"LargestSixDigitNegative", -999999.0},
    {"SmallestSevenDigitWhole", 1000000.0},
    {"NegativeSevenDigitWhole", -1000000.0},
    {"WholeJustBelowExponentForm", 999998.0},
    {"FractionAboveLargestSixDigitWhole", 999999.0 + 0.25},
    {"LargeWholeNumber", 1e15},
    {"SixDigitsAfterThePoint", 0.000123456},
    {"CarryIntoTheNextDecade", 0.00099999996},
    {"CarryOutOfTheFixedForm", 999999.7},
    {"SmallestFixedDecadeRounded", 0.000100000049},
    {"TrailingZerosOfFractionDropped", 12.5000001},
    {"LargestFinite", DBL_MAX},
    {"SmallestNormal", DBL_MIN},
    {"SmallestSubnormal", std::numeric_limits<double>::denorm_min()},
    {"NegativeLargeExponent", -1.5e-300},
    {"PositiveInfinity", kInfinity},
    {"NegativeInfinity", -kInfinity},
    {"QuietNaN", std::numeric_limits<double>::quiet_NaN()},
    {"NegativeNaN", -std::numeric_limits<double>::quiet_NaN()},
};

INSTANTIATE_TEST_SUITE_P(Values, ValueFormat, ::testing::ValuesIn(kValueCases),
                         [](const ::testing::TestParamInfo<ValueCase>& row) {
                             return std::string(row.param.name);
                         });

// Random bit patterns cover every exponent; values near the switch between the fixed and the
// exponent form and near rounding ties of the sixth digit are where formatters differ.
TEST(ValueFormatSweep, RandomBitPatternsAndDecimalBoundaries) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000 && !::testing::Test::HasFailure(); ++i) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        EXPECT_EQ(Formatted(value), Printf(value)) << "bits " << std::hex << bits;
    }
    for (int exponent = -310; exponent <= 308 && !::testing::Test::HasFailure(); ++exponent) {
        for (double mantissa : {1.0, 9.999995, 9.9999949999, 1.234565, 5.0000005}) {
            const double value = mantissa * std::pow(10.0, exponent);
            EXPECT_EQ(Formatted(value), Printf(value)) << mantissa << "e" << exponent;
            EXPECT_EQ(Formatted(std::nextafter(value, 0.0)), Printf(std::nextafter(value, 0.0)));
            EXPECT_EQ(Formatted(std::nextafter(value, kInfinity)),
                      Printf(std::nextafter(value, kInfinity)));
        }
    }
}

// Values of the fixed form take a path of their own: across its decades, as short decimals
// such as scripts compute, and at rounding ties of the sixth digit.
TEST(ValueFormatSweep, FixedFormDecadesDecimalsAndTies) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> decade(-6.0, 8.0);
    for (int i = 0; i < 300000 && !::testing::Test::HasFailure(); ++i) {
        const double value = std::pow(10.0, decade(random)) * (i % 2 == 0 ? 1 : -1);
        EXPECT_EQ(Formatted(value), Printf(value)) << std::hexfloat << value;
    }
    for (int i = 0; i < 200000 && !::testing::Test::HasFailure(); ++i) {
        const double scale = std::pow(10.0, static_cast<double>(random() % 10));
        const double decimal = static_cast<double>(random() % 100000000) / scale;
        EXPECT_EQ(Formatted(decimal), Printf(decimal)) << std::hexfloat << decimal;
        const double tie = (static_cast<double>(random() % 1000000) + 0.5) / scale;
        EXPECT_EQ(Formatted(tie), Printf(tie)) << std::hexfloat << tie;
    }
}

// Whole numbers take a path of their own; around the six-digit boundary every one is checked.
TEST(ValueFormatSweep, WholeNumbersAroundTheDigitLimits) {
    for (double centre : {0.0, 1e5, 1e6, 1e7}) {
        for (double offset = -1000; offset <= 1000 && !::testing::Test::HasFailure(); ++offset) {
            for (double value : {centre + offset, -(centre + offset)})
                EXPECT_EQ(Formatted(value), Printf(value)) << std::fixed << value;
        }
    }
}

} // namespace
