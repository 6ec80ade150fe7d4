// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureText.h"

#include <cerrno>
#include <cstring>

#include "EscapedText.h"

namespace {

// The token at offset as a phrase ends with it: "before '*'", or "at the end of the line".
std::string Before(const std::string& statement, std::size_t offset) {
    const std::string token = TokenAt(statement, offset);
    return token.empty() ? "at the end of the line" : "before '" + token + "'";
}

// The function whose name differs from name only in the case of its letters, or null.
const char* FunctionInOtherCase(const std::string& name) {
    for (int code = kFirstFunction; code <= kLastFunction; ++code) {
        const char* function = ExpressionEngine::FunctionName(code);
        if (strcasecmp(function, name.c_str()) == 0)
            return function;
    }
    return nullptr;
}

// "abs, acos, ... and tg", from the engine's table.
std::string FunctionList() {
    std::string list;
    for (int code = kFirstFunction; code <= kLastFunction; ++code) {
        if (code > kFirstFunction)
            list += code < kLastFunction ? ", " : " and ";
        list += ExpressionEngine::FunctionName(code);
    }
    return list;
}

std::string NotAFunction(const std::string& name) {
    if (const char* function = FunctionInOtherCase(name))
        return name + " is no function; did you mean " + function + "?";
    return name + " is no function; the functions are " + FunctionList();
}

// A character that starts no token, named; a carriage return, which mostly comes from a file
// whose lines end in CR alone, is named in words too.
std::string StrayCharacter(const std::string& statement, std::size_t offset) {
    const char character = statement[offset];
    const std::string name = "'" + EscapedText(std::string_view(&character, 1)) + "'";
    return name + (character == '\r' ? " (a carriage return)" : "") + " starts no token";
}

} // namespace

std::string TokenAt(const std::string& statement, std::size_t offset) {
    if (offset >= statement.size())
        return "";
    char text[kTokenBufferSize];
    int code = NEDEF;
    const char* position = statement.c_str() + offset;
    ExpressionEngine::NextToken(position, text, code);
    return EscapedText(text);
}

// ORDER FAILURE: a case for every reason.
std::string FailureText(const LineReport& report, const std::string& statement) {
    const std::size_t at = report.offset;
    switch (static_cast<FailureReason>(report.failure)) {
    case FR_STRAY_CHARACTER:
        return StrayCharacter(statement, at);
    case FR_UNDERSCORES:
        return "'" + TokenAt(statement, at) + "' is no name: a name needs a letter or a digit";
    case FR_TOKEN_TOO_LONG:
        return "token longer than " + std::to_string(kMaxTokenLength) + " characters";
    case FR_COMMAND_WORD:
        return "the command word " + TokenAt(statement, at) + " cannot start a statement";
    case FR_NO_TARGET:
        return "a statement must begin with the name of the variable it sets";
    case FR_NO_ASSIGNMENT:
        return "expected an assignment operator (= += -= *= /= ^=) " + Before(statement, at);
    case FR_COMPARISON_START:
        return "a comparison cannot start a statement; assign it, as in t=a==b";
    case FR_EMPTY_RIGHT_SIDE:
        return "nothing after '" + TokenAt(statement, at) + "'";
    case FR_VALUE_EXPECTED:
        return "expected a value " + Before(statement, at);
    case FR_SIGN_NEEDS_BRACKETS:
        return "a sign after an operator needs brackets, as in 2*(-3)";
    case FR_OPERATOR_EXPECTED:
        return "expected an operator " + Before(statement, at);
    case FR_STRING_VALUE:
        return "a string cannot be a value";
    case FR_UNCLOSED:
        return "missing ')' to close this '('";
    case FR_UNEXPECTED_CLOSE:
        return "')' without a '(' to close";
    case FR_TEXT_AFTER_END:
        return "'" + TokenAt(statement, at) + "' after the end of the expression";
    case FR_FUNCTION_NEEDS_BRACKETS:
        return TokenAt(statement, at) + " is a function; its argument goes in brackets, as in " +
               TokenAt(statement, at) + "(x)";
    case FR_NOT_A_FUNCTION:
        return NotAFunction(TokenAt(statement, at));
    case FR_TOO_DEEP:
        return "brackets nested deeper than " + std::to_string(kMaxNesting);
    case FR_NOT_SET:
        return TokenAt(statement, at) + " is not set";
    case FR_OUT_OF_MEMORY:
        return std::strerror(ENOMEM);
    case FR_NONE:
    case FAILURE_REASON_COUNT:
        break;
    }
    return "no statement ran";
}
