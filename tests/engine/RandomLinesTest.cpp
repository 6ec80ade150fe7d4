// SPDX-License-Identifier: GPL-3.0-or-later
// Random lines, seeded so a failure repeats: random bytes of random length, and statements
// built from the language's pieces with random damage. Whatever the line, the engine must
// not crash, must list in strict name order, and a line that fails must change nothing.

#include "EngineTestSupport.h"

#include <random>

namespace {

class RandomLines : public StdoutCapture {
protected:
    std::mt19937 random{20261208};

    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); }
    char AnyByte() { return static_cast<char>(1 + Below(255)); }

    std::string Pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + Below(static_cast<int>(choices.size())));
    }
    std::string Operand(int depth) {
        const int kind = depth > 6 ? Below(3) : Below(6);
        if (kind == 0)
            return Pick({"a", "b", "ans", "_x", "Z9", "sin"});
        if (kind == 1)
            return Pick({"0", "2", "1.5", "1e3", "7.", "1e-2", "12345678901234567890"});
        if (kind == 2)
            return "!" + Operand(depth + 1);
        if (kind == 3)
            return "(" + Expression(depth + 1) + ")";
        return Pick({"abs(", "kor(", "ln(", "tg(", "ena("}) + Expression(depth + 1) + ")";
    }
    std::string Expression(int depth) {
        std::string text = Pick({"", "", "-", "+"}) + Operand(depth);
        for (int terms = Below(4); terms > 0; --terms)
            text += Pick({"+", "-", "*", "/", "%", "\\", "^", "&", "|", "<", ">=", "==", "!="}) +
                    Operand(depth);
        return text;
    }
    std::string Statement() {
        std::string line = Pick({"a", "b", "c", "ans", "_x"}) +
                           Pick({"=", "=", "+=", "-=", "*=", "/=", "^="}) + Expression(0);
        for (int damage = Below(3) == 0 ? 1 + Below(3) : 0; damage > 0; --damage) {
            const std::size_t at = static_cast<std::size_t>(Below(static_cast<int>(line.size())));
            if (Below(2) == 0)
                line[at] = AnyByte();
            else
                line.insert(at, 1, AnyByte());
        }
        return line;
    }
    std::string RandomBytes() {
        const int length = Below(10) == 0 ? Below(40000) : Below(80);
        std::string line;
        for (int i = 0; i < length; ++i)
            line += AnyByte();
        return line;
    }
};

// Listing lines are "name = value\r\n" with names strictly ascending in byte order.
void ExpectOrderedListing(const std::string& listing) {
    std::string previous;
    bool first = true;
    std::size_t start = 0;
    while (start < listing.size()) {
        const std::size_t end = listing.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "unterminated listing line";
        const std::size_t equals = listing.find(" = ", start);
        ASSERT_LT(equals, end);
        const std::string name = listing.substr(start, equals - start);
        EXPECT_TRUE(first || previous < name) << previous << " before " << name;
        previous = name;
        first = false;
        start = end + 2;
    }
}

TEST_F(RandomLines, KeepTheInvariants) {
    ExpressionEngine engine;
    std::string listing;
    int executed = 0;
    for (int round = 0; round < 3000 && !HasFailure(); ++round) {
        const std::string line = Below(2) == 0 ? Statement() : RandomBytes();
        const std::string before = listing;
        double result = 0.0;
        const int outcome = engine.Calculate(line.c_str(), &result, &listing);
        EXPECT_EQ(engine.tokens, nullptr);
        ExpectOrderedListing(listing);
        if (outcome == -1 || outcome == 2 || outcome == 3)
            EXPECT_EQ(listing, before) << "failed line changed memory: " << line;
        else if (outcome == 4)
            EXPECT_EQ(listing, "");
        else
            EXPECT_EQ(outcome, 0) << line;
        executed += outcome == 0;
        if (round % 500 == 499)
            engine.Calculate("clear", &result, &listing);
    }
    EXPECT_GT(executed, 100) << "too few lines were valid statements to test execution";
}

} // namespace
