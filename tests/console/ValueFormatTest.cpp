// The console writes values with its own formatter instead of printf; it must agree with
// "%g" byte for byte on every double, rounding and special values included.

#include "ResultOutput.h"

#include <gtest/gtest.h>

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
