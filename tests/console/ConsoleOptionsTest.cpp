// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: --help, --version, the value styles and options the program does not know.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ConsoleRun.h"
#include "TarvinVersion.h"

namespace {

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

TEST(Options, HelpPrintsUsageAndRunsNothing) {
    ConsoleResult result = RunConsole({"--help", "-"}, "a=1\n");
    EXPECT_TRUE(StartsWith(result.out, "Usage: tarvin-console [OPTION]... [FILE]...\n"))
        << result.out;
    EXPECT_EQ(result.out.find("\n1\n"), std::string::npos);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
}

TEST(Options, VersionIsTheProjectVersion) {
    ConsoleResult result = RunConsole({"--version"}, "");
    EXPECT_EQ(result.out, std::string("tarvin-console ") + TARVIN_VERSION + "\n");
    EXPECT_EQ(result.status, 0);
}

TEST(Options, FirstOfHelpAndVersionWins) {
    ConsoleResult result = RunConsole({"--version", "--help"}, "");
    EXPECT_TRUE(StartsWith(result.out, "tarvin-console ")) << result.out;
}

struct BadOptionCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string message;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const BadOptionCase& row, std::ostream* out) {
    *out << row.name;
}

const std::string kDigitRange = "' is not a whole number from 1 to 17\n";

const BadOptionCase kBadOptions[] = {
    {"short_option", {"-x"}, "unknown option '-x'\n"},
    {"long_option", {"--verbose"}, "unknown option '--verbose'\n"},
    {"help_with_a_value", {"--help=all"}, "unknown option '--help=all'\n"},
    {"unknown_after_help", {"--help", "--bogus"}, "unknown option '--bogus'\n"},
    {"unknown_before_a_file", {"-q", "-"}, "unknown option '-q'\n"},
    {"exact_with_a_value", {"--exact=1"}, "unknown option '--exact=1'\n"},
    {"strict_with_a_value", {"--strict=yes"}, "unknown option '--strict=yes'\n"},
    {"digits_run_into_the_name", {"--digits3"}, "unknown option '--digits3'\n"},
    {"digits_without_a_count", {"--digits"}, "option '--digits' needs a digit count\n"},
    {"digits_below_one", {"--digits", "0"}, "digit count '0" + kDigitRange},
    {"digits_above_seventeen", {"--digits=18"}, "digit count '18" + kDigitRange},
    {"digits_negative", {"--digits", "-3"}, "digit count '-3" + kDigitRange},
    {"digits_not_a_number", {"--digits", "six"}, "digit count 'six" + kDigitRange},
    {"digits_with_a_tail", {"--digits=3x"}, "digit count '3x" + kDigitRange},
    {"digits_empty_after_equals", {"--digits="}, "digit count '" + kDigitRange},
    {"digits_too_large_for_int",
     {"--digits", "99999999999"},
     "digit count '99999999999" + kDigitRange},
    {"bad_digits_after_help", {"--help", "--digits", "0"}, "digit count '0" + kDigitRange},
};

class BadOptionTest : public testing::TestWithParam<BadOptionCase> {};

TEST_P(BadOptionTest, PrintsUsageOnStandardErrorWithStatus2) {
    const BadOptionCase& bad = GetParam();
    ConsoleResult result = RunConsole(bad.arguments, "a=1\n");
    EXPECT_EQ(result.out, "");
    std::string message = std::string("tarvin-console: ") + bad.message;
    EXPECT_TRUE(StartsWith(result.err, message + "Usage: tarvin-console")) << result.err;
    EXPECT_EQ(result.status, 2);
}

INSTANTIATE_TEST_SUITE_P(Options, BadOptionTest, testing::ValuesIn(kBadOptions),
                         [](const testing::TestParamInfo<BadOptionCase>& row) {
                             return std::string(row.param.name);
                         });

struct StyleCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* input;
    const char* out;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const StyleCase& row, std::ostream* out) {
    *out << row.name;
}

const StyleCase kStyles[] = {
    {"exact_round_trips",
     {"--exact"},
     "0.1+0.2\n1/3\n-1/3\n",
     "0.30000000000000004\n0.3333333333333333\n-0.3333333333333333\n"},
    {"exact_whole_numbers_in_full",
     {"--exact"},
     "2^40\n2^53+1\n",
     "1099511627776\n9007199254740992\n"},
    {"exact_takes_the_shorter_exponent_form",
     {"--exact"},
     "1e300*10\n1e-7\n1e22\n",
     "1e+301\n1e-07\n1e+22\n"},
    {"exact_zero_infinity_and_nan", {"--exact"}, "0\n-0\n1/0\n-1/0\n", "0\n-0\ninf\n-inf\n"},
    {"seventeen_digits",
     {"--digits", "17"},
     "0.1+0.2\n2^40\n",
     "0.30000000000000004\n1099511627776\n"},
    {"one_digit_rounds", {"--digits=1"}, "2/3\n960\n", "0.7\n1e+03\n"},
    {"digits_below_six",
     {"--digits", "3"},
     "1/3\n1234\n0.0001234\n1e-5\n",
     "0.333\n1.23e+03\n0.000123\n1e-05\n"},
    {"exact_listing",
     {"--exact"},
     "b=0.1+0.2\na=2^40\nvar\n",
     "0.30000000000000004\n1099511627776\na = 1099511627776\nb = 0.30000000000000004\n"},
    {"digits_listing",
     {"--digits", "3"},
     "b=2/3\na=1e7\nvar\n",
     "0.667\n1e+07\na = 1e+07\nb = 0.667\n"},
    {"empty_listing", {"--exact"}, "var\n", ""},
    {"last_style_counts", {"--digits", "3", "--exact"}, "1/3\n", "0.3333333333333333\n"},
    {"digits_after_exact_count", {"--exact", "--digits", "2"}, "1/3\n", "0.33\n"},
    {"failed_line_is_still_error", {"--exact"}, "a=(\n", "Error\n"},
    {"long_options_shortened", {"--dig=3", "--ex", "--dig", "2"}, "1/3\n", "0.33\n"},
};

class StyleTest : public testing::TestWithParam<StyleCase> {};

TEST_P(StyleTest, PrintsValuesInTheStyleAskedFor) {
    const StyleCase& style = GetParam();
    ConsoleResult result = RunConsole(style.arguments, style.input);
    EXPECT_EQ(result.out, style.out);
}

INSTANTIATE_TEST_SUITE_P(Options, StyleTest, testing::ValuesIn(kStyles),
                         [](const testing::TestParamInfo<StyleCase>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
