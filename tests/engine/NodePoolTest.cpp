// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's pool: released nodes come back as spares and are handed out again before the
// heap is asked, no more than kSpareLimit of a kind are kept, and the live counts follow every
// node made and released through the pool.

#include "EngineTestSupport.h"

#include <set>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

namespace {

// A pool whose spares go back to the heap when the test ends, whatever its outcome.
struct OwnedPool {
    NodePool pool;
    ~OwnedPool() { ExpressionEngine::FreeSpares(pool); }
};

std::set<const TokenNode*> NodesOf(const TokenNode* head) {
    std::set<const TokenNode*> nodes;
    for (const TokenNode* node = head; node != nullptr; node = node->next)
        nodes.insert(node);
    return nodes;
}

// A sum of zero and n names: 2 * n + 3 tokens.
std::string LongSum(int names) {
    std::string line = "s=0";
    for (int i = 0; i < names; ++i)
        line += "+x";
    return line;
}

struct SpareCase {
    const char* name;
    std::string line;
    int tokens;
};

class PoolTokens : public ::testing::TestWithParam<SpareCase> {
protected:
    OwnedPool owned;
};

TEST_P(PoolTokens, ReleasedTokensBecomeSparesUpToTheLimit) {
    NodePool& pool = owned.pool;
    int status = 0;
    TokenNode* head = ExpressionEngine::ReadLine(GetParam().line.c_str(), status, &pool);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(pool.tokens.live, GetParam().tokens);
    EXPECT_EQ(pool.tokens.spareCount, 0);
    ExpressionEngine::FreeList(head, &pool);
    EXPECT_EQ(pool.tokens.live, 0);
    EXPECT_EQ(pool.tokens.spareCount, std::min(GetParam().tokens, kSpareLimit));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PoolTokens,
    ::testing::Values(SpareCase{"EmptyLineOneNode", "", 1}, SpareCase{"ShortStatement", "a=5", 3},
                      SpareCase{"OneBelowTheLimit", LongSum((kSpareLimit - 3) / 2),
                                kSpareLimit - 1},
                      SpareCase{"BeyondTheLimit", LongSum(kSpareLimit), 2 * kSpareLimit + 3}),
    [](const ::testing::TestParamInfo<SpareCase>& row) { return std::string(row.param.name); });

TEST(Pool, SecondLineReusesTheFirstLinesNodes) {
    OwnedPool owned;
    int status = 0;
    TokenNode* first = ExpressionEngine::ReadLine("c=a+5*b", status, &owned.pool);
    const std::set<const TokenNode*> used = NodesOf(first);
    ExpressionEngine::FreeList(first, &owned.pool);
    TokenNode* second = ExpressionEngine::ReadLine("d=b-7*a", status, &owned.pool);
    EXPECT_EQ(NodesOf(second), used);
    EXPECT_EQ(owned.pool.tokens.spareCount, 0);
    EXPECT_EQ(ListTokens(second), (std::vector<Token>{{VARIJABLA, "d"},
                                                      {JEDNAKO, "="},
                                                      {VARIJABLA, "b"},
                                                      {MINUS, "-"},
                                                      {INTKON, "7"},
                                                      {PUTA, "*"},
                                                      {VARIJABLA, "a"}}));
    ExpressionEngine::FreeList(second, &owned.pool);
}

TEST(Pool, StackEntriesAreCountedAndReturned) {
    OwnedPool owned;
    StackEntry* stack = nullptr;
    // Rising levels keep every entry on the stack.
    ExpressionEngine::PushOperator(stack, 1.0, PLUS, &owned.pool);
    ExpressionEngine::PushOperator(stack, 2.0, PUTA, &owned.pool);
    ExpressionEngine::PushOperator(stack, 3.0, STEPEN, &owned.pool);
    EXPECT_EQ(owned.pool.entries.live, 3);
    // The end reduces all three, 1 + 2 * 3 ^ 4, and its entry takes one of the three spares.
    ExpressionEngine::PushOperator(stack, 4.0, EOLN, &owned.pool);
    EXPECT_EQ(owned.pool.entries.live, 1);
    EXPECT_EQ(owned.pool.entries.spareCount, 2);
    EXPECT_EQ(stack->value, 163.0);
    ExpressionEngine::FreeList(stack, &owned.pool);
    EXPECT_EQ(owned.pool.entries.live, 0);
    EXPECT_EQ(owned.pool.entries.spareCount, 3);
}

TEST(Pool, InsertedVariablesAreRecordedInOrderOfCreation) {
    OwnedPool owned;
    VariableNode* variables = nullptr;
    ExpressionEngine::SetVariable(variables, "b", 1.0, &owned.pool);
    ExpressionEngine::GetVariable("a", variables, &owned.pool);
    ExpressionEngine::SetVariable(variables, "b", 2.0, &owned.pool);
    ASSERT_EQ(owned.pool.createdVariables.size(), 2u);
    EXPECT_STREQ(owned.pool.createdVariables[0]->name, "b");
    EXPECT_STREQ(owned.pool.createdVariables[1]->name, "a");
    EXPECT_EQ(owned.pool.variables.live, 2);
    ExpressionEngine::FreeList(variables, &owned.pool);
    EXPECT_EQ(owned.pool.variables.live, 0);
    EXPECT_EQ(owned.pool.variables.spareCount, 2);
}

TEST(Pool, FreeSparesEmptiesEveryKind) {
    ExpressionEngine engine;
    double result = 0.0;
    ASSERT_EQ(engine.Calculate("h=sin(a)+cos(c)*kor(abs(a^2-4*a*c))", &result, nullptr), 0);
    EXPECT_GT(engine.pool.tokens.spareCount, 0);
    EXPECT_GT(engine.pool.entries.spareCount, 0);
    ASSERT_EQ(engine.Calculate("clear", &result, nullptr), RS_CLEAR);
    EXPECT_EQ(engine.pool.variables.spareCount, 3);
    ExpressionEngine::FreeSpares(engine.pool);
    EXPECT_EQ(engine.pool.tokens.spares, nullptr);
    EXPECT_EQ(engine.pool.variables.spares, nullptr);
    EXPECT_EQ(engine.pool.entries.spares, nullptr);
    EXPECT_EQ(engine.pool.tokens.spareCount + engine.pool.variables.spareCount +
                  engine.pool.entries.spareCount,
              0);
}

// A released node kept for reuse is poisoned, so AddressSanitizer still reports a use after
// release; the node handed out again is usable.
TEST(Pool, SparesArePoisonedUnderAddressSanitizer) {
    if (!kAddressSanitizer)
        GTEST_SKIP() << "only an AddressSanitizer build poisons spares";
#if defined(__SANITIZE_ADDRESS__)
    ExpressionEngine engine;
    double result = 0.0;
    ASSERT_EQ(engine.Calculate("x=1+2", &result, nullptr), 0);
    ASSERT_NE(engine.pool.tokens.spares, nullptr);
    int poisoned = 0;
    for (TokenNode* spare = engine.pool.tokens.spares; spare != nullptr;) {
        ASSERT_TRUE(__asan_address_is_poisoned(spare));
        ++poisoned;
        __asan_unpoison_memory_region(spare, sizeof(TokenNode));
        TokenNode* next = spare->next;
        __asan_poison_memory_region(spare, sizeof(TokenNode));
        spare = next;
    }
    EXPECT_EQ(poisoned, engine.pool.tokens.spareCount);
    ASSERT_EQ(engine.Calculate("y=x*2", &result, nullptr), 0);
    EXPECT_EQ(result, 6.0);
#endif
}

} // namespace
