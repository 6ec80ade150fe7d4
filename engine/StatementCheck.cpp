// SPDX-License-Identifier: GPL-3.0-or-later
// The statement check: validates a token list, binds function names and drops a leading "+".

#include "ExpressionEngine.h"

#include <cstring>

namespace {

constexpr int FUNCTION_COUNT = TANGENS - ABS + 1;

// ORDER TOKEN: position plus ABS is the function's code; ascending byte order is required.
const char* const FUNCTION_NAMES[FUNCTION_COUNT] = {
    "abs", "acos", "asin", "atg", "cos", "ena", "kor", "ln", "log", "sin", "tg",
};

bool IsOperand(int code) {
    return code == VARIJABLA || code == INTKON || code == REAKON;
}

bool IsBinaryOperator(int code) {
    return code >= PLUS && code <= RAZLICITO;
}

bool IsAssignmentOperator(int code) {
    return code >= JEDNAKO && code <= STEPEN_JED;
}

// The byte order of strcmp, deciding on the first byte without the call where it differs.
int CompareFunctionName(const char* entry, const char* text) {
    const int leading = static_cast<unsigned char>(entry[0]) - static_cast<unsigned char>(text[0]);
    return leading != 0 ? leading : std::strcmp(entry, text);
}

} // namespace

bool ExpressionEngine::LookupFunction(const char* text, int& code) {
    int position = 0;
    int order = CompareFunctionName(FUNCTION_NAMES[position], text);
    while (order < 0 && ++position < FUNCTION_COUNT)
        order = CompareFunctionName(FUNCTION_NAMES[position], text);
    code = ABS + position;
    return order == 0;
}

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

// One step while an operand is expected: an operand, a group, or "!" before either.
bool CheckOperandPosition(TokenNode*& cursor, int depth, bool& afterOperand, NodePool* pool) {
    const int code = cursor->code;
    if (IsOperand(code)) {
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
    if (IsOperand(cursor->next->code)) {
        cursor = cursor->next;
        afterOperand = true;
        return true;
    }
    return cursor->next->code == LIJZAG;
}

// One step after an operand: a binary operator, or "(" that makes the operand a function call.
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

// expression: [ "-" | "+" ] term { binary-operator term }
// term: [ "!" ] ( identifier | constant | "(" expression ")" | function "(" expression ")" )
bool ExpressionEngine::CheckExpression(TokenNode*& cursor, bool nested, int depth, NodePool* pool) {
    if (cursor == nullptr || depth > MAX_NESTING)
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
            verdict = CheckOperandPosition(cursor, depth, afterOperand, pool);
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
