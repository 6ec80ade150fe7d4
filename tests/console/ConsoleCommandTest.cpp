// SPDX-License-Identifier: GPL-3.0-or-later
// Lines whose first token is a command word: they reach the engine as they
// stand and print no result line of their own.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ConsoleRun.h"
#include "ExpectedHelpText.h"

namespace {

struct CommandCase {
    const char* name;
    std::string input;
    std::string out;
    std::string err = "";
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const CommandCase& row, std::ostream* out) {
    *out << row.name;
}

const CommandCase kCommandCases[] = {
    {"var_lists_in_name_order_with_lf_ends", "b=2\na=-1.5\nvar\n",
     "2\n-1.5\na = -1.500000\nb = 2.000000\n"},
    {"var_on_empty_memory_prints_nothing", "var\n", ""},
    {"var_after_leading_blanks_lists", "a=1\n  var\n", "1\na = 1.000000\n"},
    {"var_ignores_the_rest_of_the_line", "a=1\nvar x #\n", "1\na = 1.000000\n"},
    {"var_with_equals_lists", "a=1\nvar=5\n", "1\na = 1.000000\n"},
    {"clear_prints_nothing_and_empties", "a=1\nclear\nvar\n", "1\n"},
    {"brisi_prints_nothing_and_empties", "a=1\nbrisi\nvar\n", "1\n"},
    {"cleared_variable_reads_zero", "a=7\nclear\na+1\n", "7\n1\n"},
    {"help_prints_the_engine_text", "help\n", ExpectedHelpText()},
    {"pomoc_prints_the_engine_text", "pomoc\n", ExpectedHelpText()},
    {"help_ignores_the_rest_of_the_line", "help me\n", ExpectedHelpText()},
    {"help_text_stays_between_results", "a=1\nhelp\nb=2\n", "1\n" + ExpectedHelpText() + "2\n"},
    {"command_word_in_other_case_is_a_variable", "Var\nHELP\nvar5\n", "0\n0\n0\n"},
    {"quoted_command_word_is_no_command", "\"var\"\n", "Error\n",
     FailureMessage("-:1:1", "a string cannot be a value", "\"var\"", 0)},
};

class CommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandTest, PrintsOnlyWhatTheCommandPrints) {
    const CommandCase& command = GetParam();
    ConsoleResult result = RunConsole({}, command.input);
    ExpectRun(result, command.out, command.err, command.err.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandTest, testing::ValuesIn(kCommandCases),
                         [](const testing::TestParamInfo<CommandCase>& row) {
                             return std::string(row.param.name);
                         });

// A command is no failed line: it adds nothing to standard error and leaves
// the exit status at 0.
TEST(CommandStatus, CommandsAloneExitWithZero) {
    ConsoleResult result = RunConsole({}, "var\nclear\nbrisi\nhelp\npomoc\nkraj\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, ExpectedHelpText() + ExpectedHelpText());
}

} // namespace
