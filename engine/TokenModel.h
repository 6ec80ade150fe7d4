// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Token codes and the token list node shared by every stage of the engine.

// Longest token text a token can carry, and the scanning buffer that holds it with its NUL.
constexpr int kMaxTokenLength = 31;
constexpr int kTokenBufferSize = kMaxTokenLength + 1;
// Room of a token node's text field.
constexpr int kTokenTextSize = 35;

// ORDER TOKEN: the codes are numbered in this order; the name table (TokenModel.cpp), the
// function-name table (StatementCheck.cpp) and the precedence table (Evaluator.cpp) follow it.
enum TokenCode {
    GRESKA,
    VARIJABLA,
    INTKON,
    REAKON,
    LIJZAG,
    DESZAG,
    STRKON,
    TACZAR,
    DVOTAC,
    TACKA,
    ZAREZ,
    PLUS,
    MINUS,
    PUTA,
    KROZ,
    INTKROZ,
    DESKROZ,
    STEPEN,
    LOGICKO_I,
    LOGICKO_ILI,
    VECE_OD,
    VECE_JED,
    MANJE_OD,
    MANJE_JED,
    JE_JEDNAKO,
    RAZLICITO,
    LOGICKO_NE,
    JEDNAKO,
    PLUS_JED,
    MINUS_JED,
    PUTA_JED,
    KROZ_JED,
    STEPEN_JED,
    EOLN,
    LUGLZG,
    DUGLZG,
    ABS,
    ARCCOS,
    ARCSIN,
    ARCTG,
    COS,
    EXP,
    KORIJEN,
    LN_ZA_BAZU_e,
    LOG_ZA_BAZU_10,
    SINUS,
    TANGENS,
    NEDEF,
    TOKEN_CODE_COUNT
};

// One token of a line, linked both ways in input order.
struct TokenNode {
    signed char code;
    char text[kTokenTextSize];
    TokenNode* prev;
    TokenNode* next;
};
