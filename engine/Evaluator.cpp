// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluator: computes a checked right side by precedence on a stack of pending operands.
// It follows the grammar written out in StatementCheck.cpp, in the same words.

#include "ExpressionEngine.h"
#include "NodeAllocation.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

// ORDER TOKEN: levels of the binary operators, from PLUS to RAZLICITO.
constexpr signed char kOperatorLevels[] = {
    3, 3,             // + -
    4, 4, 4, 4,       // * / % backslash
    5,                // ^
    2, 1,             // & |
    0, 0, 0, 0, 0, 0, // > >= < <= == !=
};
static_assert(std::size(kOperatorLevels) == RAZLICITO - PLUS + 1,
              "one level for every binary operator");

// The level of a binary operator; anything else ranks below every operator.
// ORDER TOKEN: the binary operators are the codes from PLUS to RAZLICITO.
int OperatorLevel(int code) {
    if (code < PLUS || code > RAZLICITO)
        return -1;
    return kOperatorLevels[code - PLUS];
}

double Truth(bool condition) {
    return condition ? 1.0 : 0.0;
}

} // namespace

// ORDER TOKEN: every code has its case, so that a new one cannot be left out. A compound
// assignment combines as the operator it is named after, "=" gives the right side, and a code
// that is neither an operator nor an assignment gives NaN.
double ExpressionEngine::ApplyOperator(int code, double left, double right) {
    switch (static_cast<TokenCode>(code)) {
    case PLUS:
    case PLUS_JED:
        return left + right;
    case MINUS:
    case MINUS_JED:
        return left - right;
    case PUTA:
    case PUTA_JED:
        return left * right;
    case KROZ:
    case KROZ_JED:
        return left / right;
    case INTKROZ:
        return std::fmod(left, right);
    case DESKROZ:
        return std::trunc(left / right);
    case STEPEN:
    case STEPEN_JED:
        return std::pow(left, right);
    case LOGICKO_I:
        return Truth(left != 0.0 && right != 0.0);
    case LOGICKO_ILI:
        return Truth(left != 0.0 || right != 0.0);
    case VECE_OD:
        return Truth(left > right);
    case VECE_JED:
        return Truth(left >= right);
    case MANJE_OD:
        return Truth(left < right);
    case MANJE_JED:
        return Truth(left <= right);
    case JE_JEDNAKO:
        return Truth(left == right);
    case RAZLICITO:
        return Truth(left != right);
    case JEDNAKO:
        return right;
    case GRESKA:
    case VARIJABLA:
    case INTKON:
    case REAKON:
    case LIJZAG:
    case DESZAG:
    case STRKON:
    case TACZAR:
    case DVOTAC:
    case TACKA:
    case ZAREZ:
    case LOGICKO_NE:
    case EOLN:
    case LUGLZG:
    case DUGLZG:
    case ABS:
    case ARCCOS:
    case ARCSIN:
    case ARCTG:
    case COS:
    case EXP:
    case KORIJEN:
    case LN_ZA_BAZU_e:
    case LOG_ZA_BAZU_10:
    case SINUS:
    case TANGENS:
    case NEDEF:
    case TOKEN_CODE_COUNT:
        return kNotANumber;
    }
    return kNotANumber;
}

namespace {

// Most significant digits whose integer a double holds exactly.
constexpr int kExactDigits = 15;
constexpr double kPowersOfTen[kExactDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A plain decimal of at most kExactDigits digits and no exponent is an exact integer over an
// exact power of ten, so one division gives the correctly rounded value, as from_chars would.
// False for any other text.
bool ReadShortDecimal(const char* text, double& value) {
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fraction = -1;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '.' && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (*c < '0' || *c > '9' || ++digits > kExactDigits)
            return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*c - '0');
        fraction += fraction >= 0 ? 1 : 0;
    }
    value = static_cast<double>(mantissa);
    if (fraction > 0)
        value /= kPowersOfTen[fraction];
    return true;
}

// Reads the longest leading decimal number of a constant's text, whatever the process
// locale. Beyond the range of a double it gives an infinity, below it zero.
double ReadNumber(const char* text) {
    double value = 0.0;
    if (ReadShortDecimal(text, value))
        return value;
    const auto read = std::from_chars(text, text + std::strlen(text), value);
    if (read.ec != std::errc::result_out_of_range)
        return value;
    const bool smallExponent =
        std::strpbrk(text, "eE") != nullptr && std::strchr(text, '-') != nullptr;
    return smallExponent ? 0.0 : std::numeric_limits<double>::infinity();
}

bool AtExpressionEnd(const TokenNode* cursor, bool nested) {
    return cursor == nullptr || (nested && cursor->code == DESZAG);
}

// Moves the cursor onto the ")" that closes the group it stands in, or to the end.
void SkipGroup(TokenNode*& cursor) {
    int open = 0;
    while (cursor != nullptr && !(cursor->code == DESZAG && open == 0)) {
        if (cursor->code == LIJZAG)
            ++open;
        else if (cursor->code == DESZAG)
            --open;
        cursor = cursor->next;
    }
}

// The operator after the operand that ends at the cursor: EOLN at the end of the expression,
// the cursor then on the ")" or null; otherwise the operator, the cursor after it.
int NextOperator(TokenNode*& cursor) {
    TokenNode* after = cursor != nullptr ? cursor->next : nullptr;
    if (after == nullptr || after->code == DESZAG) {
        cursor = after;
        return EOLN;
    }
    cursor = after->next;
    return after->code;
}

// primary: identifier | constant | "(" expression ")" | function "(" expression ")"
double EvaluatePrimary(TokenNode*& cursor, VariableNode*& variables, int depth, NodePool* pool) {
    const int code = cursor->code;
    if (code == VARIJABLA)
        return ExpressionEngine::GetVariable(cursor->text, variables, pool);
    if (code == INTKON || code == REAKON)
        return ReadNumber(cursor->text);
    if (code == LIJZAG) {
        cursor = cursor->next;
        return ExpressionEngine::Evaluate(cursor, variables, true, depth + 1, pool);
    }
    // ORDER TOKEN: the function codes run from kFirstFunction to kLastFunction.
    if (code < kFirstFunction || code > kLastFunction || cursor->next == nullptr)
        return kNotANumber;
    cursor = cursor->next->next;
    return ExpressionEngine::ApplyFunction(
        code, ExpressionEngine::Evaluate(cursor, variables, true, depth + 1, pool));
}

// operand: [ "!" ] primary
double EvaluateOperand(TokenNode*& cursor, VariableNode*& variables, int depth, NodePool* pool) {
    if (cursor->code != LOGICKO_NE)
        return EvaluatePrimary(cursor, variables, depth, pool);
    cursor = cursor->next;
    if (cursor == nullptr)
        return kNotANumber;
    return Truth(EvaluatePrimary(cursor, variables, depth, pool) == 0.0);
}

} // namespace

bool ExpressionEngine::HasPrecedence(StackEntry* top, int code) {
    if (top == nullptr)
        return false;
    if (code == EOLN)
        return true;
    return OperatorLevel(top->code) >= OperatorLevel(code);
}

void ExpressionEngine::PopEntry(StackEntry*& stack, NodePool* pool) {
    StackEntry* entry = stack;
    stack = entry->next;
    ReleaseNode(entry, pool);
}

// Reduces every pending operand that binds at least as tightly, then pushes value with code.
void ExpressionEngine::PushOperator(StackEntry*& stack, double value, int code, NodePool* pool) {
    while (HasPrecedence(stack, code)) {
        value = ApplyOperator(stack->code, stack->value, value);
        PopEntry(stack, pool);
    }
    StackEntry* entry = NewNode<StackEntry>(pool);
    entry->value = value;
    entry->code = code;
    entry->next = stack;
    stack = entry;
}

// expression: [ "-" ] operand { binary-operator operand }
// The check has removed a leading "+". A leading "-" negates the whole expression once its
// operators are applied. Lists reach here only after the check, which bounds the nesting; deeper
// groups still give NaN.
double ExpressionEngine::Evaluate(TokenNode*& cursor, VariableNode*& variables, bool nested,
                                  int depth, NodePool* pool) {
    if (depth > kMaxNesting) {
        SkipGroup(cursor);
        return kNotANumber;
    }
    const bool negate = cursor != nullptr && cursor->code == MINUS;
    if (negate)
        cursor = cursor->next;
    StackEntry* stack = nullptr;
    try {
        while (!AtExpressionEnd(cursor, nested)) {
            const double value = EvaluateOperand(cursor, variables, depth, pool);
            PushOperator(stack, value, NextOperator(cursor), pool);
        }
    } catch (...) {
        FreeList(stack, pool);
        throw;
    }
    const double result = stack != nullptr ? stack->value : kNotANumber;
    FreeList(stack, pool);
    return negate ? -result : result;
}
