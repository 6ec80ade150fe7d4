// SPDX-License-Identifier: GPL-3.0-or-later
// The statement check: validates a token list, binds function names and drops a leading "+".
//
// The grammar of a statement, in the words that the check and the evaluator both use:
//
//   statement:  identifier assignment-operator expression
//   expression: [ "-" | "+" ] operand { binary-operator operand }
//   operand:    [ "!" ] primary
//   primary:    identifier | constant | "(" expression ")" | function "(" expression ")"
//   function:   an identifier that names a row of the function table, directly before "("
//
// The check walks the operands and operators of an expression in turn rather than by
// recursive descent, so each step below recognises the part of a rule that fits where it
// stands; it removes a leading "+", so the evaluator sees only "-" there. The step that finds a
// token which does not fit names the reason (FailureReason) and leaves the cursor on that
// token, or on the token the reason concerns; a step that fits writes neither.

#include "ExpressionEngine.h"
#include "NodeAllocation.h"

namespace {

bool IsIdentifierOrConstant(int code) {
    return code == VARIJABLA || code == INTKON || code == REAKON;
}

// ORDER TOKEN: the binary operators are the codes from PLUS to RAZLICITO.
bool IsBinaryOperator(int code) {
    return code >= PLUS && code <= RAZLICITO;
}

// ORDER TOKEN: the comparisons are the codes from VECE_OD to RAZLICITO.
bool IsComparison(int code) {
    return code >= VECE_OD && code <= RAZLICITO;
}

// ORDER TOKEN: the assignment operators are the codes from JEDNAKO to STEPEN_JED.
bool IsAssignmentOperator(int code) {
    return code >= JEDNAKO && code <= STEPEN_JED;
}

// Why the token (null: the end of the line) cannot stand where a value belongs.
int ValueFailure(const TokenNode* token) {
    if (token != nullptr && (token->code == PLUS || token->code == MINUS))
        return FR_SIGN_NEEDS_BRACKETS;
    if (token != nullptr && token->code == STRKON)
        return FR_STRING_VALUE;
    return FR_VALUE_EXPECTED;
}

// Why the token under the cursor, neither a binary operator nor "(", cannot follow an operand.
// A value after a function's name is a call without its brackets, and the cursor moves back
// to the name.
int OperatorFailure(TokenNode*& cursor) {
    const int code = cursor->code;
    if (code == STRKON)
        return FR_STRING_VALUE;
    if (code == DESZAG)
        return FR_UNEXPECTED_CLOSE;
    if (!IsIdentifierOrConstant(code) && code != LOGICKO_NE)
        return FR_TEXT_AFTER_END;
    int function = 0;
    TokenNode* before = cursor->prev;
    if (before->code != VARIJABLA || !ExpressionEngine::LookupFunction(before->text, function))
        return FR_OPERATOR_EXPECTED;
    cursor = before;
    return FR_FUNCTION_NEEDS_BRACKETS;
}

} // namespace

// Takes the "+" under the cursor out of the list; the cursor moves to its successor.
void ExpressionEngine::RemoveLeadingPlus(TokenNode*& cursor, NodePool* pool) {
    TokenNode* plus = cursor;
    cursor = plus->next;
    plus->prev->next = cursor;
    if (cursor != nullptr)
        cursor->prev = plus->prev;
    ReleaseNode(plus, pool);
}

namespace {

// "(" expression ")", the cursor on the "(", checked at once and left on the ")". A failure of
// the group as a whole, a "(" never closed or nested too deep, comes back from the expression
// with a null cursor and concerns this "(".
bool CheckGroup(TokenNode*& cursor, int depth, NodePool* pool, int& failure) {
    TokenNode* open = cursor;
    cursor = cursor->next;
    if (ExpressionEngine::CheckExpression(cursor, true, depth + 1, pool, failure))
        return true;
    if (cursor == nullptr && (failure == FR_UNCLOSED || failure == FR_TOO_DEEP))
        cursor = open;
    return false;
}

// operand: [ "!" ] primary, where a primary is expected. A "(" opens a group checked at once;
// after "!" an identifier or constant is taken, and a "(" is left for the next step (a group,
// or a function call when the identifier before it names a function). A "!" that no operand
// follows fails at the token after it.
bool CheckOperand(TokenNode*& cursor, int depth, bool& afterOperand, NodePool* pool, int& failure) {
    const int code = cursor->code;
    if (IsIdentifierOrConstant(code)) {
        afterOperand = true;
        return true;
    }
    if (code == LIJZAG) {
        afterOperand = true;
        return CheckGroup(cursor, depth, pool, failure);
    }
    if (code == LOGICKO_NE && cursor->next != nullptr) {
        if (IsIdentifierOrConstant(cursor->next->code)) {
            cursor = cursor->next;
            afterOperand = true;
            return true;
        }
        if (cursor->next->code == LIJZAG)
            return true;
    }
    if (code == LOGICKO_NE)
        cursor = cursor->next;
    failure = ValueFailure(cursor);
    return false;
}

// function "(" expression ")", the cursor on a "(" after an operand, which must be a function's
// name: binds it to its function code and checks the argument as a group.
bool CheckCall(TokenNode*& cursor, int depth, NodePool* pool, int& failure) {
    TokenNode* name = cursor->prev;
    int function = 0;
    if (ExpressionEngine::LookupFunction(name->text, function)) {
        name->code = static_cast<signed char>(function);
        return CheckGroup(cursor, depth, pool, failure);
    }
    if (name->code == VARIJABLA) {
        cursor = name;
        failure = FR_NOT_A_FUNCTION;
    } else {
        failure = FR_OPERATOR_EXPECTED;
    }
    return false;
}

// After an operand: a binary operator, or the "(" of function "(" expression ")".
bool CheckAfterOperand(TokenNode*& cursor, int depth, bool& afterOperand, NodePool* pool,
                       int& failure) {
    if (IsBinaryOperator(cursor->code)) {
        afterOperand = false;
        return true;
    }
    if (cursor->code == LIJZAG)
        return CheckCall(cursor, depth, pool, failure);
    failure = OperatorFailure(cursor);
    return false;
}

} // namespace

// expression: [ "-" | "+" ] operand { binary-operator operand }
// Nested, the expression ends at its ")"; at the end of the list it was never closed.
bool ExpressionEngine::CheckExpression(TokenNode*& cursor, bool nested, int depth, NodePool* pool,
                                       int& failure) {
    if (depth > kMaxNesting) {
        cursor = nullptr;
        failure = FR_TOO_DEEP;
        return false;
    }
    if (cursor == nullptr) {
        failure = nested ? FR_UNCLOSED : FR_VALUE_EXPECTED;
        return false;
    }
    if (cursor->code == MINUS) {
        cursor = cursor->next;
    } else if (cursor->code == PLUS) {
        if (cursor->prev == nullptr) {
            failure = FR_VALUE_EXPECTED;
            return false;
        }
        RemoveLeadingPlus(cursor, pool);
    }
    bool afterOperand = false;
    while (cursor != nullptr && !(nested && cursor->code == DESZAG)) {
        const bool fits = afterOperand
                              ? CheckAfterOperand(cursor, depth, afterOperand, pool, failure)
                              : CheckOperand(cursor, depth, afterOperand, pool, failure);
        if (!fits)
            return false;
        if (cursor != nullptr)
            cursor = cursor->next;
    }
    if (nested && cursor == nullptr)
        failure = FR_UNCLOSED;
    else if (!afterOperand)
        failure = FR_VALUE_EXPECTED;
    else
        return true;
    return false;
}

// statement: identifier assignment-operator expression
bool ExpressionEngine::CheckStatement(TokenNode* first, NodePool* pool, int& failure,
                                      TokenNode*& at) {
    at = first;
    if (first == nullptr || first->code != VARIJABLA) {
        failure = FR_NO_TARGET;
        return false;
    }
    TokenNode* second = first->next;
    at = second;
    if (second == nullptr || !IsAssignmentOperator(second->code)) {
        const bool comparison = second != nullptr && IsComparison(second->code);
        failure = comparison ? FR_COMPARISON_START : FR_NO_ASSIGNMENT;
        return false;
    }
    at = second->next;
    if (at == nullptr) {
        at = second;
        failure = FR_EMPTY_RIGHT_SIDE;
        return false;
    }
    return CheckExpression(at, false, 0, pool, failure);
}

bool ExpressionEngine::CheckStatement(TokenNode* first, NodePool* pool) {
    int failure = FR_NONE;
    TokenNode* at = nullptr;
    return CheckStatement(first, pool, failure, at);
}
