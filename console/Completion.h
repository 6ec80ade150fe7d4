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

// The match list that the line editor takes for word, made by its own rl_completion_matches
// from CompletionsFor: null when nothing matches; else the one match, or what all matches begin
// with followed by each match, then null; all of it in malloc'ed memory that the taker frees.
char** MatchList(const ExpressionEngine& engine, const char* word, bool lineStart);

// Makes Tab in the line editor complete from CompletionsFor over the engine, which must outlive
// the editing; file names are never offered.
void InstallCompletion(const ExpressionEngine& engine);
