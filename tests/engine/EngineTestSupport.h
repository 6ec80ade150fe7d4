// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the engine tests: token lists as plain values, value comparison with
// IEEE special cases, and capture of standard output.

#include "ExpressionEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

struct Token {
    int code;
    std::string text;
    bool operator==(const Token&) const = default;
};

inline void PrintTo(const Token& token, std::ostream* out) {
    const char* name = ExpressionEngine::TokenName(token.code);
    *out << (name != nullptr ? name : "?") << " \"" << token.text << "\"";
}

// Every token that successive NextToken calls give, up to and including the first EOLN or
// GRESKA.
inline std::vector<Token> ScanAll(const char* line) {
    std::vector<Token> tokens;
    const char* position = line;
    char text[kTokenBufferSize];
    int code = NEDEF;
    while (code != EOLN && code != GRESKA) {
        ExpressionEngine::NextToken(position, text, code);
        tokens.push_back({code, text});
    }
    return tokens;
}

// The codes and texts of a list, checking its prev links on the way.
inline std::vector<Token> ListTokens(const TokenNode* head) {
    std::vector<Token> tokens;
    const TokenNode* previous = nullptr;
    for (const TokenNode* node = head; node != nullptr; node = node->next) {
        EXPECT_EQ(node->prev, previous) << "prev link broken at " << node->text;
        tokens.push_back({node->code, node->text});
        previous = node;
    }
    return tokens;
}

// Owns a token list read from a line, so a failing assertion does not leak it.
struct ReadList {
    TokenNode* head = nullptr;
    int status = RS_STATEMENT;
    explicit ReadList(const char* line) { head = ExpressionEngine::ReadLine(line, status); }
    ~ReadList() { ExpressionEngine::FreeList(head); }
    ReadList(const ReadList&) = delete;
    ReadList& operator=(const ReadList&) = delete;
};

// Equal values, where NaN equals NaN, the sign of zero counts, and finite values may differ
// in the last bits of the mathematical library.
inline bool SameValue(double expected, double actual) {
    if (std::isnan(expected) || std::isnan(actual))
        return std::isnan(expected) && std::isnan(actual);
    if (expected == 0.0 || std::isinf(expected))
        return expected == actual && std::signbit(expected) == std::signbit(actual);
    return std::fabs(expected - actual) <= 4 * std::fabs(expected) * 2.220446049250313e-16;
}

// Captures what the code under test writes to standard output, restored by the fixture.
// GoogleTest reports failures on standard output too, so whatever was captured while a
// test was failing is echoed to standard error.
class StdoutCapture : public ::testing::Test {
protected:
    void SetUp() override {
        std::fflush(stdout);
        ::testing::internal::CaptureStdout();
        capturing_ = true;
    }
    void TearDown() override {
        if (capturing_)
            Captured();
    }
    std::string Captured() {
        std::fflush(stdout);
        capturing_ = false;
        std::string output = ::testing::internal::GetCapturedStdout();
        if (HasFailure())
            std::fprintf(stderr, "captured output:\n%s\n", output.c_str());
        return output;
    }

private:
    bool capturing_ = false;
};
