// SPDX-License-Identifier: GPL-3.0-or-later
#include "Completion.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <utility>

#include <readline/readline.h>

namespace {

// Every character that cannot be part of a name ends the word that Tab completes.
char kWordBreaks[] = " \t\n\r\"'`@$#.,;:?~!%^&*()[]{}<>=+-*/\\|";

// The engine whose names are offered; the line editor's hooks carry no data of their own.
const ExpressionEngine* completionEngine = nullptr;

// The names that the editor's generator hands out one by one while it builds a match list, and
// the next to hand out.
const std::vector<std::string>* pendingNames = nullptr;
size_t nextName = 0;

// True when the last completion found several names, which a Tab right after it lists.
bool severalMatched = false;

bool StartsWith(const char* name, const std::string& word) {
    return std::strncmp(name, word.c_str(), word.size()) == 0;
}

// True when only blanks stand before position in the line being edited.
bool AtLineStart(int position) {
    for (int i = 0; i < position; ++i)
        if (rl_line_buffer[i] != ' ' && rl_line_buffer[i] != '\t')
            return false;
    return true;
}

// The generator that rl_completion_matches calls, state 0 first, until it answers null: each
// pending name in turn, in malloc'ed memory that the editor frees.
char* NextPendingName(const char*, int state) {
    if (state == 0)
        nextName = 0;
    if (pendingNames == nullptr || nextName >= pendingNames->size())
        return nullptr;
    return strdup((*pendingNames)[nextName++].c_str());
}

// Offers nothing: the editor's fallback for a word that CompleteWord leaves, file names.
char* NoEntry(const char*, int) {
    return nullptr;
}

char** CompleteWord(const char* text, int start, int) {
    // Whatever the outcome, the editor must not fall back to file names, and a completed name
    // stands as it is: a function brings its own "(". The editor resets both before each Tab.
    rl_attempted_completion_over = 1;
    rl_completion_append_character = '\0';
    if (completionEngine == nullptr)
        return nullptr;
    char** list = nullptr;
    try {
        list = MatchList(*completionEngine, text, AtLineStart(start));
    } catch (const std::bad_alloc&) {
        // Nothing is offered, and the line being typed stays as it is.
    }
    severalMatched = list != nullptr && list[1] != nullptr;
    return list;
}

// Tab completes the word before the cursor, as far as the names that match it agree; a Tab
// right after one that found several names lists them.
int CompleteOrList(int, int) {
    const bool list = rl_last_func == CompleteOrList && severalMatched;
    return rl_complete_internal(list ? '?' : '\t');
}

} // namespace

std::vector<std::string> CompletionsFor(const ExpressionEngine& engine, const std::string& word,
                                        bool lineStart) {
    std::set<std::string> names;
    for (const VariableNode* node = engine.variables; node != nullptr; node = node->next)
        if (StartsWith(node->name, word))
            names.insert(node->name);
    // ORDER TOKEN: the function codes run from kFirstFunction to kLastFunction.
    for (int code = kFirstFunction; code <= kLastFunction; ++code) {
        // Compared with its bracket, as offered: "tg(" completes itself.
        std::string name = std::string(ExpressionEngine::FunctionName(code)) + "(";
        if (StartsWith(name.c_str(), word))
            names.insert(std::move(name));
    }
    for (int i = 0; lineStart && ExpressionEngine::CommandWordAt(i) != nullptr; ++i)
        if (StartsWith(ExpressionEngine::CommandWordAt(i)->word, word))
            names.insert(ExpressionEngine::CommandWordAt(i)->word);
    return std::vector<std::string>(names.begin(), names.end());
}

char** MatchList(const ExpressionEngine& engine, const char* word, bool lineStart) {
    const std::vector<std::string> names = CompletionsFor(engine, word, lineStart);
    // The editor builds the list itself from the names, so it has exactly the form it reads.
    pendingNames = &names;
    char** list = rl_completion_matches(word, NextPendingName);
    pendingNames = nullptr;
    return list;
}

void InstallCompletion(const ExpressionEngine& engine) {
    completionEngine = &engine;
    rl_attempted_completion_function = CompleteWord;
    rl_completion_entry_function = NoEntry;
    rl_basic_word_break_characters = kWordBreaks;
    rl_completer_word_break_characters = kWordBreaks;
    rl_bind_key_in_map('\t', CompleteOrList, emacs_standard_keymap);
    rl_bind_key_in_map('\t', CompleteOrList, vi_insertion_keymap);
}
