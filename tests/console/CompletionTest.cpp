// SPDX-License-Identifier: GPL-3.0-or-later
// The names that Tab offers for a word, from an engine's memory, which stays as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Completion.h"

namespace {

using Names = std::vector<std::string>;

struct CompletionCase {
    const char* word;
    bool lineStart;
    Names names;
};

const CompletionCase kCompletions[] = {
    {"a", false, {"abs(", "acos(", "alpha", "asin(", "atg("}},
    {"al", false, {"alpha"}},
    {"c", false, {"cos(", "cx"}},
    {"c", true, {"clear", "cos(", "cx"}},
    {"v", true, {"var"}},
    {"v", false, {}},
    {"k", true, {"kor(", "kraj"}},
    {"q", true, {"quit"}},
    {"lo", false, {"log("}},
    {"z", true, {}},
};

TEST(Completion, OffersVariablesFunctionsAndLeadingCommandWords) {
    ExpressionEngine engine;
    double value = 0;
    ASSERT_EQ(engine.Calculate("alpha=1", &value, nullptr), 0);
    ASSERT_EQ(engine.Calculate("cx=2", &value, nullptr), 0);
    std::string before;
    ExpressionEngine::ListVariables(engine.variables, &before);
    for (const CompletionCase& row : kCompletions)
        EXPECT_EQ(CompletionsFor(engine, row.word, row.lineStart), row.names)
            << row.word << (row.lineStart ? " at the start" : " after the start");
    std::string after;
    ExpressionEngine::ListVariables(engine.variables, &after);
    EXPECT_EQ(after, before);
}

} // namespace
