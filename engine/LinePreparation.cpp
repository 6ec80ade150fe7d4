// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinePreparation.h"

#include "ExpressionEngine.h"

namespace {

constexpr std::string_view kAnsPrefix = "ans=";

// A command word that reaches the engine as a command although it holds no "=": the ones
// that list or clear the memory. Help and quit typed alone become assignments to "ans".
bool IsPassedWord(std::string_view typed) {
    for (int i = 0; const CommandWord* command = ExpressionEngine::CommandWordAt(i); ++i)
        if ((command->status == RS_LIST || command->status == RS_CLEAR) && typed == command->word)
            return true;
    return false;
}

} // namespace

bool NeedsAnsPrefix(std::string_view typed) {
    return typed.find('=') == std::string_view::npos && !IsPassedWord(typed);
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

bool IsLineTooLong(std::string_view typed) {
    return typed.size() > kMaxLineLength;
}

std::string LineTooLongReason() {
    return "line longer than " + std::to_string(kMaxLineLength) + " bytes";
}
