// SPDX-License-Identifier: GPL-3.0-or-later
// Calculate end to end: statuses, the result, the listing, commands, and what a failed line
// leaves behind; standard output is captured.

#include "EngineTestSupport.h"
#include "ExpectedHelpText.h"

#include <cstdio>
#include <string>
#include <type_traits>

// The engine owns raw lists, so it must not be copied.
static_assert(!std::is_copy_constructible_v<ExpressionEngine>);
static_assert(!std::is_copy_assignable_v<ExpressionEngine>);

namespace {

// An engine and the texts the window hands to it; stdout is captured for every test.
class Calculate : public StdoutCapture {
protected:
    int Run(const char* line) { return engine.Calculate(line, &result, &listing); }
    int Run(const std::string& line) { return Run(line.c_str()); }
    void Prepare(std::initializer_list<const char*> lines) {
        for (const char* line : lines)
            ASSERT_EQ(Run(line), 0) << line;
    }

    ExpressionEngine engine;
    double result = -99.0;
    std::string listing = "stale";
};

TEST_F(Calculate, AssignmentOnEmptyMemory) {
    EXPECT_EQ(Run("a=5"), 0);
    EXPECT_EQ(result, 5.0);
    EXPECT_EQ(listing, "a = 5.000000\r\n");
    EXPECT_EQ(engine.tokens, nullptr);
    EXPECT_EQ(Captured(), "");
}

TEST_F(Calculate, ReadingUnknownNamesCreatesThem) {
    EXPECT_EQ(Run("a=b+1"), 0);
    EXPECT_EQ(result, 1.0);
    EXPECT_EQ(listing, "a = 1.000000\r\nb = 0.000000\r\n");
}

TEST_F(Calculate, SelfReferenceStartsFromZero) {
    EXPECT_EQ(Run("n=n+1"), 0);
    EXPECT_EQ(Run("n=n+1"), 0);
    EXPECT_EQ(result, 2.0);
    EXPECT_EQ(listing, "n = 2.000000\r\n");
}

TEST_F(Calculate, ValuesLastFromLineToLine) {
    Prepare({"a=5", "b=7.14", "c=a+5*b"});
    EXPECT_DOUBLE_EQ(result, 40.7);
    const double c = result;
    EXPECT_EQ(Run("h=sin(a)+cos(c)*kor(abs(a^2-4*a*c))"), 0);
    EXPECT_DOUBLE_EQ(result, std::sin(5.0) + std::cos(c) * std::sqrt(std::fabs(25 - 20 * c)));
}

struct CompoundCase {
    const char* name;
    const char* before; // null: the target does not exist
    const char* line;
    double value;
};

class CompoundAssignment : public Calculate, public ::testing::WithParamInterface<CompoundCase> {};

TEST_P(CompoundAssignment, CombinesOldValueWithRightSide) {
    if (GetParam().before != nullptr)
        Prepare({GetParam().before});
    EXPECT_EQ(Run(GetParam().line), 0);
    EXPECT_EQ(result, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Operators, CompoundAssignment,
    ::testing::Values(CompoundCase{"PlusOnNewTarget", nullptr, "x+=2", 2.0},
                      CompoundCase{"Minus", "x=10", "x-=3", 7.0},
                      CompoundCase{"Divide", "x=2", "x/=4", 0.5},
                      CompoundCase{"Power", "x=2", "x^=3", 8.0},
                      CompoundCase{"PowerBaseIsTarget", "x=3", "x^=2", 9.0},
                      CompoundCase{"Times", "x=3", "x*=4", 12.0},
                      CompoundCase{"RightSideReadsTarget", "x=3", "x+=x*2", 9.0},
                      CompoundCase{"TimesOnNewTarget", nullptr, "x*=5", 0.0}),
    [](const ::testing::TestParamInfo<CompoundCase>& row) { return std::string(row.param.name); });

TEST_F(Calculate, InfinityIsStoredAndReturned) {
    EXPECT_EQ(Run("a=1/0"), 0);
    EXPECT_TRUE(std::isinf(result));
    EXPECT_EQ(listing, "a = inf\r\n");
}

struct CommandCase {
    const char* name;
    const char* line;
    int outcome;
    const char* listing;
    bool help;
};

class Commands : public Calculate, public ::testing::WithParamInterface<CommandCase> {};

// Commands leave the result untouched and rebuild the listing.
TEST_P(Commands, ReturnTheirStatus) {
    Prepare({"b=2", "a=1"});
    result = -99.0;
    EXPECT_EQ(Run(GetParam().line), GetParam().outcome);
    EXPECT_EQ(result, -99.0);
    EXPECT_EQ(listing, GetParam().listing);
    const std::string output = Captured();
    if (GetParam().help) {
        EXPECT_EQ(output.substr(0, 7), "Tarvin\n");
    } else {
        EXPECT_EQ(output, "");
    }
}

constexpr const char* kTwoVariables = "a = 1.000000\r\nb = 2.000000\r\n";

INSTANTIATE_TEST_SUITE_P(
    Words, Commands,
    ::testing::Values(CommandCase{"ListKeepsMemory", "var", 3, kTwoVariables, false},
                      CommandCase{"ClearEmptiesMemory", "clear", 4, "", false},
                      CommandCase{"ClearBosnian", "brisi", 4, "", false},
                      CommandCase{"HelpWritesText", "help", 2, kTwoVariables, true},
                      CommandCase{"HelpBosnian", "pomoc", 2, kTwoVariables, true},
                      CommandCase{"QuitIsFailure", "kraj", -1, kTwoVariables, false},
                      CommandCase{"QuitEnglish", "quit", -1, kTwoVariables, false},
                      CommandCase{"QuitWithAssignment", "kraj=1", -1, kTwoVariables, false},
                      CommandCase{"ListWithAssignment", "var = 5", 3, kTwoVariables, false}),
    [](const ::testing::TestParamInfo<CommandCase>& row) { return std::string(row.param.name); });

TEST_F(Calculate, ClearedNamesStartAgainFromZero) {
    Prepare({"a=5"});
    EXPECT_EQ(Run("clear"), 4);
    EXPECT_EQ(engine.variables, nullptr);
    EXPECT_EQ(Run("b=a"), 0);
    EXPECT_EQ(result, 0.0);
    EXPECT_EQ(listing, "a = 0.000000\r\nb = 0.000000\r\n");
}

// A caller that sets its own stream gets the whole help text there and none on standard output.
TEST_F(Calculate, HelpGoesToTheOutputStreamSet) {
    FILE* const stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    engine.output = stream;
    EXPECT_EQ(Run("help"), 2);
    std::string written(std::ftell(stream), '\0');
    std::rewind(stream);
    EXPECT_EQ(std::fread(written.data(), 1, written.size(), stream), written.size());
    std::fclose(stream);
    EXPECT_EQ(written, ExpectedHelpText());
    EXPECT_EQ(Captured(), "");
}

TEST_F(Calculate, EngineStaysUsableAfterQuit) {
    EXPECT_EQ(Run("quit"), -1);
    EXPECT_EQ(Run("a=2"), 0);
    EXPECT_EQ(result, 2.0);
}

struct FailureCase {
    const char* name;
    const char* line;
    const char* output;
};

class FailedLines : public Calculate, public ::testing::WithParamInterface<FailureCase> {};

// A failed line returns -1, leaves the result and every variable alone, and still lists.
TEST_P(FailedLines, ChangeNothing) {
    Prepare({"a=1"});
    result = -99.0;
    listing = "stale";
    EXPECT_EQ(Run(GetParam().line), -1);
    EXPECT_EQ(result, -99.0);
    EXPECT_EQ(listing, "a = 1.000000\r\n");
    EXPECT_EQ(engine.tokens, nullptr);
    EXPECT_EQ(Captured(), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FailedLines,
    ::testing::Values(
        FailureCase{"UnclosedGroup", "a=(b", ""}, FailureCase{"ConstantTarget", "5=a", ""},
        FailureCase{"EmptyLine", "", ""}, FailureCase{"EmptyRightSide", "ans=", ""},
        FailureCase{"ComparisonInsteadOfAssignment", "a==b", ""},
        FailureCase{"UnknownFunctionOfNewName", "x=b(c)", ""},
        FailureCase{"LexicalError", "b=c#", "\aGRESKA!!!!"},
        FailureCase{"OverlongName", "b=abcdefghijklmnopqrstuvwxyz0123456", "\aGRESKA!!!!"},
        FailureCase{"OverlongNumber", "b=1.0000000000000000000000000000001", "\aGRESKA!!!!"},
        FailureCase{"OverlongTarget", "abcdefghijklmnopqrstuvwxyz0123456=1", "\aGRESKA!!!!"}),
    [](const ::testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

TEST_F(Calculate, BannersOfSuccessiveErrorsRunTogether) {
    EXPECT_EQ(Run("#"), -1);
    EXPECT_EQ(Run("a=1"), 0);
    EXPECT_EQ(Run("~"), -1);
    EXPECT_EQ(Captured(), "\aGRESKA!!!!\aGRESKA!!!!");
}

TEST_F(Calculate, NullListingIsAllowed) {
    EXPECT_EQ(engine.Calculate("a=3", &result, nullptr), 0);
    EXPECT_EQ(result, 3.0);
    EXPECT_EQ(engine.Calculate("var", &result, nullptr), 3);
}

TEST_F(Calculate, LongestNamesListInFull) {
    const std::string name(kMaxTokenLength, 'v');
    EXPECT_EQ(Run(name + "=1e300"), 0);
    char expected[400];
    std::snprintf(expected, sizeof expected, "%s = %f\r\n", name.c_str(), 1e300);
    EXPECT_EQ(listing, expected);
}

struct DeepCase {
    const char* name;
    const char* open;
};

class DeepNesting : public Calculate, public ::testing::WithParamInterface<DeepCase> {};

// A pasted line nested a million deep is rejected by the bound instead of exhausting the
// stack.
TEST_P(DeepNesting, MillionDeepLineIsRejected) {
    Prepare({"a=1"});
    std::string line = "b=";
    const std::string open = GetParam().open;
    line.reserve(2 + 1000000 * (open.size() + 1) + 1);
    for (int i = 0; i < 1000000; ++i)
        line += open;
    line += "c";
    line.append(1000000, ')');
    EXPECT_EQ(Run(line), -1);
    EXPECT_EQ(listing, "a = 1.000000\r\n");
}

INSTANTIATE_TEST_SUITE_P(Openers, DeepNesting,
                         ::testing::Values(DeepCase{"Groups", "("}, DeepCase{"NotGroups", "!("}),
                         [](const ::testing::TestParamInfo<DeepCase>& row) {
                             return std::string(row.param.name);
                         });

struct ReportCase {
    const char* line;
    int outcome;
    bool lexicalError;
};

// Only a line the lexer stopped in is reported as lexical; a line of the wrong form, a command
// word and a success are not, and the report of an earlier line does not linger.
TEST_F(Calculate, ReportTellsLexicalErrorsApart) {
    const std::string longName = "a=" + std::string(kMaxTokenLength + 1, 'x');
    const ReportCase cases[] = {
        {"#", -1, true},       {"a=5#", -1, true},      {longName.c_str(), -1, true},
        {"a=5", 0, false},     {"5=a", -1, false},      {"x=(2", -1, false},
        {"kraj #", -1, false}, {"var", RS_LIST, false},
    };
    for (const ReportCase& row : cases) {
        LineReport report;
        report.lexicalError = !row.lexicalError;
        EXPECT_EQ(engine.Calculate(row.line, &result, &listing, report), row.outcome) << row.line;
        EXPECT_EQ(report.lexicalError, row.lexicalError) << row.line;
    }
}

} // namespace
