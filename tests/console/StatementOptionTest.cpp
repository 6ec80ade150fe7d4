// SPDX-License-Identifier: GPL-3.0-or-later
// Statements given with -e: their order against the files, standard input, the origin of their
// messages, and the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "ConsoleRun.h"
#include "ScratchFolderTest.h"

namespace {

struct StatementCase {
    const char* name;
    std::vector<std::string> arguments; // "FILE" stands for a file holding "c=a+b\n"
    std::string input;
    std::string out;
    std::string err;
    int status;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const StatementCase& row, std::ostream* out) {
    *out << row.name;
}

const StatementCase kStatementCases[] = {
    {"one_memory_in_order", {"-e", "a=5", "-e", "a*2"}, "", "5\n10\n", "", 0},
    {"attached_statement", {"-ea=5", "-eans+a"}, "", "5\n5\n", "", 0},
    {"standard_input_unread", {"-e", "a=1"}, "b=2\n", "1\n", "", 0},
    {"statements_before_files", {"FILE", "-e", "a=1", "-e", "b=2"}, "", "1\n2\n3\n", "", 0},
    {"dash_file_after_statements", {"-", "-e", "a=1"}, "b=a+1\n", "1\n2\n", "", 0},
    {"errors_named_by_number",
     {"-e", "a=1", "-e", "x=(", "-e", "$"},
     "",
     "1\nError\nError\n",
     FailureMessage("-e:2:3", "missing ')' to close this '('", "x=(", 2) +
         FailureMessage("-e:3:1", "'$' starts no token", "$", 0),
     1},
    {"comments_dropped", {"-e", "a=2 # two", "-e", "# nothing", "-e", "a"}, "", "2\n2\n", "", 0},
    {"statement_starting_with_a_dash", {"-e", "-2+5"}, "", "-7\n", "", 0},
    {"quit_skips_the_files", {"-e", "a=1", "-e", "quit", "FILE"}, "", "1\n", "", 0},
    {"blank_statement_skipped", {"-e", "", "-e", "a=4"}, "", "4\n", "", 0},
    {"after_double_dash_a_file",
     {"--", "-e"},
     "",
     "",
     "tarvin-console: -e: No such file or directory\n",
     2},
};

class StatementOptionTest : public ScratchFolderTest<testing::TestWithParam<StatementCase>> {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        file_ = (ScratchFolder() / "sum.txt").string();
        std::ofstream(file_) << "c=a+b\n";
    }

    std::vector<std::string> Arguments(const std::vector<std::string>& given) const {
        std::vector<std::string> arguments;
        for (const std::string& argument : given)
            arguments.push_back(argument == "FILE" ? file_ : argument);
        return arguments;
    }

private:
    std::string file_;
};

TEST_P(StatementOptionTest, RunsAsLinesOfInput) {
    const StatementCase& row = GetParam();
    ConsoleResult result = RunConsole(Arguments(row.arguments), row.input);
    ExpectRun(result, row.out, row.err, row.status);
}

INSTANTIATE_TEST_SUITE_P(Statements, StatementOptionTest, testing::ValuesIn(kStatementCases),
                         [](const testing::TestParamInfo<StatementCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(StatementOption, MissingStatementIsAUsageError) {
    ConsoleResult result = RunConsole({"a.txt", "-e"}, "");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("tarvin-console: option '-e' needs a statement\nUsage: ", 0), 0u)
        << result.err;
    EXPECT_EQ(result.status, 2);
}

} // namespace
