// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's index of its variables: with the index, every lookup and insertion finds what
// the walk of the list finds, for names that differ only in case, in bytes from 0x80 up, or
// after a long common beginning, and in numbers that make the index grow; clearing empties it.

#include "EngineTestSupport.h"
#include "VariableIndexCheck.h"

#include <algorithm>
#include <random>

namespace {

struct NameSet {
    const char* name;
    std::vector<std::string> names;
};

// Distinct names of one to thirty-one characters in a shuffled order, enough that the index
// grows its table and splits its blocks several times.
std::vector<std::string> ManyNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name = "v" + std::to_string(i * 7919 % 100003);
        name.append(static_cast<std::size_t>(i % 4 == 0 ? i % 23 : 0), 'x');
        names.push_back(name);
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(20261209));
    return names;
}

// Names, each followed by a byte and cut short by one, to probe the places between names.
std::vector<std::string> Probes(const std::vector<std::string>& names) {
    std::vector<std::string> probes = {"\x01", "\xff\xff", "A", "_"};
    for (const std::string& name : names) {
        probes.push_back(name);
        probes.push_back(name + "0");
        probes.push_back(name.substr(0, name.size() - 1) + "\x7f");
        if (name.size() > 1)
            probes.push_back(name.substr(0, name.size() - 1));
    }
    return probes;
}

class IndexedStore : public ::testing::TestWithParam<NameSet> {
protected:
    ExpressionEngine engine;
};

TEST_P(IndexedStore, FindsWhatTheWalkFinds) {
    const std::vector<std::string>& names = GetParam().names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i % 2 == 0)
            ExpressionEngine::SetVariable(engine.variables, names[i].c_str(), 1.0, &engine.pool);
        else
            ExpressionEngine::GetVariable(names[i].c_str(), engine.variables, &engine.pool);
    }
    ASSERT_EQ(IndexDisagreement(engine.index, engine.variables), nullptr);
    ASSERT_EQ(engine.index.count, static_cast<long>(names.size()));
    for (const std::string& probe : Probes(names)) {
        VariableNode* walked = engine.variables;
        VariableNode* indexed = engine.variables;
        const bool byWalk = ExpressionEngine::FindVariable(probe.c_str(), walked);
        EXPECT_EQ(ExpressionEngine::FindVariable(probe.c_str(), indexed, &engine.index), byWalk)
            << probe;
        EXPECT_EQ(indexed, walked) << probe;
    }
}

std::string Repeated(char c, std::size_t count, const char* tail) {
    return std::string(count, c) + tail;
}

INSTANTIATE_TEST_SUITE_P(
    Names, IndexedStore,
    ::testing::Values(
        NameSet{"CaseAndHighBytes", {"b", "B", "a", "A", "\x80", "\xe8", "\xff", "z_9", "Z_9"}},
        NameSet{"LongCommonBeginnings",
                {"abcdefgh", "abcdefghi", "abcdefg", "abcdefgi", "abcdefgh_", "abcdefgH",
                 Repeated('q', 30, "a"), Repeated('q', 30, "B"), Repeated('q', 30, "\x90"),
                 Repeated('q', 31, ""), Repeated('q', 8, "\xc3")}},
        NameSet{"ThousandsOfNames", ManyNames(3000)}),
    [](const ::testing::TestParamInfo<NameSet>& row) { return std::string(row.param.name); });

TEST(Index, ClearEmptiesItAndGivesItsMemoryBack) {
    ExpressionEngine engine;
    double result = 0.0;
    for (const std::string& name : ManyNames(700))
        ASSERT_EQ(engine.Calculate((name + "=1").c_str(), &result, nullptr), 0);
    // Each line's new name is missed, placed and inserted by one search.
    EXPECT_EQ(IndexDisagreement(engine.index, engine.variables), nullptr);
    EXPECT_GT(IndexBytes(engine.index), 0u);
    ASSERT_EQ(engine.Calculate("clear", &result, nullptr), RS_CLEAR);
    EXPECT_EQ(engine.index.count, 0);
    EXPECT_EQ(IndexBytes(engine.index), 0u);
    // Every node was released, the first of them kept as spares.
    EXPECT_EQ(engine.pool.variables.live, 0);
    EXPECT_EQ(engine.pool.variables.spareCount, kSpareLimit);
    ASSERT_EQ(engine.Calculate("b=a+1", &result, nullptr), 0);
    EXPECT_EQ(IndexDisagreement(engine.index, engine.variables), nullptr);
    EXPECT_EQ(engine.index.count, 2);
}

} // namespace
