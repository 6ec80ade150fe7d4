// SPDX-License-Identifier: GPL-3.0-or-later
// The lexer: scans one token of a line per call and keeps no state between calls.

#include "ExpressionEngine.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Adds one character to the token text. Past the buffer's capacity it only counts, so that
// the caller learns the token was too long while nothing is written out of bounds.
void PutChar(char (&text)[kTokenBufferSize], std::size_t& length, char c) {
    if (length < kMaxTokenLength)
        text[length] = c;
    ++length;
}

// Table A: characters that form a token alone; -1 for any other.
int SingleCharacterCode(char c) {
    switch (c) {
    case '(':
        return LIJZAG;
    case ')':
        return DESZAG;
    case ';':
        return TACZAR;
    case ':':
        return DVOTAC;
    case '.':
        return TACKA;
    case ',':
        return ZAREZ;
    case '%':
        return INTKROZ;
    case '\\':
        return DESKROZ;
    case '&':
        return LOGICKO_I;
    case '|':
        return LOGICKO_ILI;
    case '[':
        return LUGLZG;
    case ']':
        return DUGLZG;
    default:
        return -1;
    }
}

struct OperatorPair {
    char character;
    int alone;
    int withEquals;
};

// Table B: characters that combine with an "=" that follows directly.
constexpr OperatorPair kOperatorPairs[] = {
    {'+', PLUS, PLUS_JED},      {'-', MINUS, MINUS_JED},    {'*', PUTA, PUTA_JED},
    {'/', KROZ, KROZ_JED},      {'^', STEPEN, STEPEN_JED},  {'>', VECE_OD, VECE_JED},
    {'<', MANJE_OD, MANJE_JED}, {'=', JEDNAKO, JE_JEDNAKO}, {'!', LOGICKO_NE, RAZLICITO},
};

constexpr int kPairCount = sizeof kOperatorPairs / sizeof kOperatorPairs[0];
constexpr int kAsciiSize = 128;

// For every ASCII character, its position in kOperatorPairs, or -1; built from the table, so
// finding a pair costs one look-up instead of a search.
constexpr std::array<signed char, kAsciiSize> MakePairPositions() {
    std::array<signed char, kAsciiSize> positions{};
    positions.fill(-1);
    for (int pair = 0; pair < kPairCount; ++pair)
        positions[static_cast<unsigned char>(kOperatorPairs[pair].character)] =
            static_cast<signed char>(pair);
    return positions;
}

constexpr std::array<signed char, kAsciiSize> kPairPositions = MakePairPositions();

const OperatorPair* FindOperatorPair(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= kAsciiSize || kPairPositions[byte] < 0)
        return nullptr;
    return &kOperatorPairs[kPairPositions[byte]];
}

// operator: character [ "=" ]
int ScanOperator(const OperatorPair& pair, const char*& position, char (&text)[kTokenBufferSize],
                 std::size_t& length) {
    PutChar(text, length, *position++);
    if (*position != '=')
        return pair.alone;
    PutChar(text, length, *position++);
    return pair.withEquals;
}

void ScanDigits(const char*& position, char (&text)[kTokenBufferSize], std::size_t& length) {
    while (IsDigit(*position))
        PutChar(text, length, *position++);
}

// number: digits [ "." digits ] [ ( "e" | "E" ) [ "+" | "-" ] digits ], each digits possibly empty
// after the first
int ScanNumber(const char*& position, char (&text)[kTokenBufferSize], std::size_t& length) {
    int code = INTKON;
    ScanDigits(position, text, length);
    if (*position == '.') {
        PutChar(text, length, *position++);
        code = REAKON;
        ScanDigits(position, text, length);
    }
    if (*position == 'e' || *position == 'E') {
        PutChar(text, length, *position++);
        code = REAKON;
        if (*position == '+' || *position == '-')
            PutChar(text, length, *position++);
        ScanDigits(position, text, length);
    }
    return code;
}

// identifier: ( letter | "_" ) { letter | digit | "_" }, with at least one character not "_"
int ScanIdentifier(const char*& position, char (&text)[kTokenBufferSize], std::size_t& length) {
    std::size_t meaningful = 0;
    while (IsLetter(*position) || IsDigit(*position) || *position == '_') {
        if (*position != '_')
            ++meaningful;
        PutChar(text, length, *position++);
    }
    return meaningful == 0 ? GRESKA : VARIJABLA;
}

// string: '"' { any character but '"' } [ '"' ]; the text keeps the opening quote only
int ScanString(const char*& position, char (&text)[kTokenBufferSize], std::size_t& length) {
    PutChar(text, length, *position++);
    while (*position != '\0' && *position != '"')
        PutChar(text, length, *position++);
    if (*position == '"')
        ++position;
    return STRKON;
}

// Selects the rule by the token's first character and applies it. The classes of first
// characters do not overlap, so the most frequent tokens, identifiers and numbers, are tried
// first.
int ScanToken(const char*& position, char (&text)[kTokenBufferSize], std::size_t& length) {
    const char first = *position;
    if (IsLetter(first) || first == '_')
        return ScanIdentifier(position, text, length);
    if (IsDigit(first))
        return ScanNumber(position, text, length);
    if (first == '\0')
        return EOLN;
    if (const OperatorPair* pair = FindOperatorPair(first))
        return ScanOperator(*pair, position, text, length);
    const int single = SingleCharacterCode(first);
    if (single >= 0) {
        PutChar(text, length, *position++);
        return single;
    }
    if (first == '"')
        return ScanString(position, text, length);
    PutChar(text, length, first);
    return GRESKA;
}

} // namespace

void ExpressionEngine::NextToken(const char*& position, char (&text)[kTokenBufferSize], int& code) {
    while (IsWhiteSpace(*position))
        ++position;
    std::size_t length = 0;
    code = ScanToken(position, text, length);
    if (length > kMaxTokenLength) {
        code = GRESKA;
        length = kMaxTokenLength;
    }
    text[length] = '\0';
}

const char* ExpressionEngine::SkipWhiteSpace(const char* position) {
    while (IsWhiteSpace(*position))
        ++position;
    return position;
}

// A character that starts no token is the only GRESKA that leaves the position where it was; a
// token too long has taken more characters than a token may hold; what remains is a name of
// underscores, which fits.
int ExpressionEngine::LexicalFailure(const char* start, const char* end) {
    if (end == start)
        return FR_STRAY_CHARACTER;
    return end - start > kMaxTokenLength ? FR_TOKEN_TOO_LONG : FR_UNDERSCORES;
}

std::size_t ExpressionEngine::EndOfTokens(const char* line) {
    std::size_t end = std::strlen(line);
    while (end > 0 && IsWhiteSpace(line[end - 1]))
        --end;
    return end;
}
