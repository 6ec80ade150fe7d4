// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: --help, --version and options the program does not know.

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
    const char* reported;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const BadOptionCase& row, std::ostream* out) {
    *out << row.name;
}

const BadOptionCase kBadOptions[] = {
    {"short_option", {"-x"}, "-x"},
    {"long_option", {"--verbose"}, "--verbose"},
    {"help_with_a_value", {"--help=all"}, "--help=all"},
    {"unknown_after_help", {"--help", "--bogus"}, "--bogus"},
    {"unknown_before_a_file", {"-q", "-"}, "-q"},
};

class BadOptionTest : public testing::TestWithParam<BadOptionCase> {};

TEST_P(BadOptionTest, PrintsUsageOnStandardErrorWithStatus2) {
    const BadOptionCase& bad = GetParam();
    ConsoleResult result = RunConsole(bad.arguments, "a=1\n");
    EXPECT_EQ(result.out, "");
    std::string message = std::string("tarvin-console: unknown option '") + bad.reported + "'\n";
    EXPECT_TRUE(StartsWith(result.err, message + "Usage: tarvin-console")) << result.err;
    EXPECT_EQ(result.status, 2);
}

INSTANTIATE_TEST_SUITE_P(Options, BadOptionTest, testing::ValuesIn(kBadOptions),
                         [](const testing::TestParamInfo<BadOptionCase>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
