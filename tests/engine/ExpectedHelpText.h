// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The help text as the engine's help command must print it, written out once for the engine's
// tests and the console's.

#include <string>

inline const std::string kHelpText =
    "Tarvin\n"
    "Program racuna simbolicke izraze. Osim toga program pamti varijable tako da se\n"
    "one mogu koristiti u bilo kom trenutku.\n"
    "Podrzane funkcije:\n"
    "abs(x) = |x|, acos(x) = arccos(x), asin(x) = arcsin(x)\n"
    "atg(x) = arctg(x), ena(x) = e^x, cos(x), sin(x), tg(x)\n"
    "kor(x) = sqrt(x), ln(x), log(x)\n"
    "Kalkulator podrzava sljedece operatore: + - * / ^ % ! & | ~ = += -= /= *= ^=\n"
    "i vodi racuna o prioritetu izvrsavanja matematickih operacija\n"
    "Posebne komande:\n"
    "var   - ispisuje listu varijabli u memoriji\n"
    "kraj  - kraj rada sa programom (ili quit)\n"
    "pomoc - ispisuje pomoc na ekranu, tj ovu poruku (ili help)\n"
    "brisi - brise varijable iz memorije (ili clear)\n"
    "Primjeri:\n"
    ">a=5\n"
    ">b=7.14\n"
    ">c=a+5*b\n"
    ">h=sin(a)+cos(c)*kor(abs(a^2-4*a*c))\n"
    ">var\n"
    ">y=ena(1)\n"
    "Napomena: Izraz uvijek mora poceti sa varijablom i znakom jednakosti!\n";
