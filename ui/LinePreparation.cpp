// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinePreparation.h"

namespace {

// Words that reach the engine as commands although they hold no "=".
constexpr std::string_view kPassedWords[] = {"clear", "brisi", "var"};

constexpr std::string_view kAnsPrefix = "ans=";

} // namespace

bool NeedsAnsPrefix(std::string_view typed) {
    if (typed.find('=') != std::string_view::npos)
        return false;
    for (std::string_view word : kPassedWords)
        if (typed == word)
            return false;
    return true;
}

std::string PrepareLine(std::string_view typed) {
    std::string line;
    if (NeedsAnsPrefix(typed)) {
        line.reserve(kAnsPrefix.size() + typed.size());
        line.append(kAnsPrefix);
    }
    line.append(typed);
    return line;
}
