// SPDX-License-Identifier: GPL-3.0-or-later
// The functions a line may call: one table of name, code and computation, read by the name
// lookup of the statement check, by FunctionName and by the evaluator's ApplyFunction.

#include "ExpressionEngine.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

struct FunctionEntry {
    const char* name;
    int code;
    double (*apply)(double);
};

// ORDER TOKEN: one row a function code, in the order of the codes, and so in ascending byte
// order of name, which the lookup's early stop relies on. Both are checked below.
constexpr FunctionEntry kFunctions[] = {
    {"abs", ABS, [](double x) { return std::fabs(x); }},
    {"acos", ARCCOS, [](double x) { return std::acos(x); }},
    {"asin", ARCSIN, [](double x) { return std::asin(x); }},
    {"atg", ARCTG, [](double x) { return std::atan(x); }},
    {"cos", COS, [](double x) { return std::cos(x); }},
    {"ena", EXP, [](double x) { return std::exp(x); }},
    {"kor", KORIJEN, [](double x) { return std::sqrt(x); }},
    {"ln", LN_ZA_BAZU_e, [](double x) { return std::log(x); }},
    {"log", LOG_ZA_BAZU_10, [](double x) { return std::log10(x); }},
    {"sin", SINUS, [](double x) { return std::sin(x); }},
    {"tg", TANGENS, [](double x) { return std::tan(x); }},
};
constexpr int kFunctionCount = static_cast<int>(std::size(kFunctions));

// The byte order of strcmp, usable where the compiler checks the table.
constexpr int CompareNames(const char* left, const char* right) {
    while (*left != '\0' && *left == *right) {
        ++left;
        ++right;
    }
    return static_cast<unsigned char>(*left) - static_cast<unsigned char>(*right);
}

constexpr bool RowsFollowTheCodes() {
    for (int row = 0; row < kFunctionCount; ++row)
        if (kFunctions[row].code != kFirstFunction + row)
            return false;
    return kFunctionCount == kLastFunction - kFirstFunction + 1;
}

constexpr bool NamesAscend() {
    for (int row = 1; row < kFunctionCount; ++row)
        if (CompareNames(kFunctions[row - 1].name, kFunctions[row].name) >= 0)
            return false;
    return true;
}

static_assert(RowsFollowTheCodes(), "one row for every function code, in the order of the codes");
static_assert(NamesAscend(), "function names in ascending byte order");

// The byte order of strcmp, deciding on the first byte without the call where it differs.
int CompareFunctionName(const char* entry, const char* text) {
    const int leading = static_cast<unsigned char>(entry[0]) - static_cast<unsigned char>(text[0]);
    return leading != 0 ? leading : std::strcmp(entry, text);
}

bool IsFunctionCode(int code) {
    return code >= kFirstFunction && code <= kLastFunction;
}

} // namespace

bool ExpressionEngine::LookupFunction(const char* text, int& code) {
    int row = 0;
    int order = CompareFunctionName(kFunctions[row].name, text);
    while (order < 0 && ++row < kFunctionCount)
        order = CompareFunctionName(kFunctions[row].name, text);
    code = kFirstFunction + row;
    return order == 0;
}

const char* ExpressionEngine::FunctionName(int code) {
    return IsFunctionCode(code) ? kFunctions[code - kFirstFunction].name : nullptr;
}

double ExpressionEngine::ApplyFunction(int code, double x) {
    if (!IsFunctionCode(code))
        return std::numeric_limits<double>::quiet_NaN();
    return kFunctions[code - kFirstFunction].apply(x);
}
