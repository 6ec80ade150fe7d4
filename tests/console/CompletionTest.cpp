// SPDX-License-Identifier: GPL-3.0-or-later
// The names that Tab offers for a word, from an engine's memory, which stays as it was, and the
// match list that the line editor takes for them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Completion.h"

namespace {

using Names = std::vector<std::string>;

struct CompletionCase {
    const char* word;
    bool lineStart;
    Names names;
    const char* inserted; // what Tab puts in the word's place; null when nothing matches
};

const CompletionCase kCompletions[] = {
    {"a", false, {"abs(", "acos(", "alpha", "asin(", "atg("}, "a"},
    {"al", false, {"alpha"}, "alpha"},
    {"c", false, {"cos(", "cx"}, "c"},
    {"c", true, {"clear", "cos(", "cx"}, "c"},
    {"v", true, {"var"}, "var"},
    {"v", false, {}, nullptr},
    {"k", true, {"kor(", "kraj"}, "k"},
    {"q", true, {"quit"}, "quit"},
    {"lo", false, {"log("}, "log("},
    {"tg(", false, {"tg("}, "tg("},
    {"ze", false, {"zeta_1", "zeta_2"}, "zeta_"},
    {"y", true, {}, nullptr},
    {"", false, {}, nullptr}, // an empty word: every name, checked by its count below
};

// The entries of a match list before its null, which are then freed as the editor frees them.
Names TakeEntries(char** list) {
    Names entries;
    for (char** entry = list; list != nullptr && *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
        std::free(*entry);
    }
    std::free(list);
    return entries;
}

TEST(Completion, OffersVariablesFunctionsAndLeadingCommandWords) {
    ExpressionEngine engine;
    double value = 0;
    for (const char* line : {"alpha=1", "cx=2", "zeta_1=3", "zeta_2=4"})
        ASSERT_EQ(engine.Calculate(line, &value, nullptr), 0) << line;
    std::string before;
    ExpressionEngine::ListVariables(engine.variables, &before);
    for (const CompletionCase& row : kCompletions) {
        const Names names = CompletionsFor(engine, row.word, row.lineStart);
        const Names entries = TakeEntries(MatchList(engine, row.word, row.lineStart));
        if (row.word[0] == '\0') {
            // The four variables and every function.
            EXPECT_EQ(names.size(), 4u + kLastFunction - kFirstFunction + 1);
            EXPECT_EQ(entries.size(), names.size() + 1);
            continue;
        }
        EXPECT_EQ(names, row.names) << row.word << (row.lineStart ? " at the start" : "");
        // The one name alone, or the shared part and then every name.
        Names expected;
        if (row.inserted != nullptr)
            expected.push_back(row.inserted);
        if (row.names.size() > 1)
            expected.insert(expected.end(), row.names.begin(), row.names.end());
        EXPECT_EQ(entries, expected) << row.word << (row.lineStart ? " at the start" : "");
    }
    std::string after;
    ExpressionEngine::ListVariables(engine.variables, &after);
    EXPECT_EQ(after, before);
}

} // namespace
