// SPDX-License-Identifier: GPL-3.0-or-later
// Calculate end to end: statuses, the result, the listing, commands, and what a failed line
// leaves behind; standard output is captured.

#include "EngineTestSupport.h"
#include "ExpectedHelpText.h"
#include "FailureRows.h"
#include "LinePreparation.h"

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
    int failure;
};

// Only a line the lexer stopped in is reported with a lexical reason; a line of the wrong form,
// a command word and a success are not. A quit word is no statement, named where it begins;
// what ran has no reason. The report of an earlier line does not linger.
TEST_F(Calculate, ReportTellsLexicalErrorsApart) {
    const std::string longName = "a=" + std::string(kMaxTokenLength + 1, 'x');
    const ReportCase cases[] = {
        {"#", -1, FR_STRAY_CHARACTER}, {"a=5#", -1, FR_STRAY_CHARACTER},
        {"__", -1, FR_UNDERSCORES},    {longName.c_str(), -1, FR_TOKEN_TOO_LONG},
        {"a=5", 0, FR_NONE},           {"5=a", -1, FR_NO_TARGET},
        {"x=(2", -1, FR_UNCLOSED},     {"kraj #", -1, FR_COMMAND_WORD},
        {"var", RS_LIST, FR_NONE},
    };
    for (const ReportCase& row : cases) {
        LineReport report;
        report.failure = FR_OUT_OF_MEMORY;
        EXPECT_EQ(engine.Calculate(row.line, &result, &listing, report), row.outcome) << row.line;
        EXPECT_EQ(report.failure, row.failure) << row.line;
    }
    LineReport report;
    EXPECT_EQ(engine.Calculate("  quit=1", &result, &listing, report), -1);
    EXPECT_EQ(report.offset, 2u);
}

class FailureReasons : public Calculate, public ::testing::WithParamInterface<FailureRow> {};

// The stage that rejects a line names the reason and the place; the place counts in the line as
// the engine gets it, after the "ans=" that the console puts before a line without "=".
TEST_P(FailureReasons, NameTheReasonAndThePlace) {
    const FailureRow& row = GetParam();
    const std::string line = PrepareLine(row.line);
    LineReport report;
    EXPECT_EQ(engine.Calculate(line.c_str(), &result, &listing, report), kNoStatement);
    EXPECT_EQ(report.failure, row.failure);
    EXPECT_EQ(report.offset, row.column - 1 + (line.size() - row.line.size()));
    EXPECT_EQ(listing, "");
}

INSTANTIATE_TEST_SUITE_P(Rows, FailureReasons, ::testing::ValuesIn(FailureRows()),
                         [](const ::testing::TestParamInfo<FailureRow>& row) {
                             return std::string(row.param.name);
                         });

struct UnsetCase {
    const char* name;
    int unsetReads;
    const char* line;
    int outcome;
    std::vector<std::size_t> noted; // the offsets noted, or where the line was refused
    const char* listing;
};

class UnsetReads : public Calculate, public ::testing::WithParamInterface<UnsetCase> {};

// A read of a name the memory does not hold is 0 by default, noted when asked, or refused
// before anything of the line runs, so that the line changes nothing. The target of "=" is no
// read; that of a compound assignment is.
TEST_P(UnsetReads, AreReadNotedOrRefused) {
    const UnsetCase& row = GetParam();
    Prepare({"p=1000", "r=0.05"});
    engine.unsetReads = row.unsetReads;
    LineReport report;
    EXPECT_EQ(engine.Calculate(row.line, &result, &listing, report), row.outcome);
    if (row.outcome == kNoStatement) {
        EXPECT_EQ(report.failure, FR_NOT_SET);
        EXPECT_EQ(std::vector<std::size_t>{report.offset}, row.noted);
    } else {
        EXPECT_EQ(report.unsetReads, row.noted);
    }
    EXPECT_EQ(listing, row.listing);
}

constexpr const char* kSet = "p = 1000.000000\r\nr = 0.050000\r\n";

INSTANTIATE_TEST_SUITE_P(
    Policies, UnsetReads,
    ::testing::Values(
        UnsetCase{"ReadAsZero",
                  UNSET_READ_AS_ZERO,
                  "f=p*(1+r)^n0",
                  0,
                  {},
                  "f = 1000.000000\r\nn0 = 0.000000\r\np = 1000.000000\r\nr = 0.050000\r\n"},
        UnsetCase{"Noted",
                  UNSET_NOTED,
                  "f = q*p+ q^n0",
                  0,
                  {4, 9, 11},
                  "f = 1.000000\r\nn0 = 0.000000\r\np = 1000.000000\r\nq = 0.000000\r\n"
                  "r = 0.050000\r\n"},
        UnsetCase{"SetNamesAreNotNoted",
                  UNSET_NOTED,
                  "p=p*(1+r)",
                  0,
                  {},
                  "p = 1050.000000\r\nr = 0.050000\r\n"},
        UnsetCase{"RefusedAtTheFirst", UNSET_REFUSED, "f=p*(1+r)^n0+m", -1, {10}, kSet},
        UnsetCase{"RefusedLeavesTheTarget", UNSET_REFUSED, "p=p+x", -1, {4}, kSet},
        UnsetCase{"CompoundTargetIsRead", UNSET_REFUSED, "x += 1", -1, {0}, kSet},
        UnsetCase{"FunctionNameIsNoRead",
                  UNSET_REFUSED,
                  "f=kor(p)",
                  0,
                  {},
                  "f = 31.622777\r\np = 1000.000000\r\nr = 0.050000\r\n"}),
    [](const ::testing::TestParamInfo<UnsetCase>& row) { return std::string(row.param.name); });

} // namespace
