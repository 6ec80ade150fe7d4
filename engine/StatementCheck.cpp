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
// stands; it removes a leading "+", so the evaluator sees only "-" there.

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

// ORDER TOKEN: the assignment operators are the codes from JEDNAKO to STEPEN_JED.
bool IsAssignmentOperator(int code) {
    return code >= JEDNAKO && code <= STEPEN_JED;
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

// operand: [ "!" ] primary, where a primary is expected. A "(" opens a group checked at once;
// after "!" an identifier or constant is taken, and a "(" is left for the next step (a group,
// or a function call when the identifier before it names a function).
bool CheckOperand(TokenNode*& cursor, int depth, bool& afterOperand, NodePool* pool) {
    const int code = cursor->code;
    if (IsIdentifierOrConstant(code)) {
        afterOperand = true;
        return true;
    }
    if (code == LIJZAG) {
        cursor = cursor->next;
        afterOperand = true;
        return ExpressionEngine::CheckExpression(cursor, true, depth + 1, pool);
    }
    if (code != LOGICKO_NE || cursor->next == nullptr)
        return false;
    if (IsIdentifierOrConstant(cursor->next->code)) {
        cursor = cursor->next;
        afterOperand = true;
        return true;
    }
    return cursor->next->code == LIJZAG;
}

// After an operand: a binary operator, or the "(" of function "(" expression ")", which binds
// the identifier before it to its function code.
bool CheckAfterOperand(TokenNode*& cursor, int depth, bool& afterOperand, NodePool* pool) {
    if (IsBinaryOperator(cursor->code)) {
        afterOperand = false;
        return true;
    }
    int function = 0;
    if (cursor->code != LIJZAG || !ExpressionEngine::LookupFunction(cursor->prev->text, function))
        return false;
    cursor->prev->code = static_cast<signed char>(function);
    cursor = cursor->next;
    return ExpressionEngine::CheckExpression(cursor, true, depth + 1, pool);
}

} // namespace

// expression: [ "-" | "+" ] operand { binary-operator operand }
bool ExpressionEngine::CheckExpression(TokenNode*& cursor, bool nested, int depth, NodePool* pool) {
    if (cursor == nullptr || depth > kMaxNesting)
        return false;
    if (cursor->code == MINUS) {
        cursor = cursor->next;
    } else if (cursor->code == PLUS) {
        if (cursor->prev == nullptr)
            return false;
        RemoveLeadingPlus(cursor, pool);
    }
    bool verdict = true;
    bool afterOperand = false;
    while (cursor != nullptr && verdict && !(nested && cursor->code == DESZAG)) {
        if (afterOperand)
            verdict = CheckAfterOperand(cursor, depth, afterOperand, pool);
        else
            verdict = CheckOperand(cursor, depth, afterOperand, pool);
        if (cursor != nullptr)
            cursor = cursor->next;
    }
    const bool ended = nested ? cursor != nullptr && cursor->code == DESZAG : cursor == nullptr;
    return verdict && ended && afterOperand;
}

// statement: identifier assignment-operator expression
bool ExpressionEngine::CheckStatement(TokenNode* first, NodePool* pool) {
    if (first == nullptr || first->code != VARIJABLA)
        return false;
    TokenNode* second = first->next;
    if (second == nullptr || !IsAssignmentOperator(second->code))
        return false;
    TokenNode* cursor = second->next;
    return CheckExpression(cursor, false, 0, pool);
}
