// SPDX-License-Identifier: GPL-3.0-or-later
// Scripts on standard input: line ends, blank lines, comments, results, the
// messages for failed lines and their reasons, --strict, the quit words and the exit status.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ConsoleRun.h"
#include "FailureRows.h"
#include "ResultOutput.h"

using namespace std::string_literals;

namespace {

struct ScriptCase {
    const char* name;
    std::string input;
    std::string out;
    std::string err;
    int status;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const ScriptCase& row, std::ostream* out) {
    *out << row.name;
}

const std::string kCarriageReturn = "'\\x0d' (a carriage return) starts no token";
const std::string kUnclosed = "missing ')' to close this '('";
const std::string kComparison = "a comparison cannot start a statement; assign it, as in t=a==b";

const ScriptCase kScriptCases[] = {
    {"variables_last_from_line_to_line", "a=5\nb=a*2\n", "5\n10\n", "", 0},
    {"bare_expression_assigns_ans", "2*3\nans+1\n", "6\n7\n", "", 0},
    {"last_line_needs_no_terminator", "a=5\nb=a*2", "5\n10\n", "", 0},
    {"cr_lf_terminator_is_removed", "a=5\r\nb=a*2\r\n", "5\n10\n", "", 0},
    {"cr_before_cr_lf_stays_in_the_line", "a=5\r\r\n", "Error\n",
     FailureMessage("-:1:4", kCarriageReturn, "a=5\\x0d", 3), 1},
    {"cr_without_lf_is_no_terminator", "a=5\rb=6\n", "Error\n",
     FailureMessage("-:1:4", kCarriageReturn, "a=5\\x0db=6", 3), 1},
    {"blank_lines_are_skipped", "\n   \n\t \n\r\na=1\n\n", "1\n", "", 0},
    {"empty_input_prints_nothing", "", "", "", 0},
    {"line_numbers_count_skipped_lines", "\n\nx=(\n", "Error\n",
     FailureMessage("-:3:3", kUnclosed, "x=(", 2), 1},
    {"rejected_statement_has_no_banner", "a=(1\n", "Error\n",
     FailureMessage("-:1:3", kUnclosed, "a=(1", 2), 1},
    {"lexical_error_names_the_character_without_a_banner", "$\n", "Error\n",
     FailureMessage("-:1:1", "'$' starts no token", "$", 0), 1},
    {"lexical_error_after_good_tokens", "a = 5 $\n", "Error\n",
     FailureMessage("-:1:7", "'$' starts no token", "a = 5 $", 6), 1},
    {"successive_errors_each_get_a_message", "~1\n$\n", "Error\nError\n",
     FailureMessage("-:1:1", "'~' starts no token", "~1", 0) +
         FailureMessage("-:2:1", "'$' starts no token", "$", 0),
     1},
    {"byte_above_ascii_is_a_lexical_error", "a=\xe9\n", "Error\n",
     FailureMessage("-:1:3", "'\\xe9' starts no token", "a=\\xe9", 2), 1},
    {"escape_sequences_are_shown_not_obeyed", "x=\x1b]2;TITLE\a\x1b[2J\x1b[H\x1b[32mall good\n",
     "Error\n",
     FailureMessage("-:1:3", "'\\x1b' starts no token",
                    "x=\\x1b]2;TITLE\\x07\\x1b[2J\\x1b[H\\x1b[32mall good", 2),
     1},
    {"backslash_is_shown_doubled", "a=7\\2 $\n", "Error\n",
     FailureMessage("-:1:7", "'$' starts no token", "a=7\\\\2 $", 7), 1},
    {"comment_only_lines_are_skipped", "# sums\n  # indented\na=1\n", "1\n", "", 0},
    {"comment_after_a_statement", "a=5 # five\r\nb=a#no blank\n", "5\n5\n", "", 0},
    {"comment_after_a_bare_expression", "2*3 # ans\n", "6\n", "", 0},
    {"comment_may_hold_anything", "a=1 # b=2 # $ ~ \xe9\n", "1\n", "", 0},
    {"nul_byte_in_a_comment_goes_with_it", "a=5 #\0\n"s, "5\n", "", 0},
    {"comment_after_a_command", "a=1\nvar # list\n", "1\na = 1.000000\n", "", 0},
    {"comment_cannot_close_a_statement", "# head\na=(1 # )\n", "Error\n",
     FailureMessage("-:2:3", kUnclosed, "a=(1 # )", 2), 1},
    {"message_shows_the_line_as_read", "x kraj\n", "Error\n",
     FailureMessage("-:1:3", "expected an operator before 'kraj'", "x kraj", 2), 1},
    {"one_error_among_good_lines_gives_status_1", "a=1\n5=a\nb=2\n", "1\nError\n2\n",
     FailureMessage("-:2:1", "a statement must begin with the name of the variable it sets", "5=a",
                    0),
     1},
    {"failed_line_changes_no_variable", "a=1\na=(2\na\n", "1\nError\n1\n",
     FailureMessage("-:2:3", kUnclosed, "a=(2", 2), 1},
    {"nul_byte_fails_the_whole_line", "a=5\0+1\nb=2\n"s, "Error\n2\n",
     FailureMessage("-:1:4", "NUL byte in the line", "a=5\\x00+1", 3), 1},
    {"kraj_ends_the_input", "a=1\nkraj\na=2\n", "1\n", "", 0},
    {"quit_ends_the_input", "a=1\nquit\n$\n", "1\n", "", 0},
    {"quit_after_a_comment_still_quits", "kraj # done\na=2\n", "", "", 0},
    {"quit_keeps_an_earlier_error_status", "$\nquit\n", "Error\n",
     FailureMessage("-:1:1", "'$' starts no token", "$", 0), 1},
    {"kraj_with_more_on_the_line_still_quits", "kraj=1\na=2\n", "", "", 0},
    {"kraj_after_leading_blanks_quits", "  kraj\na=2\n", "", "", 0},
    {"quit_word_in_other_case_is_a_variable", "Kraj\nQUIT\n", "0\n0\n", "", 0},
    {"quit_word_not_first_is_a_variable", "a=kraj+1\n", "1\n", "", 0},
    {"window_words_with_equals_unchanged", "a==b\nx<=3\nx+=1\n", "Error\nError\n1\n",
     FailureMessage("-:1:2", kComparison, "a==b", 1) +
         FailureMessage("-:2:2", kComparison, "x<=3", 1),
     1},
    {"infinity_shows_as_printf_writes_it", "1/0\n-1/0\n", "inf\n-inf\n", "", 0},
    {"large_value_in_exponent_form", "2^20\n", "1.04858e+06\n", "", 0},
};

class ScriptTest : public testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptTest, PrintsResultsMessagesAndStatus) {
    const ScriptCase& script = GetParam();
    ConsoleResult result = RunConsole({}, script.input);
    ExpectRun(result, script.out, script.err, script.status);
}

INSTANTIATE_TEST_SUITE_P(Stdin, ScriptTest, testing::ValuesIn(kScriptCases),
                         [](const testing::TestParamInfo<ScriptCase>& row) {
                             return std::string(row.param.name);
                         });

class FailureMessageTest : public testing::TestWithParam<FailureRow> {};

// Each failed line says why and where; a line short enough to be echoed whole is shown with the
// caret under the column.
TEST_P(FailureMessageTest, SaysWhyAndWhere) {
    const FailureRow& row = GetParam();
    const ConsoleResult result = RunConsole({}, row.line + "\n");
    const std::string where = "-:1:" + std::to_string(row.column);
    if (row.line.size() <= kEchoBytes) {
        ExpectRun(result, "Error\n", FailureMessage(where, row.reason, row.line, row.column - 1),
                  1);
        return;
    }
    EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1),
              where + ": Error: " + row.reason + "\n");
    EXPECT_EQ(result.status, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, FailureMessageTest, testing::ValuesIn(FailureRows()),
                         [](const testing::TestParamInfo<FailureRow>& row) {
                             return std::string(row.param.name);
                         });

// The same script with and without --strict. Strict, a read of a name that no statement has
// set fails its line, which changes nothing; without, the name reads as 0 and a script says
// nothing of it.
TEST(Strict, RefusesReadsOfNamesNeverSet) {
    const std::string script = "p=1000\nr=0.05\nf=p*(1+r)^n0\nf\nn=2\nf=p*(1+r)^n\nx+=1\nvar\n";
    ExpectRun(RunConsole({}, script),
              "1000\n0.05\n1000\n1000\n2\n1102.5\n1\nans = 1000.000000\nf = 1102.500000\n"
              "n = 2.000000\nn0 = 0.000000\np = 1000.000000\nr = 0.050000\nx = 1.000000\n",
              "", 0);
    ExpectRun(RunConsole({"--strict"}, script),
              "1000\n0.05\nError\nError\n2\n1102.5\nError\nf = 1102.500000\nn = 2.000000\n"
              "p = 1000.000000\nr = 0.050000\n",
              FailureMessage("-:3:11", "n0 is not set", "f=p*(1+r)^n0", 10) +
                  FailureMessage("-:4:1", "f is not set", "f", 0) +
                  FailureMessage("-:7:1", "x is not set", "x+=1", 0),
              1);
}

} // namespace
