// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Token codes and the token list node shared by every stage of the engine.

// Longest token text a token can carry, and the scanning buffer that holds it with its NUL.
constexpr int kMaxTokenLength = 31;
constexpr int kTokenBufferSize = kMaxTokenLength + 1;
// Room of a token node's text field.
constexpr int kTokenTextSize = 35;

// ORDER TOKEN: the codes are numbered in this order. The name table (TokenNames.cpp), the
// function table (Functions.cpp) and the precedence table (Evaluator.cpp) follow it, and so do
// the ranges that the statement check (StatementCheck.cpp), the evaluator (Evaluator.cpp) and
// the console's completion (Completion.cpp) test: PLUS to RAZLICITO are the binary operators,
// JEDNAKO to STEPEN_JED the assignment operators, and the functions run from ABS up to NEDEF.
enum TokenCode {
    GRESKA,         // a character that starts no token, or a token too long
    VARIJABLA,      // identifier: x, rate_2
    INTKON,         // integer constant: 12
    REAKON,         // real constant: 1.5, 2e-3
    LIJZAG,         // (
    DESZAG,         // )
    STRKON,         // "text" (a string; the token keeps its opening quote only)
    TACZAR,         // ;
    DVOTAC,         // :
    TACKA,          // .
    ZAREZ,          // ,
    PLUS,           // +
    MINUS,          // -
    PUTA,           // *
    KROZ,           // /
    INTKROZ,        // %
    DESKROZ,        // \ (backslash)
    STEPEN,         // ^
    LOGICKO_I,      // &
    LOGICKO_ILI,    // |
    VECE_OD,        // >
    VECE_JED,       // >=
    MANJE_OD,       // <
    MANJE_JED,      // <=
    JE_JEDNAKO,     // ==
    RAZLICITO,      // !=
    LOGICKO_NE,     // !
    JEDNAKO,        // =
    PLUS_JED,       // +=
    MINUS_JED,      // -=
    PUTA_JED,       // *=
    KROZ_JED,       // /=
    STEPEN_JED,     // ^=
    EOLN,           // end of the line
    LUGLZG,         // [
    DUGLZG,         // ]
    ABS,            // abs
    ARCCOS,         // acos
    ARCSIN,         // asin
    ARCTG,          // atg
    COS,            // cos
    EXP,            // ena
    KORIJEN,        // kor
    LN_ZA_BAZU_e,   // ln
    LOG_ZA_BAZU_10, // log
    SINUS,          // sin
    TANGENS,        // tg
    NEDEF,          // no token yet: the line reader's starting value
    TOKEN_CODE_COUNT
};

// ORDER TOKEN: the function codes, each a row of the function table.
constexpr int kFirstFunction = ABS;
constexpr int kLastFunction = NEDEF - 1;

// One token of a line, linked both ways in input order. The last field, kept after those that
// every stage walks, points into the line where the lexer began to scan the token: just past
// the token before it, so that the token itself begins past the white space there. A stage
// that rejects the token says where it stands by it; noting where the scan began costs the
// reader one store. The line outlives the list, which lives for one line.
struct TokenNode {
    signed char code;
    char text[kTokenTextSize];
    TokenNode* prev;
    TokenNode* next;
    const char* scan;
};
