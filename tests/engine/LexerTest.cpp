// SPDX-License-Identifier: GPL-3.0-or-later
// The lexer: first-character rules, two-character operators, numbers, identifiers, strings,
// and the bound on a token's length.

#include "EngineTestSupport.h"

#include <cstring>

namespace {

struct LexCase {
    const char* name;
    const char* line;
    std::vector<Token> tokens;
};

void PrintTo(const LexCase& c, std::ostream* out) {
    *out << c.name;
}

class LexerTable : public ::testing::TestWithParam<LexCase> {};

TEST_P(LexerTable, YieldsTokensInOrder) {
    EXPECT_EQ(ScanAll(GetParam().line), GetParam().tokens) << "line: " << GetParam().line;
}

std::string RowName(const ::testing::TestParamInfo<LexCase>& row) {
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    FirstCharacter, LexerTable,
    ::testing::Values(LexCase{"EmptyLine", "", {{EOLN, ""}}},
                      LexCase{"BlanksTabsLineFeeds", " \t\n \n", {{EOLN, ""}}},
                      LexCase{"SimpleStatement",
                              "a=5",
                              {{VARIJABLA, "a"}, {JEDNAKO, "="}, {INTKON, "5"}, {EOLN, ""}}},
                      LexCase{"TableA",
                              "();:.,%\\&|[]",
                              {{LIJZAG, "("},
                               {DESZAG, ")"},
                               {TACZAR, ";"},
                               {DVOTAC, ":"},
                               {TACKA, "."},
                               {ZAREZ, ","},
                               {INTKROZ, "%"},
                               {DESKROZ, "\\"},
                               {LOGICKO_I, "&"},
                               {LOGICKO_ILI, "|"},
                               {LUGLZG, "["},
                               {DUGLZG, "]"},
                               {EOLN, ""}}},
                      LexCase{"CarriageReturnIsError", "\r", {{GRESKA, "\r"}}},
                      LexCase{"VerticalTabIsError", "\v", {{GRESKA, "\v"}}},
                      LexCase{"FormFeedIsError", "\f", {{GRESKA, "\f"}}},
                      LexCase{"TildeIsError", "a~", {{VARIJABLA, "a"}, {GRESKA, "~"}}},
                      LexCase{"HashIsError", "#", {{GRESKA, "#"}}},
                      LexCase{"ApostropheIsError", "'", {{GRESKA, "'"}}},
                      LexCase{"HighByteIsError", "\xe8", {{GRESKA, "\xe8"}}},
                      LexCase{
                          "HighByteInsideName", "ab\xe8", {{VARIJABLA, "ab"}, {GRESKA, "\xe8"}}},
                      LexCase{"ControlCharacterIsError", "\x01", {{GRESKA, "\x01"}}}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Operators, LexerTable,
    ::testing::Values(
        LexCase{"AllNineAlone",
                "+ - * / ^ > < = !",
                {{PLUS, "+"},
                 {MINUS, "-"},
                 {PUTA, "*"},
                 {KROZ, "/"},
                 {STEPEN, "^"},
                 {VECE_OD, ">"},
                 {MANJE_OD, "<"},
                 {JEDNAKO, "="},
                 {LOGICKO_NE, "!"},
                 {EOLN, ""}}},
        LexCase{"AllNineWithEquals",
                "+=-=*=/=^=>=<===!=",
                {{PLUS_JED, "+="},
                 {MINUS_JED, "-="},
                 {PUTA_JED, "*="},
                 {KROZ_JED, "/="},
                 {STEPEN_JED, "^="},
                 {VECE_JED, ">="},
                 {MANJE_JED, "<="},
                 {JE_JEDNAKO, "=="},
                 {RAZLICITO, "!="},
                 {EOLN, ""}}},
        LexCase{"CompoundWithRealConstant",
                "x += 1.5e-3",
                {{VARIJABLA, "x"}, {PLUS_JED, "+="}, {REAKON, "1.5e-3"}, {EOLN, ""}}},
        LexCase{"BlankSplitsCompound",
                "x + = 1",
                {{VARIJABLA, "x"}, {PLUS, "+"}, {JEDNAKO, "="}, {INTKON, "1"}, {EOLN, ""}}},
        LexCase{"ThreeEquals", "===", {{JE_JEDNAKO, "=="}, {JEDNAKO, "="}, {EOLN, ""}}},
        LexCase{"NotEqualThenEquals", "!==", {{RAZLICITO, "!="}, {JEDNAKO, "="}, {EOLN, ""}}},
        LexCase{"LessThenGreater", "<>", {{MANJE_OD, "<"}, {VECE_OD, ">"}, {EOLN, ""}}},
        LexCase{"DoubleAmpersand", "&&", {{LOGICKO_I, "&"}, {LOGICKO_I, "&"}, {EOLN, ""}}},
        LexCase{"PercentEqualsIsTwoTokens", "%=", {{INTKROZ, "%"}, {JEDNAKO, "="}, {EOLN, ""}}},
        LexCase{"DoubleStar", "**", {{PUTA, "*"}, {PUTA, "*"}, {EOLN, ""}}},
        LexCase{"EqualsLess", "=<", {{JEDNAKO, "="}, {MANJE_OD, "<"}, {EOLN, ""}}}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Numbers, LexerTable,
    ::testing::Values(
        LexCase{"Integer", "0123", {{INTKON, "0123"}, {EOLN, ""}}},
        LexCase{"EmptyExponent", "2e", {{REAKON, "2e"}, {EOLN, ""}}},
        LexCase{"EmptyFraction", "1.", {{REAKON, "1."}, {EOLN, ""}}},
        LexCase{"ExponentSignWithoutDigits", "1e+", {{REAKON, "1e+"}, {EOLN, ""}}},
        LexCase{"CapitalExponent", "3E-7", {{REAKON, "3E-7"}, {EOLN, ""}}},
        LexCase{"PointThenExponent", "1.e5", {{REAKON, "1.e5"}, {EOLN, ""}}},
        LexCase{"LeadingPointIsNoNumber", ".5", {{TACKA, "."}, {INTKON, "5"}, {EOLN, ""}}},
        LexCase{
            "SecondPointEnds", "1.5.2", {{REAKON, "1.5"}, {TACKA, "."}, {INTKON, "2"}, {EOLN, ""}}},
        LexCase{"SecondExponentEnds", "1e5e3", {{REAKON, "1e5"}, {VARIJABLA, "e3"}, {EOLN, ""}}},
        LexCase{"LetterAfterDigits", "3abc", {{INTKON, "3"}, {VARIJABLA, "abc"}, {EOLN, ""}}},
        LexCase{"NoSignOfItsOwn", "-5", {{MINUS, "-"}, {INTKON, "5"}, {EOLN, ""}}},
        LexCase{"ThirtyOneDigits",
                "1234567890123456789012345678901",
                {{INTKON, "1234567890123456789012345678901"}, {EOLN, ""}}}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Identifiers, LexerTable,
    ::testing::Values(
        LexCase{"UnderscoresOnly", "__", {{GRESKA, "__"}}},
        LexCase{"UnderscoreDigit", "_1", {{VARIJABLA, "_1"}, {EOLN, ""}}},
        LexCase{"TrailingUnderscore", "a_", {{VARIJABLA, "a_"}, {EOLN, ""}}},
        LexCase{"CaseKept", "Sin sin", {{VARIJABLA, "Sin"}, {VARIJABLA, "sin"}, {EOLN, ""}}},
        LexCase{"ThirtyOneCharacters",
                "abcdefghijklmnopqrstuvwxyz_1234",
                {{VARIJABLA, "abcdefghijklmnopqrstuvwxyz_1234"}, {EOLN, ""}}}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Strings, LexerTable,
    ::testing::Values(
        LexCase{"EmptyPair", "\"\"", {{STRKON, "\""}, {EOLN, ""}}},
        LexCase{"FollowedByName", "\"ab\"x", {{STRKON, "\"ab"}, {VARIJABLA, "x"}, {EOLN, ""}}},
        LexCase{"Unclosed", "\"ab", {{STRKON, "\"ab"}, {EOLN, ""}}},
        LexCase{"BackslashIsOrdinary", "\"a\\b\"", {{STRKON, "\"a\\b"}, {EOLN, ""}}},
        LexCase{"ThirtyCharactersInside",
                "\"abcdefghijklmnopqrstuvwxyz0123\"",
                {{STRKON, "\"abcdefghijklmnopqrstuvwxyz0123"}, {EOLN, ""}}}),
    RowName);

// Tokens one character over the bound are lexical errors, never cut.
INSTANTIATE_TEST_SUITE_P(OverlongTokens, LexerTable,
                         ::testing::Values(LexCase{"ThirtyTwoDigits",
                                                   "12345678901234567890123456789012",
                                                   {{GRESKA, "1234567890123456789012345678901"}}},
                                           LexCase{"ThirtyTwoLetters",
                                                   "abcdefghijklmnopqrstuvwxyz_12345",
                                                   {{GRESKA, "abcdefghijklmnopqrstuvwxyz_1234"}}},
                                           LexCase{"ThirtyOneInsideString",
                                                   "\"abcdefghijklmnopqrstuvwxyz01234\"",
                                                   {{GRESKA, "\"abcdefghijklmnopqrstuvwxyz0123"}}},
                                           LexCase{"LongRealConstant",
                                                   "1.00000000000000000000000000000001",
                                                   {{GRESKA, "1.00000000000000000000000000000"}}},
                                           LexCase{"AfterGoodTokens",
                                                   "a=123456789012345678901234567890123",
                                                   {{VARIJABLA, "a"},
                                                    {JEDNAKO, "="},
                                                    {GRESKA, "1234567890123456789012345678901"}}}),
                         RowName);

TEST(Lexer, EndOfLineRepeatsAndKeepsPosition) {
    const char* line = "  ";
    const char* position = line;
    char text[kTokenBufferSize];
    int code = NEDEF;
    for (int call = 0; call < 3; ++call) {
        ExpressionEngine::NextToken(position, text, code);
        EXPECT_EQ(code, EOLN);
        EXPECT_STREQ(text, "");
        EXPECT_EQ(position, line + 2);
    }
}

struct PositionCase {
    const char* name;
    const char* line;
    int code;
    std::ptrdiff_t after;
};

void PrintTo(const PositionCase& c, std::ostream* out) {
    *out << c.name;
}

class LexerPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(LexerPosition, LeavesReadPositionWhereTheRuleSays) {
    const char* position = GetParam().line;
    char text[kTokenBufferSize];
    int code = NEDEF;
    ExpressionEngine::NextToken(position, text, code);
    EXPECT_EQ(code, GetParam().code);
    EXPECT_EQ(position - GetParam().line, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LexerPosition,
    ::testing::Values(PositionCase{"BadCharacterStays", "  ~x", GRESKA, 2},
                      PositionCase{"CarriageReturnStays", "\rx", GRESKA, 0},
                      PositionCase{"UnderscoresArePassed", "__ x", GRESKA, 2},
                      PositionCase{"ClosedStringPassesQuote", "\"\"x", STRKON, 2},
                      PositionCase{"UnclosedStringStopsOnNul", "\"ab", STRKON, 3},
                      PositionCase{"OverlongNamePassedWhole", "abcdefghijklmnopqrstuvwxyz0123456 b",
                                   GRESKA, 33},
                      PositionCase{"OverlongNumberPassedWhole",
                                   "11111111111111111111111111111111.5e3+", GRESKA, 36}),
    [](const ::testing::TestParamInfo<PositionCase>& row) { return std::string(row.param.name); });

// The text buffer sits between guard bytes; a huge token must leave them alone.
TEST(Lexer, HugeTokensWriteNothingPastTheBuffer) {
    struct Guarded {
        char before[16];
        char text[kTokenBufferSize];
        char after[16];
    } guarded;
    std::memset(&guarded, 0x5a, sizeof guarded);
    for (const char first : {'a', '7', '"', '_'}) {
        std::string line(100000, first == '"' ? 'q' : first);
        line[0] = first;
        const char* position = line.c_str();
        int code = NEDEF;
        ExpressionEngine::NextToken(position, guarded.text, code);
        EXPECT_EQ(code, GRESKA) << "first character " << first;
        EXPECT_EQ(std::strlen(guarded.text), static_cast<std::size_t>(kMaxTokenLength));
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(guarded.before[i], 0x5a);
            EXPECT_EQ(guarded.after[i], 0x5a);
        }
    }
}

} // namespace
