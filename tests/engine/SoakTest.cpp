// SPDX-License-Identifier: GPL-3.0-or-later
// One engine, a million seeded random lines: statements over a few hundred names, the same
// statements damaged, random bytes, over-long tokens, deep nesting and the command words.
// After every line no token or stack entry may be live and a failed line must not change the
// variable count; now and then the memory is walked for order and count. At the end the
// nodes in use are exactly the variables, and under AddressSanitizer its allocator must agree:
// the engine holds no heap beyond its variables, its spares, their index and its fixed parts, and
// destroying it gives back everything.

#include "EngineTestSupport.h"

#include <cstdint>
#include <cstring>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of bytes in live heap blocks, as requested; declared here as
// not every compiler ships the header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr long kSoakLines = 1000000;
constexpr long kWalkEvery = 10000;
constexpr int kNameCount = 120;
constexpr std::size_t kLongestLine = 1024;

// A small, fast generator (xorshift64*), so that making the lines costs little beside running
// them, and a seed gives the same million lines on every machine.
struct Random {
    std::uint64_t state;
    std::uint64_t Next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 2685821657736338717ULL;
    }
    int Below(int bound) { return static_cast<int>((Next() >> 33) % static_cast<unsigned>(bound)); }
};

// Builds each line in place in one buffer, so that making a line costs little beside running
// it, in the sanitizer build too.
class LineMaker {
public:
    // The buffer has room for the longest line from the start, so that it never grows while
    // the heap is being watched.
    explicit LineMaker(std::uint64_t seed) : random_{seed} { line_.reserve(kLongestLine); }

    const std::string& Line() {
        line_.clear();
        const int kind = random_.Below(100);
        if (kind < 45) {
            Statement();
        } else if (kind < 70) {
            Statement();
            Damage();
        } else if (kind < 90) {
            Bytes(random_.Below(24));
        } else if (kind < 99 || random_.Below(5) != 0) {
            Command();
        } else {
            Extreme();
        }
        return line_;
    }

private:
    Random random_;
    std::string line_;

    // Names of one to three characters from letters, digits and "_", with a letter first.
    void Name() {
        const int number = random_.Below(kNameCount);
        line_ += static_cast<char>((number % 2 == 0 ? 'a' : 'A') + number % 26);
        if (number >= 26)
            line_ += static_cast<char>('0' + number / 26 % 10);
        if (number >= 78)
            line_ += '_';
    }
    void Operand(int depth) {
        // Groups and calls are a quarter of the operands, so expressions stay short.
        const int kind = random_.Below(depth > 2 ? 3 : 8);
        if (kind == 1) {
            Pick({"0", "2", "1.5", "7.", "1e3", "1e-2", "1e999"});
        } else if (kind == 2) {
            line_ += '!';
            Name();
        } else if (kind < 6) {
            Name();
        } else {
            Pick(kind == 6 ? std::initializer_list<const char*>{"("}
                           : std::initializer_list<const char*>{"sin(", "kor(", "ln(", "abs("});
            Expression(depth + 1);
            line_ += ')';
        }
    }
    void Expression(int depth) {
        Pick({"", "", "", "-", "+"});
        Operand(depth);
        for (int terms = random_.Below(3); terms > 0; --terms) {
            Pick({"+", "-", "*", "/", "%", "\\", "^", "&", "|", "<", ">=", "==", "!="});
            Operand(depth);
        }
    }
    void Statement() {
        Name();
        Pick({"=", "=", "=", "+=", "-=", "*=", "/=", "^="});
        Expression(0);
    }
    // One byte replaced or put in, anywhere in the line.
    void Damage() {
        const std::size_t at =
            static_cast<std::size_t>(random_.Below(static_cast<int>(line_.size())));
        const char byte = static_cast<char>(1 + random_.Below(255));
        if (random_.Below(2) == 0)
            line_[at] = byte;
        else
            line_.insert(at, 1, byte);
    }
    void Bytes(int length) {
        for (int i = 0; i < length; ++i)
            line_ += static_cast<char>(1 + random_.Below(255));
    }
    void Command() {
        // The help text is long, so its words come rarely.
        if (random_.Below(200) == 0)
            Pick({"help", "pomoc"});
        else if (random_.Below(50) == 0)
            Pick({"clear", "brisi"});
        else
            Pick({"var", "var x", "kraj", "quit", "ans=var"});
    }
    // Lines at the limits: a name and a number longer than a token holds, nesting past the
    // bound, and a long valid sum.
    void Extreme() {
        line_ = "x=";
        switch (random_.Below(4)) {
        case 0:
            line_.append(32 + random_.Below(8), 'q');
            break;
        case 1:
            line_.append(40, '7');
            break;
        case 2:
            line_.append(kMaxNesting + random_.Below(4) - 2, '(');
            line_ += '1';
            line_.append(kMaxNesting + 2, ')');
            break;
        default:
            line_ += '1';
            for (int i = 0; i < 200; ++i) {
                line_ += '+';
                Name();
            }
        }
    }
    void Pick(std::initializer_list<const char*> choices) {
        line_ += *(choices.begin() + random_.Below(static_cast<int>(choices.size())));
    }
};

// Heap bytes in use as the sanitizer's allocator counts them; -1 where there is no such count.
long HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return -1;
#endif
}

// The number of variables, or -1 when the names are not strictly ascending.
long WalkVariables(const VariableNode* first) {
    long count = 0;
    for (const VariableNode* node = first; node != nullptr; node = node->next, ++count)
        if (node->next != nullptr && std::strcmp(node->name, node->next->name) >= 0)
            return -1;
    return count;
}

// The engine's banners and help texts of a million lines are captured and dropped, as they
// would drown any report.
class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        std::fflush(stdout);
        ::testing::internal::CaptureStdout();
    }
    void TearDown() override {
        std::fflush(stdout);
        const std::size_t written = ::testing::internal::GetCapturedStdout().size();
        if (HasFailure())
            std::fprintf(stderr, "(%zu bytes of standard output dropped)\n", written);
    }
};

TEST_F(Soak, MillionRandomLinesLeaveOnlyTheVariables) {
    LineMaker maker(20261209);
    std::string listing;
    const long heapAtStart = HeapInUse();
    auto engine = std::make_unique<ExpressionEngine>();
    const NodePool& pool = engine->pool;
    long executed = 0;
    long failed = 0;
    for (long number = 1; number <= kSoakLines; ++number) {
        const std::string& line = maker.Line();
        ASSERT_LE(line.size(), kLongestLine);
        const long variablesBefore = pool.variables.live;
        double result = 0.0;
        const bool wantListing = number % 997 == 0;
        const int outcome =
            engine->Calculate(line.c_str(), &result, wantListing ? &listing : nullptr);
        const bool changedOnFailure =
            outcome != 0 && outcome != RS_CLEAR && pool.variables.live != variablesBefore;
        const bool clearedBadly =
            outcome == RS_CLEAR && (engine->variables != nullptr || pool.variables.live != 0);
        if (engine->tokens != nullptr || pool.tokens.live != 0 || pool.entries.live != 0 ||
            changedOnFailure || clearedBadly || (outcome < -1 || outcome == 1 || outcome > 4)) {
            ADD_FAILURE() << "line " << number << " \"" << line << "\" outcome " << outcome
                          << ": live tokens " << pool.tokens.live << ", stack entries "
                          << pool.entries.live << ", variables " << variablesBefore << " -> "
                          << pool.variables.live;
            return;
        }
        if (number % kWalkEvery == 0) {
            ASSERT_EQ(WalkVariables(engine->variables), pool.variables.live) << "line " << number;
        }
        executed += outcome == 0;
        failed += outcome == -1;
    }
    EXPECT_GT(executed, kSoakLines / 4) << "too few statements executed";
    EXPECT_GT(failed, kSoakLines / 4) << "too few lines failed";

    const long variables = WalkVariables(engine->variables);
    ASSERT_GT(variables, 0);
    EXPECT_EQ(pool.variables.live, variables);
    EXPECT_LE(pool.tokens.spareCount, kSpareLimit);
    EXPECT_LE(pool.variables.spareCount, kSpareLimit);
    EXPECT_LE(pool.entries.spareCount, kSpareLimit);
    if (heapAtStart < 0)
        return;
    // The engine holds nothing beyond its variables, its spares and their index, besides its
    // own object and the array of its record of created variables; destroying it gives back
    // everything.
    std::string().swap(listing);
    const long nodes =
        (variables + pool.variables.spareCount) * static_cast<long>(sizeof(VariableNode)) +
        pool.tokens.spareCount * static_cast<long>(sizeof(TokenNode)) +
        pool.entries.spareCount * static_cast<long>(sizeof(StackEntry));
    const long fixed = static_cast<long>(sizeof(ExpressionEngine) +
                                         pool.createdVariables.capacity() * sizeof(VariableNode*) +
                                         IndexBytes(engine->index));
    EXPECT_LE(HeapInUse() - heapAtStart, nodes + fixed);
    engine.reset();
    EXPECT_EQ(HeapInUse(), heapAtStart);
}

} // namespace
