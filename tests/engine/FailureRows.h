// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lines that fail, each as typed to the console, with the reason the stage that rejects it
// reports, the column it points at, counted in bytes from 1, and the console's words for it.
// The engine's tests check the reason and the place; the console's, its message.

#include "ExpressionEngine.h"

#include <string>
#include <vector>

struct FailureRow {
    const char* name;
    std::string line;
    int failure;
    std::size_t column;
    std::string reason;
};

inline const std::vector<FailureRow>& FailureRows() {
    const std::string unclosed = "missing ')' to close this '('";
    const std::string comparison = "a comparison cannot start a statement; assign it, as in t=a==b";
    const std::string deep =
        "a=" + std::string(kMaxNesting + 1, '(') + "1" + std::string(kMaxNesting + 1, ')');
    static const std::vector<FailureRow> rows = {
        // The lexer.
        {"StrayCharacter", "e=$", FR_STRAY_CHARACTER, 3, "'$' starts no token"},
        {"StrayAfterBlanks", "a =  ~", FR_STRAY_CHARACTER, 6, "'~' starts no token"},
        {"Underscores", "__=1", FR_UNDERSCORES, 1,
         "'__' is no name: a name needs a letter or a digit"},
        {"TokenTooLong", "a=" + std::string(kMaxTokenLength + 1, 'x'), FR_TOKEN_TOO_LONG, 3,
         "token longer than 31 characters"},
        // The statement check: the start of the statement.
        {"NoTarget", "5=a", FR_NO_TARGET, 1,
         "a statement must begin with the name of the variable it sets"},
        {"NoTargetAfterBlanks", "  =5", FR_NO_TARGET, 3,
         "a statement must begin with the name of the variable it sets"},
        {"NoAssignment", "a b=1", FR_NO_ASSIGNMENT, 3,
         "expected an assignment operator (= += -= *= /= ^=) before 'b'"},
        {"EqualsCompares", "a==b", FR_COMPARISON_START, 2, comparison},
        {"LessOrEqualCompares", "x<=3", FR_COMPARISON_START, 2, comparison},
        {"EmptyRightSide", "a=", FR_EMPTY_RIGHT_SIDE, 2, "nothing after '='"},
        {"EmptyCompoundRightSide", "a += ", FR_EMPTY_RIGHT_SIDE, 3, "nothing after '+='"},
        // Where a value belongs.
        {"SignAfterOperator", "b=2*-3", FR_SIGN_NEEDS_BRACKETS, 5,
         "a sign after an operator needs brackets, as in 2*(-3)"},
        {"SignAfterNot", "a=!-x", FR_SIGN_NEEDS_BRACKETS, 4,
         "a sign after an operator needs brackets, as in 2*(-3)"},
        {"OperatorWhereValueBelongs", "a=*2", FR_VALUE_EXPECTED, 3, "expected a value before '*'"},
        {"EndAfterOperator", "d=a+", FR_VALUE_EXPECTED, 5,
         "expected a value at the end of the line"},
        {"EndAfterOperatorAndBlanks", "d=a+  ", FR_VALUE_EXPECTED, 5,
         "expected a value at the end of the line"},
        {"EndAfterPlus", "a=+", FR_VALUE_EXPECTED, 4, "expected a value at the end of the line"},
        {"EmptyGroup", "a=()", FR_VALUE_EXPECTED, 4, "expected a value before ')'"},
        {"StringValue", "a=\"x\"", FR_STRING_VALUE, 3, "a string cannot be a value"},
        // Where an operator belongs.
        {"ValueWhereOperatorBelongs", "2 3", FR_OPERATOR_EXPECTED, 3,
         "expected an operator before '3'"},
        {"ConstantCalled", "a=2(3)", FR_OPERATOR_EXPECTED, 4, "expected an operator before '('"},
        {"UnexpectedClose", "a=1)", FR_UNEXPECTED_CLOSE, 4, "')' without a '(' to close"},
        {"TextAfterEnd", "a=1;", FR_TEXT_AFTER_END, 4, "';' after the end of the expression"},
        {"SecondAssignment", "a=b=x", FR_TEXT_AFTER_END, 4, "'=' after the end of the expression"},
        // Groups and functions.
        {"UnclosedArgument", "h=kor(2", FR_UNCLOSED, 6, unclosed},
        {"UnclosedOuterGroup", "a=((1)", FR_UNCLOSED, 3, unclosed},
        {"UnclosedEmptyGroup", "a=2*(", FR_UNCLOSED, 5, unclosed},
        {"FunctionWithoutBrackets", "a=sin x", FR_FUNCTION_NEEDS_BRACKETS, 3,
         "sin is a function; its argument goes in brackets, as in sin(x)"},
        {"FunctionInOtherCase", "c=Sin(1)", FR_NOT_A_FUNCTION, 3,
         "Sin is no function; did you mean sin?"},
        {"FunctionInOtherCaseAlone", "KOR(4)", FR_NOT_A_FUNCTION, 1,
         "KOR is no function; did you mean kor?"},
        {"NoSuchFunction", "a=foo(1)", FR_NOT_A_FUNCTION, 3,
         "foo is no function; the functions are abs, acos, asin, atg, cos, ena, kor, ln, log, sin "
         "and tg"},
        {"NestedTooDeep", deep, FR_TOO_DEEP, 3 + kMaxNesting,
         "brackets nested deeper than " + std::to_string(kMaxNesting)},
    };
    return rows;
}
