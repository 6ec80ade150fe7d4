// SPDX-License-Identifier: GPL-3.0-or-later
#include "Completion.h"

#include <cstdlib>
#include <cstring>
#include <set>

#include <editline/readline.h>

namespace {

// Every character that cannot be part of a name ends the word that Tab completes.
char kWordBreaks[] = " \t\n\r\"'`@$#.,;:?~!%^&*()[]{}<>=+-*/\\|";

// The engine whose names are offered; the line editor's hooks carry no data of their own.
const ExpressionEngine* completionEngine = nullptr;

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

char* Duplicate(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// The match list as the line editor takes it, in malloc'ed memory it frees: the text to
// insert (the one match, or what all matches begin with), then the matches, then null.
char** MatchList(const std::vector<std::string>& names) {
    std::string common = names.front();
    for (const std::string& name : names)
        common.resize(std::mismatch(common.begin(), common.end(), name.begin(), name.end()).first -
                      common.begin());
    const size_t count = names.size() == 1 ? 1 : names.size() + 1;
    char** list = static_cast<char**>(std::calloc(count + 1, sizeof(char*)));
    if (list == nullptr)
        return nullptr;
    list[0] = Duplicate(names.size() == 1 ? names.front() : common);
    for (size_t i = 1; i < count; ++i)
        list[i] = Duplicate(names[i - 1]);
    return list;
}

char** CompleteWord(const char* text, int start, int) {
    // Whatever the outcome, the editor must not fall back to file names.
    rl_attempted_completion_over = 1;
    if (completionEngine == nullptr)
        return nullptr;
    const std::vector<std::string> names =
        CompletionsFor(*completionEngine, text, AtLineStart(start));
    return names.empty() ? nullptr : MatchList(names);
}

// Offers nothing: the editor's fallback for a word that CompleteWord leaves, file names.
char* NoEntry(const char*, int) {
    return nullptr;
}

} // namespace

std::vector<std::string> CompletionsFor(const ExpressionEngine& engine, const std::string& word,
                                        bool lineStart) {
    std::set<std::string> names;
    for (const VariableNode* node = engine.variables; node != nullptr; node = node->next)
        if (StartsWith(node->name, word))
            names.insert(node->name);
    // ORDER TOKEN: the function codes run from kFirstFunction to kLastFunction.
    for (int code = kFirstFunction; code <= kLastFunction; ++code)
        if (StartsWith(ExpressionEngine::FunctionName(code), word))
            names.insert(std::string(ExpressionEngine::FunctionName(code)) + "(");
    for (int i = 0; lineStart && ExpressionEngine::CommandWordAt(i) != nullptr; ++i)
        if (StartsWith(ExpressionEngine::CommandWordAt(i)->word, word))
            names.insert(ExpressionEngine::CommandWordAt(i)->word);
    return std::vector<std::string>(names.begin(), names.end());
}

void InstallCompletion(const ExpressionEngine& engine) {
    completionEngine = &engine;
    rl_attempted_completion_function = CompleteWord;
    rl_completion_entry_function = NoEntry;
    rl_basic_word_break_characters = kWordBreaks;
    rl_completer_word_break_characters = kWordBreaks;
    // A completed name stands as it is: a function brings its own "(".
    rl_completion_append_character = '\0';
}
