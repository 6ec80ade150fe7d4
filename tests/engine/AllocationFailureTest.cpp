// SPDX-License-Identifier: GPL-3.0-or-later
// Running out of memory: every allocation of a line is made to fail in turn, and the line
// must then fail with -1, release its tokens and leave the variable memory as it was.
// This program replaces the global allocator, so it runs apart from the other engine tests.

#include "ExpressionEngine.h"
#include "VariableIndexCheck.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <new>
#include <string>
#include <vector>

namespace {

// The test-only allocator state: allocations are counted while armed, and the one numbered
// failAt (or every one from it on) throws.
struct AllocatorControl {
    bool armed = false;
    bool failOnlyOnce = false;
    long failAt = 0;
    long count = 0;
    bool failed = false;
};

AllocatorControl control;

bool ShouldFail() {
    if (!control.armed)
        return false;
    const long number = control.count++;
    const bool fail = control.failOnlyOnce ? number == control.failAt : number >= control.failAt;
    control.failed = control.failed || fail;
    return fail;
}

} // namespace

void* operator new(std::size_t size) {
    if (ShouldFail())
        throw std::bad_alloc();
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

std::string ListingOf(const ExpressionEngine& engine) {
    std::string listing;
    ExpressionEngine::ListVariables(engine.variables, &listing);
    return listing;
}

long ListLength(const VariableNode* node) {
    long length = 0;
    for (; node != nullptr; node = node->next)
        ++length;
    return length;
}

struct SweepCase {
    const char* name;
    std::vector<const char*> setup;
    const char* line;
    int outcome;
    bool failOnlyOnce;
};

// Restores the allocator after every test and keeps the captured output out of the report.
class ControlledAllocator : public ::testing::Test {
protected:
    // The lexical-error banner goes to standard output; keep it out of the report.
    void SetUp() override { ::testing::internal::CaptureStdout(); }
    void TearDown() override {
        control = AllocatorControl{};
        std::fflush(stdout);
        const std::string output = ::testing::internal::GetCapturedStdout();
        if (HasFailure())
            std::fprintf(stderr, "captured output:\n%s\n", output.c_str());
    }

    static void Arm(long failAt, bool failOnlyOnce) {
        control = AllocatorControl{};
        control.failAt = failAt;
        control.failOnlyOnce = failOnlyOnce;
        control.armed = true;
    }
    static void Disarm() { control.armed = false; }
};

class AllocationFailure : public ControlledAllocator,
                          public ::testing::WithParamInterface<SweepCase> {};

// Each run fails one more allocation; the sweep ends with the first run that needed none of
// the failing ones, which must then succeed as usual.
TEST_P(AllocationFailure, FailedLineLeavesMemoryAsItWas) {
    const SweepCase& sweep = GetParam();
    for (long failAt = 0;; ++failAt) {
        ExpressionEngine engine;
        std::string listing;
        double result = 0.0;
        for (const char* line : sweep.setup)
            ASSERT_EQ(engine.Calculate(line, &result, &listing), 0) << line;
        const std::string before = ListingOf(engine);
        result = -99.0;
        Arm(failAt, sweep.failOnlyOnce);
        LineReport report;
        const int outcome = engine.Calculate(sweep.line, &result, &listing, report);
        Disarm();
        EXPECT_EQ(engine.tokens, nullptr);
        EXPECT_EQ(IndexDisagreement(engine.index, engine.variables), nullptr)
            << "after " << failAt << " allocations";
        EXPECT_EQ(engine.pool.variables.live, ListLength(engine.variables))
            << "variables lost after " << failAt << " allocations";
        if (!control.failed) {
            EXPECT_EQ(outcome, sweep.outcome) << "after " << failAt << " allocations";
            EXPECT_EQ(listing, ListingOf(engine));
            EXPECT_GT(failAt, 0) << "the line allocated nothing, so nothing was tested";
            return;
        }
        EXPECT_EQ(outcome, -1) << "allocation " << failAt << " failed";
        EXPECT_EQ(report.failure, FR_OUT_OF_MEMORY) << "allocation " << failAt << " failed";
        EXPECT_EQ(result, -99.0) << "allocation " << failAt << " failed";
        EXPECT_EQ(ListingOf(engine), before) << "allocation " << failAt << " failed";
        EXPECT_EQ(listing, before) << "allocation " << failAt << " failed";
        if (::testing::Test::HasFailure())
            return;
    }
}

// Lines "n0=1", "n1=1", ... that create count variables; the texts stay in place as long as
// the program runs.
std::vector<const char*> CreatingLines(int count) {
    static std::deque<std::string> texts;
    std::vector<const char*> lines;
    for (int i = static_cast<int>(texts.size()); i < count; ++i)
        texts.push_back("n" + std::to_string(i) + "=1");
    for (int i = 0; i < count; ++i)
        lines.push_back(texts[static_cast<std::size_t>(i)].c_str());
    return lines;
}

std::vector<SweepCase> SweepCases() {
    std::vector<SweepCase> cases;
    // The last two memories are just below the size at which the index's table grows and at
    // which its first block of names splits, so the line's new names make the index allocate.
    const SweepCase lines[] = {
        {"IndexTableGrows", CreatingLines(11), "t=p+q", 0, false},
        {"IndexBlockSplits", CreatingLines(kOrderBlockCapacity - 1), "t=p+q", 0, false},
        {"NewNamesReadMidway", {"a=1", "m=2"}, "t=b+c*(d-m)^e", 0, false},
        {"CompoundOnNewTarget", {"q=3"}, "x+=y*q", 0, false},
        {"OverwriteExistingTarget", {"a=1", "b=2", "c=3"}, "b=a+c+zz", 0, false},
        {"FunctionsAndNot", {}, "z=sin(q)+!(r^2)*kor(abs(s))", 0, false},
        {"ListingCommand", {"a=1", "b=2"}, "var", 3, false},
        {"RejectedLine", {"a=1"}, "a=(b", -1, false},
        {"LexicalError", {"a=1"}, "a=b+#", -1, false},
    };
    for (const SweepCase& line : lines) {
        cases.push_back(line);
        SweepCase once = line;
        once.failOnlyOnce = true;
        cases.push_back(once);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Lines, AllocationFailure, ::testing::ValuesIn(SweepCases()),
                         [](const ::testing::TestParamInfo<SweepCase>& row) {
                             return std::string(row.param.name) +
                                    (row.param.failOnlyOnce ? "_FailOnce" : "_FailFromThereOn");
                         });

// Once a line has run, its tokens, stack entries and the variable record come from what the
// engine kept, so running it again asks the heap for nothing.
struct RepeatCase {
    const char* name;
    const char* line;
};

class RepeatedLine : public ControlledAllocator,
                     public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(RepeatedLine, AsksTheHeapForNothing) {
    ExpressionEngine engine;
    double result = 0.0;
    const int first = engine.Calculate(GetParam().line, &result, nullptr);
    Arm(LONG_MAX, false);
    const int second = engine.Calculate(GetParam().line, &result, nullptr);
    Disarm();
    EXPECT_EQ(second, first);
    EXPECT_EQ(control.count, 0) << "allocations on the second run";
}

constexpr RepeatCase kRepeatCases[] = {
    {"Precedence", "t=b+c*(d-m)^e"},
    {"Functions", "h=sin(a)+cos(c)*kor(abs(a^2-4*a*c))"},
    {"Compound", "x+=1"},
    {"LeadingPlusRemoved", "y=+(+x)"},
    {"Rejected", "a=(b"},
    {"LexicalError", "a=b+#"},
    {"ClearCommand", "clear"},
};

INSTANTIATE_TEST_SUITE_P(Lines, RepeatedLine, ::testing::ValuesIn(kRepeatCases),
                         [](const ::testing::TestParamInfo<RepeatCase>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
