// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ExpressionEngine.h"

// The names that complete word, in byte order: the variables in the engine's memory, the
// function names each with its "(", and, when the word is the first of the line, the command
// words. The memory is only read.
std::vector<std::string> CompletionsFor(const ExpressionEngine& engine, const std::string& word,
                                        bool lineStart);

// Makes Tab in the line editor complete from CompletionsFor over the engine, which must outlive
// the editing; file names are never offered.
void InstallCompletion(const ExpressionEngine& engine);
