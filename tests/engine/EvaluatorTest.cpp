// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluator: precedence levels, associativity, leading minus, logical not, functions,
// the remainder operators and IEEE results.

#include "EngineTestSupport.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double kNanValue = std::numeric_limits<double>::quiet_NaN();

struct ValueCase {
    const char* name;
    const char* line;
    double value;
};

class EvaluatedValues : public ::testing::TestWithParam<ValueCase> {
protected:
    ExpressionEngine engine;
};

TEST_P(EvaluatedValues, GiveTheTargetItsValue) {
    double result = 12345.0;
    ASSERT_EQ(engine.Calculate(GetParam().line, &result, nullptr), 0) << GetParam().line;
    EXPECT_PRED2(SameValue, GetParam().value, result) << GetParam().line;
}

std::string ValueName(const ::testing::TestParamInfo<ValueCase>& row) {
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(LeadingMinus, EvaluatedValues,
                         ::testing::Values(ValueCase{"NegatesWholeSum", "a=-1+2", -3.0},
                                           ValueCase{"NegatesAfterPower", "a=-2^2", -4.0},
                                           ValueCase{"NegatesComparison", "a=-1<2", -1.0},
                                           ValueCase{"NegatesGroupOnly", "a=(-1+2)*3", -9.0},
                                           ValueCase{"NegatesArgument", "a=abs(-1+2)", 3.0},
                                           ValueCase{"NegativeZero", "a=-0", -0.0},
                                           ValueCase{"PlusRemoved", "a=+5", 5.0}),
                         ValueName);

INSTANTIATE_TEST_SUITE_P(Precedence, EvaluatedValues,
                         ::testing::Values(ValueCase{"TimesBeforePlus", "a=1+2*3", 7.0},
                                           ValueCase{"PowerBeforeTimes", "a=2*3^2", 18.0},
                                           ValueCase{"PowerGroupsFromLeft", "a=2^3^2", 64.0},
                                           ValueCase{"DivideGroupsFromLeft", "a=8/4/2", 1.0},
                                           ValueCase{"MinusGroupsFromLeft", "a=7-2-1", 4.0},
                                           ValueCase{"ComparisonLoosestOfAll", "a=3<2|1", 0.0},
                                           ValueCase{"AndLooserThanEquality", "a=2*3==6&1", 0.0},
                                           ValueCase{"SumBeforeEquality", "a=1+2==3", 1.0},
                                           ValueCase{"ComparisonsChainFromLeft", "a=1<2<3", 1.0},
                                           ValueCase{"GreaterChainFromLeft", "a=3>2>1", 0.0},
                                           ValueCase{"OrLooserThanAnd", "a=1|0&0", 1.0},
                                           ValueCase{"AndBeforeSum", "a=1&0+1", 1.0},
                                           ValueCase{"LevelsRiseAndFall", "a=1+2*3^2-4/2", 17.0},
                                           ValueCase{"GroupOverridesLevel", "a=(1+2)*3", 9.0}),
                         ValueName);

INSTANTIATE_TEST_SUITE_P(
    Operators, EvaluatedValues,
    ::testing::Values(ValueCase{"GreaterEqual", "a=2>=2", 1.0},
                      ValueCase{"LessEqual", "a=3<=2", 0.0}, ValueCase{"NotEqual", "a=1!=2", 1.0},
                      ValueCase{"Equal", "a=2==2.0", 1.0}, ValueCase{"OrOfZeros", "a=0|0", 0.0},
                      ValueCase{"AndOfNonZero", "a=2&(0-3)", 1.0},
                      ValueCase{"RemainderPositive", "a=7%3", 1.0},
                      ValueCase{"RemainderTakesSignOfLeft", "a=-7%3", -1.0},
                      ValueCase{"RemainderOfNegativeRight", "a=7%(-3)", 1.0},
                      ValueCase{"RemainderOfReals", "a=5.5%2", 1.5},
                      ValueCase{"RemainderByZeroIsNaN", "a=5%0", kNanValue},
                      ValueCase{"RemainderSameLevelAsTimes", "a=2*7%4", 2.0},
                      ValueCase{"IntegerDivision", "a=7\\2", 3.0},
                      ValueCase{"IntegerDivisionTowardZero", "a=0-7\\2", -3.0},
                      ValueCase{"IntegerDivisionOfReals", "a=7.5\\2.5", 3.0},
                      ValueCase{"IntegerDivisionByZero", "a=1\\0", INF},
                      ValueCase{"IntegerDivisionZeroByZero", "a=0\\0", kNanValue}),
    ValueName);

INSTANTIATE_TEST_SUITE_P(LogicalNot, EvaluatedValues,
                         ::testing::Values(ValueCase{"BindsToOneOperand", "a=!0+1", 2.0},
                                           ValueCase{"OfGroup", "a=!(0+1)", 0.0},
                                           ValueCase{"OfUnknownName", "a=!b", 1.0},
                                           ValueCase{"OfFunction", "a=!sin(0)", 1.0},
                                           ValueCase{"OfReal", "a=!0.5", 0.0},
                                           ValueCase{"UnderLeadingMinus", "a=-!0", -1.0}),
                         ValueName);

INSTANTIATE_TEST_SUITE_P(Functions, EvaluatedValues,
                         ::testing::Values(ValueCase{"ArcTangentGivesPi", "a=atg(1)*4",
                                                     std::numbers::pi},
                                           ValueCase{"ExponentGivesE", "a=ena(1)", std::numbers::e},
                                           ValueCase{"CosineOfZero", "a=cos(0)", 1.0},
                                           ValueCase{"DecimalLogarithm", "a=log(1000)", 3.0},
                                           ValueCase{"NaturalLogarithm", "a=ln(ena(2))", 2.0},
                                           ValueCase{"Absolute", "a=abs(0-4)", 4.0},
                                           ValueCase{"ArcCosine", "a=acos(-1)", std::numbers::pi},
                                           ValueCase{"ArcSine", "a=asin(1)", std::numbers::pi / 2},
                                           ValueCase{"Sine", "a=sin(1)", std::sin(1.0)},
                                           ValueCase{"Tangent", "a=tg(1)", std::tan(1.0)},
                                           ValueCase{"SquareRoot", "a=kor(16)", 4.0},
                                           ValueCase{"NestedCalls", "a=kor(abs(3^2-25))", 4.0},
                                           ValueCase{"SignedArgument", "a=abs(-2)", 2.0}),
                         ValueName);

INSTANTIATE_TEST_SUITE_P(IeeeResults, EvaluatedValues,
                         ::testing::Values(ValueCase{"DivisionByZero", "a=1/0", INF},
                                           ValueCase{"ZeroByZero", "a=0/0", kNanValue},
                                           ValueCase{"RootOfNegative", "a=kor(-1)", kNanValue},
                                           ValueCase{"LogarithmOfZero", "a=ln(0)", -INF},
                                           ValueCase{"DecimalLogarithmOfNegative", "a=log(-1)",
                                                     kNanValue},
                                           ValueCase{"ArcSineOutOfDomain", "a=asin(2)", kNanValue},
                                           ValueCase{"PowerOverflow", "a=10^400", INF}),
                         ValueName);

INSTANTIATE_TEST_SUITE_P(
    Constants, EvaluatedValues,
    ::testing::Values(ValueCase{"EmptyFraction", "a=1.", 1.0},
                      ValueCase{"EmptyExponent", "a=1e", 1.0},
                      ValueCase{"ExponentSignOnly", "a=1e+", 1.0},
                      ValueCase{"PointThenExponent", "a=1.e2", 100.0},
                      ValueCase{"NegativeExponent", "a=25E-1", 2.5},
                      ValueCase{"TwentyDigitInteger", "a=12345678901234567890",
                                12345678901234567890.0},
                      ValueCase{"LeadingZeros", "a=007", 7.0},
                      ValueCase{"FifteenDigitFraction", "a=0.123456789012345", 0.123456789012345},
                      ValueCase{"SixteenDigitFraction", "a=0.1234567890123456", 0.1234567890123456},
                      ValueCase{"BeyondRangeIsInfinity", "a=1e999", INF},
                      ValueCase{"BelowRangeIsZero", "a=1e-999", 0.0},
                      ValueCase{"Subnormal", "a=4.9e-324", 4.9e-324}),
    ValueName);

// Constants are read by a short path when they have few digits and by the general conversion
// otherwise; both must give the correctly rounded double, exactly, on either side of the
// digit limit and with the point anywhere.
TEST(Evaluator, ReadsDecimalConstantsCorrectlyRounded) {
    std::mt19937_64 random(20261208);
    ExpressionEngine engine;
    for (int round = 0; round < 20000 && !::testing::Test::HasFailure(); ++round) {
        const int digits = 1 + static_cast<int>(random() % 18);
        std::string text;
        for (int i = 0; i < digits; ++i)
            text += static_cast<char>('0' + random() % 10);
        const int point = static_cast<int>(random() % (digits + 2));
        if (point <= digits)
            text.insert(static_cast<std::size_t>(point == 0 ? 1 : point), 1, '.');
        if (text[0] == '.')
            text.insert(0, 1, '0');
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        double result = -1.0;
        ASSERT_EQ(engine.Calculate(("a=" + text).c_str(), &result, nullptr), 0) << text;
        EXPECT_EQ(result, expected) << text;
    }
}

TEST(Evaluator, ReadsBothOperandsOfAnd) {
    ExpressionEngine engine;
    std::string listing;
    double result = 0;
    ASSERT_EQ(engine.Calculate("a=0&b", &result, &listing), 0);
    EXPECT_EQ(listing, "a = 0.000000\r\nb = 0.000000\r\n");
}

struct PrecedenceCase {
    const char* name;
    int top; // -1: empty stack
    int incoming;
    bool reduce;
};

class PrecedenceRule : public ::testing::TestWithParam<PrecedenceCase> {};

TEST_P(PrecedenceRule, ReducesSameOrTighterLevel) {
    StackEntry entry{1.0, GetParam().top, nullptr};
    StackEntry* top = GetParam().top < 0 ? nullptr : &entry;
    EXPECT_EQ(ExpressionEngine::HasPrecedence(top, GetParam().incoming), GetParam().reduce);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, PrecedenceRule,
    ::testing::Values(PrecedenceCase{"EmptyStack", -1, PLUS, false},
                      PrecedenceCase{"EmptyStackAtEnd", -1, EOLN, false},
                      PrecedenceCase{"EndReducesAll", VECE_OD, EOLN, true},
                      PrecedenceCase{"SameLevel", PLUS, MINUS, true},
                      PrecedenceCase{"PowerSameLevel", STEPEN, STEPEN, true},
                      PrecedenceCase{"TighterOnTop", PUTA, PLUS, true},
                      PrecedenceCase{"LooserOnTop", PLUS, PUTA, false},
                      PrecedenceCase{"OrOverComparison", LOGICKO_ILI, JE_JEDNAKO, true},
                      PrecedenceCase{"ComparisonUnderOr", RAZLICITO, LOGICKO_ILI, false},
                      PrecedenceCase{"AndOverOr", LOGICKO_I, LOGICKO_ILI, true},
                      PrecedenceCase{"BackslashUnderPower", DESKROZ, STEPEN, false}),
    [](const ::testing::TestParamInfo<PrecedenceCase>& row) {
        return std::string(row.param.name);
    });

// The stack only ever grows by levels; it never holds more than one entry per level.
TEST(Evaluator, StackStaysWithinSixEntries) {
    StackEntry* stack = nullptr;
    const int rising[] = {VECE_OD, LOGICKO_ILI, LOGICKO_I, PLUS, PUTA, STEPEN};
    for (const int code : rising)
        ExpressionEngine::PushOperator(stack, 2.0, code);
    int depth = 0;
    for (const StackEntry* entry = stack; entry != nullptr; entry = entry->next)
        ++depth;
    EXPECT_EQ(depth, 6);
    ExpressionEngine::PushOperator(stack, 3.0, EOLN);
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->next, nullptr);
    EXPECT_EQ(stack->code, EOLN);
    // 2 > (2 | (2 & (2 + 2 * 2 ^ 3)))
    EXPECT_EQ(stack->value, 1.0);
    ExpressionEngine::FreeList(stack);
}

// Reached only through the check, the evaluator still refuses to recurse past the bound.
TEST(Evaluator, GuardsItsOwnNesting) {
    std::string line(kMaxNesting + 5, '(');
    line += "1";
    line.append(kMaxNesting + 5, ')');
    line += "+2";
    ReadList list(line.c_str());
    VariableNode* variables = nullptr;
    TokenNode* cursor = list.head;
    EXPECT_TRUE(std::isnan(ExpressionEngine::Evaluate(cursor, variables, false, 0)));
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(variables, nullptr);
}

TEST(Evaluator, NestedCallStopsOnClosingParenthesis) {
    ReadList list("1+2)*5");
    VariableNode* variables = nullptr;
    TokenNode* cursor = list.head;
    EXPECT_EQ(ExpressionEngine::Evaluate(cursor, variables, true, 1), 3.0);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->code, DESZAG);
}

} // namespace
