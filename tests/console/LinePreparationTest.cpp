// SPDX-License-Identifier: GPL-3.0-or-later
// The rule that the window and the console share: which typed lines become assignments to ans.

#include <gtest/gtest.h>

#include <string>

#include "LinePreparation.h"

namespace {

struct PreparationCase {
    std::string typed;
    std::string prepared;
};

const PreparationCase kPreparations[] = {
    {"a=5", "a=5"},
    {"x+=1", "x+=1"},
    {"2*3", "ans=2*3"},
    {"", "ans="},
    {"var", "var"},
    {"clear", "clear"},
    {"brisi", "brisi"},
    // Help and quit typed alone are names, and the words pass only when typed exactly.
    {"help", "ans=help"},
    {"kraj", "ans=kraj"},
    {"var ", "ans=var "},
    {"Var", "ans=Var"},
    {"clear1", "ans=clear1"},
    {std::string("var\0x", 5), "ans=" + std::string("var\0x", 5)},
};

TEST(LinePreparation, AssignsToAnsUnlessPassed) {
    for (const PreparationCase& row : kPreparations) {
        EXPECT_EQ(PrepareLine(row.typed), row.prepared) << row.typed;
        EXPECT_EQ(NeedsAnsPrefix(row.typed), row.prepared != row.typed) << row.typed;
    }
}

} // namespace
