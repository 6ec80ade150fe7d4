// SPDX-License-Identifier: GPL-3.0-or-later
// The statement check: its verdicts, its two changes to the list, function lookup and the
// nesting bound.

#include "EngineTestSupport.h"

namespace {

struct VerdictCase {
    const char* name;
    const char* line;
    bool accepted;
};

class CheckVerdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(CheckVerdicts, AcceptOnlyWellFormedStatements) {
    ReadList list(GetParam().line);
    ASSERT_NE(list.head, nullptr);
    EXPECT_EQ(ExpressionEngine::CheckStatement(list.head), GetParam().accepted)
        << "line: " << GetParam().line;
}

std::string VerdictName(const ::testing::TestParamInfo<VerdictCase>& row) {
    return std::string(row.param.name) + (row.param.accepted ? "_Accepted" : "_Rejected");
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, CheckVerdicts,
    ::testing::Values(
        VerdictCase{"Constant", "a=5", true}, VerdictCase{"RealConstant", "b=7.14", true},
        VerdictCase{"Arithmetic", "c=a+5*b", true},
        VerdictCase{"NestedFunctions", "a=sin(x)+cos(y)*kor(abs(x^2-4))", true},
        VerdictCase{"LeadingMinus", "a=-5", true}, VerdictCase{"LeadingPlus", "a=+5", true},
        VerdictCase{"PlusInGroup", "a=(+3)", true},
        VerdictCase{"PlusInArgument", "a=sin(+x)", true},
        VerdictCase{"MinusInGroup", "a=2*(-3)", true},
        VerdictCase{"MinusBeforeGroup", "a=-(x)", true},
        VerdictCase{"FunctionNameAsVariable", "a=sin", true}, VerdictCase{"NotName", "a=!x", true},
        VerdictCase{"NotInteger", "a=!5", true}, VerdictCase{"NotReal", "a=!2.5", true},
        VerdictCase{"NotGroup", "a=!(x+1)", true},
        VerdictCase{"NotGroupThenOperator", "a=!(1)+2", true},
        VerdictCase{"NotInGroup", "a=(!x)", true}, VerdictCase{"NotInArgument", "a=sin(!x)", true},
        VerdictCase{"NotFunction", "a=!sin(x)", true}, VerdictCase{"MinusThenNot", "a=-!x", true},
        VerdictCase{"PlusAssign", "a+=1", true}, VerdictCase{"MinusAssign", "a-=1", true},
        VerdictCase{"TimesAssign", "a*=2", true}, VerdictCase{"DivideAssign", "a/=2", true},
        VerdictCase{"PowerAssign", "a^=2", true}, VerdictCase{"Remainder", "a=x%2", true},
        VerdictCase{"Backslash", "a=x\\2", true}, VerdictCase{"And", "a=x&y", true},
        VerdictCase{"GreaterEqual", "a=x>=y", true}, VerdictCase{"NotEqual", "a=x!=y", true},
        VerdictCase{"FunctionNameTarget", "sin=3", true},
        VerdictCase{"FunctionOfItsName", "a=sin(sin)", true}),
    VerdictName);

INSTANTIATE_TEST_SUITE_P(
    Rejected, CheckVerdicts,
    ::testing::Values(
        VerdictCase{"DoubleMinus", "a=--5", false}, VerdictCase{"MinusPlus", "a=-+5", false},
        VerdictCase{"PlusMinus", "a=+-5", false}, VerdictCase{"SignAfterOperator", "a=2*-3", false},
        VerdictCase{"SignAfterPower", "a=2^-1", false},
        VerdictCase{"FunctionWithoutParentheses", "a=sin x", false},
        VerdictCase{"CapitalFunctionName", "a=Sin(x)", false},
        VerdictCase{"UnknownFunction", "a=b(2)", false},
        VerdictCase{"ConstantCalled", "a=2(3)", false},
        VerdictCase{"GroupCalled", "a=(1)(2)", false},
        VerdictCase{"CallCalled", "a=sin(x)(y)", false},
        VerdictCase{"NotAFunction", "a=log10(1)", false},
        VerdictCase{"EmptyArgument", "a=sin()", false},
        VerdictCase{"TwoArguments", "a=sin(1,2)", false},
        VerdictCase{"UnclosedArgument", "a=sin(1", false},
        VerdictCase{"UnclosedSignedArgument", "a=sin(+", false},
        VerdictCase{"NotMinus", "a=!-x", false}, VerdictCase{"DoubleNot", "a=!!x", false},
        VerdictCase{"TrailingNot", "a=x!", false}, VerdictCase{"LoneNot", "a=!", false},
        VerdictCase{"NotOpenOnly", "a=!(", false}, VerdictCase{"Unclosed", "a=(1", false},
        VerdictCase{"UnopenedClose", "a=1)", false}, VerdictCase{"ExtraClose", "a=(1))", false},
        VerdictCase{"EmptyGroup", "a=()", false}, VerdictCase{"SignOnlyGroup", "a=(-)", false},
        VerdictCase{"TrailingOperator", "a=1+", false},
        VerdictCase{"NothingAfterAssign", "a=", false}, VerdictCase{"PlusOnly", "a=+", false},
        VerdictCase{"MinusOnly", "a=-", false}, VerdictCase{"ChainedAssign", "a=b=x", false},
        VerdictCase{"Comparison", "a==1", false}, VerdictCase{"ConstantTarget", "5=a", false},
        VerdictCase{"NoTarget", "=5", false}, VerdictCase{"NameAlone", "a", false},
        VerdictCase{"EmptyLine", "", false}, VerdictCase{"Semicolon", "a=x;", false},
        VerdictCase{"Comma", "a=1,2", false}, VerdictCase{"Brackets", "a=[1]", false},
        VerdictCase{"StringOperand", "a=\"x\"", false},
        VerdictCase{"StringAfterOperator", "a=1+\"x\"", false},
        VerdictCase{"TwoOperands", "a=1 2", false}, VerdictCase{"TwoOperators", "a=1+*2", false}),
    VerdictName);

struct RewriteCase {
    const char* name;
    const char* line;
    std::vector<Token> after;
};

class CheckRewrites : public ::testing::TestWithParam<RewriteCase> {};

// After the check, function names carry their codes and a leading "+" is gone, with both
// links of its neighbours mended.
TEST_P(CheckRewrites, LeaveListAsTheEvaluatorNeedsIt) {
    ReadList list(GetParam().line);
    ASSERT_NE(list.head, nullptr);
    TokenNode* first = list.head;
    ExpressionEngine::CheckStatement(list.head);
    EXPECT_EQ(list.head, first);
    EXPECT_EQ(ListTokens(list.head), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CheckRewrites,
    ::testing::Values(
        RewriteCase{
            "MinusStays", "a=-5", {{VARIJABLA, "a"}, {JEDNAKO, "="}, {MINUS, "-"}, {INTKON, "5"}}},
        RewriteCase{"PlusRemoved", "a=+5", {{VARIJABLA, "a"}, {JEDNAKO, "="}, {INTKON, "5"}}},
        RewriteCase{
            "PlusRemovedInGroup",
            "a=(+3)",
            {{VARIJABLA, "a"}, {JEDNAKO, "="}, {LIJZAG, "("}, {INTKON, "3"}, {DESZAG, ")"}}},
        RewriteCase{"PlusRemovedInArgument",
                    "a=sin(+x)",
                    {{VARIJABLA, "a"},
                     {JEDNAKO, "="},
                     {SINUS, "sin"},
                     {LIJZAG, "("},
                     {VARIJABLA, "x"},
                     {DESZAG, ")"}}},
        RewriteCase{"PlusRemovedBeforeRejection",
                    "a=+-5",
                    {{VARIJABLA, "a"}, {JEDNAKO, "="}, {MINUS, "-"}, {INTKON, "5"}}},
        RewriteCase{"LonePlusRemoved", "a=+", {{VARIJABLA, "a"}, {JEDNAKO, "="}}},
        RewriteCase{"ExponentFunction",
                    "y=ena(1)",
                    {{VARIJABLA, "y"},
                     {JEDNAKO, "="},
                     {EXP, "ena"},
                     {LIJZAG, "("},
                     {INTKON, "1"},
                     {DESZAG, ")"}}},
        RewriteCase{"FourFunctionsBound",
                    "a=sin(x)+cos(y)*kor(abs(x))",
                    {{VARIJABLA, "a"},
                     {JEDNAKO, "="},
                     {SINUS, "sin"},
                     {LIJZAG, "("},
                     {VARIJABLA, "x"},
                     {DESZAG, ")"},
                     {PLUS, "+"},
                     {COS, "cos"},
                     {LIJZAG, "("},
                     {VARIJABLA, "y"},
                     {DESZAG, ")"},
                     {PUTA, "*"},
                     {KORIJEN, "kor"},
                     {LIJZAG, "("},
                     {ABS, "abs"},
                     {LIJZAG, "("},
                     {VARIJABLA, "x"},
                     {DESZAG, ")"},
                     {DESZAG, ")"}}},
        RewriteCase{"NotBeforeFunction",
                    "a=!sin(x)",
                    {{VARIJABLA, "a"},
                     {JEDNAKO, "="},
                     {LOGICKO_NE, "!"},
                     {SINUS, "sin"},
                     {LIJZAG, "("},
                     {VARIJABLA, "x"},
                     {DESZAG, ")"}}},
        RewriteCase{"ArgumentNameUnbound",
                    "a=sin(sin)",
                    {{VARIJABLA, "a"},
                     {JEDNAKO, "="},
                     {SINUS, "sin"},
                     {LIJZAG, "("},
                     {VARIJABLA, "sin"},
                     {DESZAG, ")"}}},
        RewriteCase{
            "TargetNeverBound", "sin=3", {{VARIJABLA, "sin"}, {JEDNAKO, "="}, {INTKON, "3"}}}),
    [](const ::testing::TestParamInfo<RewriteCase>& row) { return std::string(row.param.name); });

struct LookupCase {
    const char* text;
    bool found;
    int code;
};

class FunctionLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(FunctionLookup, FindsExactNamesOnly) {
    int code = -1;
    EXPECT_EQ(ExpressionEngine::LookupFunction(GetParam().text, code), GetParam().found);
    if (GetParam().found) {
        EXPECT_EQ(code, GetParam().code);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FunctionLookup,
    ::testing::Values(LookupCase{"abs", true, ABS}, LookupCase{"acos", true, ARCCOS},
                      LookupCase{"asin", true, ARCSIN}, LookupCase{"atg", true, ARCTG},
                      LookupCase{"cos", true, COS}, LookupCase{"ena", true, EXP},
                      LookupCase{"kor", true, KORIJEN}, LookupCase{"ln", true, LN_ZA_BAZU_e},
                      LookupCase{"log", true, LOG_ZA_BAZU_10}, LookupCase{"sin", true, SINUS},
                      LookupCase{"tg", true, TANGENS}, LookupCase{"Sin", false, 0},
                      LookupCase{"ab", false, 0}, LookupCase{"abss", false, 0},
                      LookupCase{"log10", false, 0}, LookupCase{"zz", false, 0},
                      LookupCase{"a", false, 0}),
    [](const ::testing::TestParamInfo<LookupCase>& row) {
        return std::string(row.param.text) + (row.param.found ? "_Found" : "_NotFound");
    });

TEST(FunctionLookup, CodeIsPastTheTableWhenEveryNameSortsBefore) {
    int code = 0;
    EXPECT_FALSE(ExpressionEngine::LookupFunction("zz", code));
    EXPECT_EQ(code, NEDEF);
}

// The function codes end where the table does: the first and last codes name its first and
// last rows; the codes on either side of them, and beyond every code, name no function and
// compute nothing.
TEST(FunctionTable, EndsWhereTheFunctionCodesEnd) {
    EXPECT_STREQ(ExpressionEngine::FunctionName(kFirstFunction), "abs");
    EXPECT_STREQ(ExpressionEngine::FunctionName(kLastFunction), "tg");
    EXPECT_EQ(ExpressionEngine::ApplyFunction(kLastFunction, 0.0), 0.0);
    for (int code : {-1, kFirstFunction - 1, kLastFunction + 1, int{TOKEN_CODE_COUNT}}) {
        EXPECT_EQ(ExpressionEngine::FunctionName(code), nullptr) << code;
        EXPECT_TRUE(std::isnan(ExpressionEngine::ApplyFunction(code, 1.0))) << code;
    }
}

std::string Nested(const std::string& open, int depth, const std::string& inside) {
    std::string line = "a=";
    for (int i = 0; i < depth; ++i)
        line += open;
    line += inside;
    line.append(depth, ')');
    return line;
}

struct NestingCase {
    const char* name;
    const char* open;
    int depth;
    bool accepted;
};

class NestingBound : public ::testing::TestWithParam<NestingCase> {};

TEST_P(NestingBound, AcceptsUpToTheBoundOnly) {
    const std::string line = Nested(GetParam().open, GetParam().depth, "1");
    ReadList list(line.c_str());
    ASSERT_NE(list.head, nullptr);
    EXPECT_EQ(ExpressionEngine::CheckStatement(list.head), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, NestingBound,
    ::testing::Values(NestingCase{"GroupsAtBound", "(", kMaxNesting, true},
                      NestingCase{"GroupsOverBound", "(", kMaxNesting + 1, false},
                      NestingCase{"NotGroupsAtBound", "!(", kMaxNesting, true},
                      NestingCase{"NotGroupsOverBound", "!(", kMaxNesting + 1, false},
                      NestingCase{"ArgumentsAtBound", "abs(", kMaxNesting, true},
                      NestingCase{"ArgumentsOverBound", "abs(", kMaxNesting + 1, false}),
    [](const ::testing::TestParamInfo<NestingCase>& row) { return std::string(row.param.name); });

} // namespace
