// SPDX-License-Identifier: GPL-3.0-or-later
// The line reader: command words, the token list it builds, the banner and the help text.

#include "EngineTestSupport.h"
#include "ExpectedHelpText.h"

namespace {

struct WordCase {
    const char* text;
    bool found;
    int status;
};

class CommandWords : public ::testing::TestWithParam<WordCase> {};

TEST_P(CommandWords, MatchWholeTextCaseSensitively) {
    int status = -7;
    EXPECT_EQ(ExpressionEngine::FindCommandWord(GetParam().text, status), GetParam().found);
    EXPECT_EQ(status, GetParam().found ? GetParam().status : -7);
}

INSTANTIATE_TEST_SUITE_P(
    Words, CommandWords,
    ::testing::Values(WordCase{"kraj", true, RS_QUIT}, WordCase{"quit", true, RS_QUIT},
                      WordCase{"pomoc", true, RS_HELP}, WordCase{"help", true, RS_HELP},
                      WordCase{"var", true, RS_LIST}, WordCase{"brisi", true, RS_CLEAR},
                      WordCase{"clear", true, RS_CLEAR}, WordCase{"Var", false, 0},
                      WordCase{"HELP", false, 0}, WordCase{"var5", false, 0},
                      WordCase{"va", false, 0}, WordCase{"\"var", false, 0},
                      WordCase{"", false, 0}),
    [](const ::testing::TestParamInfo<WordCase>& row) {
        std::string name = row.param.text[0] == '\0' ? "Empty" : row.param.text;
        if (name[0] == '"')
            name = "QuotedVar";
        return name + (row.param.found ? "_IsCommand" : "_IsNoCommand");
    });

struct CommandLineCase {
    const char* name;
    const char* line;
    int status;
};

class CommandLines : public StdoutCapture, public ::testing::WithParamInterface<CommandLineCase> {};

// A command word as first token ends the reading: no list, and no banner for what follows.
TEST_P(CommandLines, GiveStatusAndNoList) {
    ReadList list(GetParam().line);
    const std::string output = Captured();
    EXPECT_EQ(list.status, GetParam().status);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(output, GetParam().status == RS_HELP ? ExpectedHelpText() : std::string());
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLines,
                         ::testing::Values(CommandLineCase{"VarAlone", "var", RS_LIST},
                                           CommandLineCase{"VarAfterBlanks", "  var", RS_LIST},
                                           CommandLineCase{"VarThenName", "var x", RS_LIST},
                                           CommandLineCase{"VarAssigned", "var=5", RS_LIST},
                                           CommandLineCase{"VarThenBadCharacter", "var #", RS_LIST},
                                           CommandLineCase{"QuitAssigned", "kraj=1", RS_QUIT},
                                           CommandLineCase{"QuitWord", "quit", RS_QUIT},
                                           CommandLineCase{"HelpThenWord", "help me", RS_HELP},
                                           CommandLineCase{"HelpBosnian", "pomoc", RS_HELP},
                                           CommandLineCase{"ClearThenNumber", "clear 3", RS_CLEAR},
                                           CommandLineCase{"ClearBosnian", "brisi", RS_CLEAR},
                                           CommandLineCase{"VarThenOverlongToken",
                                                           "var 123456789012345678901234567890123",
                                                           RS_LIST}),
                         [](const ::testing::TestParamInfo<CommandLineCase>& row) {
                             return std::string(row.param.name);
                         });

struct ListCase {
    const char* name;
    const char* line;
    std::vector<Token> tokens;
};

class StatementLines : public StdoutCapture, public ::testing::WithParamInterface<ListCase> {};

TEST_P(StatementLines, GiveTheTokensWithoutEndNode) {
    ReadList list(GetParam().line);
    EXPECT_EQ(Captured(), "");
    EXPECT_EQ(list.status, RS_STATEMENT);
    EXPECT_EQ(ListTokens(list.head), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StatementLines,
    ::testing::Values(
        ListCase{"Assignment", "a=5", {{VARIJABLA, "a"}, {JEDNAKO, "="}, {INTKON, "5"}}},
        ListCase{"CapitalisedWord", "Var", {{VARIJABLA, "Var"}}},
        ListCase{"UpperCaseWord", "HELP", {{VARIJABLA, "HELP"}}},
        ListCase{"WordWithDigit", "var5", {{VARIJABLA, "var5"}}},
        ListCase{"WordSecond", "x kraj", {{VARIJABLA, "x"}, {VARIJABLA, "kraj"}}},
        ListCase{"QuotedWord", "\"var\"", {{STRKON, "\"var"}}},
        ListCase{"EmptyLine", "", {{EOLN, ""}}}, ListCase{"BlankLine", "   \t", {{EOLN, ""}}}),
    [](const ::testing::TestParamInfo<ListCase>& row) { return std::string(row.param.name); });

struct ErrorCase {
    const char* name;
    const char* line;
};

class LexicalErrors : public StdoutCapture, public ::testing::WithParamInterface<ErrorCase> {};

// The banner is written once, with its BEL and no line end, and nothing is returned.
TEST_P(LexicalErrors, WriteBannerAndReleaseList) {
    ReadList list(GetParam().line);
    EXPECT_EQ(Captured(), "\aGRESKA!!!!");
    EXPECT_EQ(list.status, RS_STATEMENT);
    EXPECT_EQ(list.head, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LexicalErrors,
    ::testing::Values(ErrorCase{"BadFirstCharacter", "#"}, ErrorCase{"UnderscoreTarget", "__=1"},
                      ErrorCase{"BadCharacterAfterThreeTokens", "a = 5 #"},
                      ErrorCase{"StopsAtFirstError", "a=b+c~d+e~"},
                      ErrorCase{"OverlongFirstName", "abcdefghijklmnopqrstuvwxyz0123456=1"},
                      ErrorCase{"OverlongString", "x=1+\"abcdefghijklmnopqrstuvwxyz01234567\""}),
    [](const ::testing::TestParamInfo<ErrorCase>& row) { return std::string(row.param.name); });

class HelpText : public StdoutCapture {};

TEST_F(HelpText, IsWrittenExactly) {
    ExpressionEngine::PrintHelp();
    EXPECT_EQ(Captured(), ExpectedHelpText());
}

} // namespace
