// SPDX-License-Identifier: GPL-3.0-or-later
// The variable store: name order, lookup, insertion, reading unknown names, and the listing.

#include "EngineTestSupport.h"

#include <cfloat>
#include <limits>

namespace {

// Owns a variable list, released by the fixture.
class VariableStore : public ::testing::Test {
protected:
    void TearDown() override { ExpressionEngine::FreeList(head); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const VariableNode* node = head; node != nullptr; node = node->next)
            names.push_back(node->name);
        return names;
    }
    std::string Listing() const {
        std::string listing = "untouched";
        ExpressionEngine::ListVariables(head, &listing);
        return listing;
    }

    VariableNode* head = nullptr;
};

TEST_F(VariableStore, KeepsStrictByteOrderOfNames) {
    for (const char* name : {"b", "ab", "a1", "a", "_x", "B", "a", "b"})
        ExpressionEngine::SetVariable(head, name, 1.0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "_x", "a", "a1", "ab", "b"}));
}

TEST_F(VariableStore, OrdersHighBytesAfterAscii) {
    for (const char* name : {"\xe8", "z", "\x80", "A"})
        ExpressionEngine::SetVariable(head, name, 1.0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "z", "\x80", "\xe8"}));
}

TEST_F(VariableStore, SetOverwritesWithoutSecondNode) {
    ExpressionEngine::SetVariable(head, "x", 1.0);
    ExpressionEngine::SetVariable(head, "x", -4.0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"x"}));
    EXPECT_EQ(ExpressionEngine::GetVariable("x", head), -4.0);
}

TEST_F(VariableStore, GetCreatesUnknownNameWithZero) {
    ExpressionEngine::SetVariable(head, "m", 3.0);
    EXPECT_EQ(ExpressionEngine::GetVariable("c", head), 0.0);
    EXPECT_EQ(ExpressionEngine::GetVariable("z", head), 0.0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "m", "z"}));
    EXPECT_EQ(ExpressionEngine::GetVariable("m", head), 3.0);
}

struct FindCase {
    const char* name;
    const char* sought;
    bool found;
    const char* cursorName; // null: the cursor ends null
};

class FindInStore : public VariableStore, public ::testing::WithParamInterface<FindCase> {};

// The cursor ends on the match, or on the node before which the name belongs.
TEST_P(FindInStore, LeavesCursorAtThePlaceOfTheName) {
    for (const char* name : {"b", "d", "f"})
        ExpressionEngine::SetVariable(head, name, 0.0);
    VariableNode* cursor = head;
    EXPECT_EQ(ExpressionEngine::FindVariable(GetParam().sought, cursor), GetParam().found);
    if (GetParam().cursorName == nullptr) {
        EXPECT_EQ(cursor, nullptr);
    } else {
        EXPECT_STREQ(cursor != nullptr ? cursor->name : "(null)", GetParam().cursorName);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, FindInStore,
    ::testing::Values(FindCase{"First", "b", true, "b"}, FindCase{"Last", "f", true, "f"},
                      FindCase{"BeforeAll", "a", false, "b"}, FindCase{"Between", "c", false, "d"},
                      FindCase{"PrefixSortsFirst", "dd", false, "f"},
                      FindCase{"AfterAll", "g", false, nullptr},
                      FindCase{"CaseDiffers", "B", false, "b"}),
    [](const ::testing::TestParamInfo<FindCase>& row) { return std::string(row.param.name); });

TEST_F(VariableStore, FindInEmptyStoreGivesNullCursor) {
    VariableNode* cursor = head;
    EXPECT_FALSE(ExpressionEngine::FindVariable("a", cursor));
    EXPECT_EQ(cursor, nullptr);
}

TEST_F(VariableStore, InsertLinksBeforeTheGivenNode) {
    ExpressionEngine::InsertVariable(head, nullptr, "m", 1.0);
    ExpressionEngine::InsertVariable(head, head, "c", 2.0);
    ExpressionEngine::InsertVariable(head, nullptr, "x", 3.0);
    ExpressionEngine::InsertVariable(head, head->next, "f", 4.0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "f", "m", "x"}));
}

TEST_F(VariableStore, RefusesNamesLongerThanTheField) {
    const std::string longest(kMaxNameLength, 'n');
    const std::string tooLong(kMaxNameLength + 1, 'n');
    ExpressionEngine::SetVariable(head, tooLong.c_str(), 5.0);
    EXPECT_EQ(ExpressionEngine::GetVariable(tooLong.c_str(), head), 0.0);
    EXPECT_EQ(head, nullptr);
    ExpressionEngine::SetVariable(head, longest.c_str(), 5.0);
    EXPECT_EQ(Names(), (std::vector<std::string>{longest}));
}

TEST_F(VariableStore, ListingOfEmptyStoreIsEmpty) {
    EXPECT_EQ(Listing(), "");
}

// Without a target nothing is written and the memory is left as it was.
TEST_F(VariableStore, NullListingTargetIsIgnored) {
    ExpressionEngine::SetVariable(head, "a", 1.0);
    const VariableNode* first = head;
    ExpressionEngine::ListVariables(head, nullptr);
    EXPECT_EQ(head, first);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Listing(), "a = 1.000000\r\n");
}

TEST_F(VariableStore, ListingHasOneCrLfLinePerVariableInOrder) {
    ExpressionEngine::SetVariable(head, "b", 0.0);
    ExpressionEngine::SetVariable(head, "a", 1.0);
    EXPECT_EQ(Listing(), "a = 1.000000\r\nb = 0.000000\r\n");
}

struct ValueCase {
    const char* name;
    double value;
    const char* text;
};

class ListingValues : public VariableStore, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ListingValues, AreFixedPointWithSixDecimals) {
    ExpressionEngine::SetVariable(head, "v", GetParam().value);
    EXPECT_EQ(Listing(), std::string("v = ") + GetParam().text + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Values, ListingValues,
    ::testing::Values(
        ValueCase{"Integer", 5.0, "5.000000"}, ValueCase{"Negative", -2.5, "-2.500000"},
        ValueCase{"NegativeZero", -0.0, "-0.000000"}, ValueCase{"RoundsUp", 0.0000015, "0.000002"},
        ValueCase{"TinyRoundsToZero", 1e-300, "0.000000"},
        ValueCase{"Infinity", std::numeric_limits<double>::infinity(), "inf"},
        ValueCase{"NegativeInfinity", -std::numeric_limits<double>::infinity(), "-inf"},
        ValueCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), "nan"},
        ValueCase{"Large", 1e20, "100000000000000000000.000000"}),
    [](const ::testing::TestParamInfo<ValueCase>& row) { return std::string(row.param.name); });

// Lines far longer than a small line buffer are complete; the digits agree with "%f".
TEST_F(VariableStore, LongLinesAreComplete) {
    const std::string name(kMaxNameLength, 'q');
    for (const double value : {1e300, -DBL_MAX, 123456789.123456789e30}) {
        ExpressionEngine::SetVariable(head, name.c_str(), value);
        char expected[400];
        std::snprintf(expected, sizeof expected, "%s = %f\r\n", name.c_str(), value);
        EXPECT_EQ(Listing(), expected);
    }
}

} // namespace
