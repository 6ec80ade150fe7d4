// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The help text as the engine's help command must print it, for the engine's tests and the
// console's: read from expected-help.txt beside this header, a copy of its own rather than the
// engine's, so that a changed help text fails these tests. A file that cannot be read gives an
// empty text, which no help command prints.

#include <fstream>
#include <sstream>
#include <string>

inline const std::string& ExpectedHelpText() {
    static const std::string text = [] {
        std::ifstream file(TARVIN_EXPECTED_HELP_FILE, std::ios::binary);
        std::ostringstream read;
        read << file.rdbuf();
        return read.str();
    }();
    return text;
}
