// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the token codes, for dumps and diagnostics.

#include "ExpressionEngine.h"

#include <iterator>

namespace {

// ORDER TOKEN: one name a code, in the order of the codes.
constexpr const char* kTokenNames[] = {
    "GRESKA",     "VARIJABLA",    "INTKON",         "REAKON",   "LIJZAG",   "DESZAG",
    "STRKON",     "TACZAR",       "DVOTAC",         "TACKA",    "ZAREZ",    "PLUS",
    "MINUS",      "PUTA",         "KROZ",           "INTKROZ",  "DESKROZ",  "STEPEN",
    "LOGICKO I",  "LOGICKO ILI",  "VECE OD",        "VECE_JED", "MANJE OD", "MANJE_JED",
    "JE_JEDNAKO", "RAZLICITO",    "LOGICKO NE",     "JEDNAKO",  "PLUS_JED", "MINUS_JED",
    "PUTA_JED",   "KROZ_JED",     "STEPEN_JED",     "EOLN",     "LUGLZG",   "DUGLZG",
    "ABS",        "ARCCOS",       "ARCSIN",         "ARCTG",    "COS",      "EXP",
    "KORIJEN",    "LN ZA BAZU e", "LOG ZA BAZU 10", "SINUS",    "TANGENS",  "NEDEF",
};
static_assert(std::size(kTokenNames) == TOKEN_CODE_COUNT, "one name for every token code");

} // namespace

// The name of a code, or null for a value that is no code.
const char* ExpressionEngine::TokenName(int code) {
    if (code < 0 || code >= TOKEN_CODE_COUNT)
        return nullptr;
    return kTokenNames[code];
}
