// SPDX-License-Identifier: GPL-3.0-or-later
// The shared table through the console program: each case's lines go to its
// standard input, and the last line of its standard output is the result.

#include <gtest/gtest.h>

#include <string>

#include "ConsoleRun.h"
#include "ParityTable.h"

namespace {

std::string Script(const std::vector<std::string>& lines) {
    std::string script;
    for (const std::string& line : lines)
        script += line + "\n";
    return script;
}

// The text of the last line of the output, without its line end.
std::string LastLine(const std::string& out) {
    if (out.empty() || out.back() != '\n')
        return "(no complete line in: " + out + ")";
    size_t start = out.rfind('\n', out.size() - 2);
    start = start == std::string::npos ? 0 : start + 1;
    return out.substr(start, out.size() - 1 - start);
}

class ConsoleParityTest : public testing::TestWithParam<ParityCase> {};

TEST_P(ConsoleParityTest, LastLineShowsTheResult) {
    const ParityCase& row = GetParam();
    ASSERT_EQ(row.problem, "");
    ConsoleResult result = RunConsole({}, Script(row.lines));
    EXPECT_EQ(LastLine(result.out), row.result);
    EXPECT_NE(result.status, -1);
}

INSTANTIATE_TEST_SUITE_P(Table, ConsoleParityTest, testing::ValuesIn(ParityTable()),
                         [](const testing::TestParamInfo<ParityCase>& row) {
                             return row.param.name;
                         });

} // namespace
