// SPDX-License-Identifier: GPL-3.0-or-later
// Lines at and past the line bound, with and without a memory cap, the echo of a long line that
// fails, and results that cannot be written: each fails what it must, says why, and the run goes
// on or stops as it should.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "ConsoleRun.h"
#include "LinePreparation.h"
#include "ResultOutput.h"
#include "ScratchFolderTest.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr rlim_t kMiB = rlim_t{1} << 20;

// The address sanitizer reserves far more address space than any cap here, so a sanitized
// build runs the capped cases without their cap.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kCapsApply = false;
#else
constexpr bool kCapsApply = true;
#endif
constexpr size_t kMB = 1000 * 1000;

// "c=1+1+...+11", exactly length bytes long (length even); its value is its number of terms + 10.
std::string Sum(size_t length) {
    std::string line = "c=";
    while (line.size() + 2 < length)
        line += "1+";
    return line + "11";
}

std::string SumValue(size_t length) {
    return std::to_string((length - 4) / 2 + 11);
}

// What becomes of the middle line: it runs, it is refused as over the bound, or it fails for
// want of memory (and runs where the cap cannot apply).
enum class Outcome { Runs, TooLong, OutOfMemory };

struct LongLineCase {
    const char* name;
    size_t length;      // of the middle line, without its end
    bool sum;           // the middle line is Sum(length); else as many NUL bytes
    const char* ending; // of the middle line
    rlim_t memoryLimit; // 0 for none
    Outcome outcome;
};

void PrintTo(const LongLineCase& row, std::ostream* out) {
    *out << row.name;
}

const LongLineCase kLongLines[] = {
    {"sum_at_the_bound_runs_whole", kMaxLineLength, true, "\n", 256 * kMiB, Outcome::Runs},
    {"sum_at_the_bound_before_cr_lf_runs_whole", kMaxLineLength, true, "\r\n", 256 * kMiB,
     Outcome::Runs},
    {"sum_one_byte_over_is_refused", kMaxLineLength + 2, true, "\n", 0, Outcome::TooLong},
    {"only_the_cr_right_before_lf_is_dropped", kMaxLineLength, true, "\r\r\n", 0, Outcome::TooLong},
    {"300_MB_under_a_256_MiB_cap", 300 * kMB, false, "\n", 256 * kMiB, Outcome::TooLong},
    {"100_MB_under_a_150_MB_cap", 100 * kMB, false, "\n", 150 * kMB, Outcome::TooLong},
    {"10_MB_without_cap", 10 * kMB, false, "\n", 0, Outcome::TooLong},
    {"sum_at_the_bound_under_a_30_MB_cap", kMaxLineLength, true, "\n", 30 * kMB,
     Outcome::OutOfMemory},
};

class StreamLimitsTest : public ScratchFolderTest<> {
protected:
    fs::path Path(const char* name) const { return ScratchFolder() / name; }

    // "a=1", the middle line, "b=2". NUL bytes are left as a hole, so no test writes them.
    std::string WriteScript(const LongLineCase& row) const {
        const fs::path path = Path("script");
        const std::string middle = row.sum ? Sum(row.length) : std::string();
        std::ofstream(path, std::ios::binary) << "a=1\n" << middle;
        if (!row.sum)
            fs::resize_file(path, fs::file_size(path) + row.length);
        std::ofstream(path, std::ios::binary | std::ios::app) << row.ending << "b=2\n";
        return path.string();
    }
};

class LongLineTest : public StreamLimitsTest, public testing::WithParamInterface<LongLineCase> {};

// The lines around the long one always run; the long one runs whole or fails with the reason,
// the bound or the system's words for memory that ran out, and the status says so.
TEST_P(LongLineTest, RunsWholeOrFailsWithTheReason) {
    const LongLineCase& row = GetParam();
    const std::string script = WriteScript(row);
    ConsoleSetup setup;
    setup.memoryLimit = kCapsApply ? row.memoryLimit : 0;
    const ConsoleResult result = RunConsole({script}, "", setup);
    if (row.outcome == Outcome::Runs || (row.outcome == Outcome::OutOfMemory && !kCapsApply)) {
        ExpectRun(result, "1\n" + SumValue(row.length) + "\n2\n", "", 0);
    } else {
        const std::string reason =
            row.outcome == Outcome::TooLong ? LineTooLongReason() : std::strerror(ENOMEM);
        ExpectRun(result, "1\nError\n2\n", script + ":2: Error: " + reason + "\n", 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Console, LongLineTest, testing::ValuesIn(kLongLines),
                         [](const testing::TestParamInfo<LongLineCase>& row) {
                             return std::string(row.param.name);
                         });

// A line without end is refused as soon as it passes the bound, never taken as the end.
TEST_F(StreamLimitsTest, EndlessLineIsRefusedAtTheBound) {
    ConsoleSetup setup;
    setup.memoryLimit = kCapsApply ? 256 * kMiB : 0;
    setup.timeLimit = 3s;
    const ConsoleResult result = RunConsole({"/dev/zero"}, "", setup);
    EXPECT_EQ(result.err.rfind("/dev/zero:1: Error: " + LineTooLongReason() + "\n", 0), 0u)
        << result.err;
    EXPECT_NE(result.status, 0);
}

// A failing line is echoed around its place only, at most kEchoBytes of it with "..." where it
// is cut, so that a long line gives a short message: in the middle, and at the end of a line at
// the bound.
TEST_F(StreamLimitsTest, LongFailingLineIsEchoedAroundItsPlace) {
    const std::string middle = Sum(400) + "$" + Sum(400).substr(1);
    const std::string last = Sum(kMaxLineLength - 2) + "$";
    const fs::path path = Path("script");
    std::ofstream(path, std::ios::binary) << middle << "\n" << last << "\n";
    const size_t after = kEchoBytes / 2;
    const size_t start = 400 + after - kEchoBytes;
    const ConsoleResult result = RunConsole({path.string()}, "");
    ExpectRun(result, "Error\nError\n",
              FailureMessage(path.string() + ":1:401", "'$' starts no token",
                             "..." + middle.substr(start, kEchoBytes) + "...", 3 + 400 - start) +
                  FailureMessage(path.string() + ":2:" + std::to_string(last.size()),
                                 "'$' starts no token",
                                 "..." + last.substr(last.size() - kEchoBytes), 2 + kEchoBytes),
              1);
}

struct OutputCase {
    const char* name;
    const char* outputFile; // "SCRIPT" for the script itself; null for a pipe nobody reads
    const char* message;    // after "tarvin-console: "
};

void PrintTo(const OutputCase& row, std::ostream* out) {
    *out << row.name;
}

const OutputCase kOutputs[] = {
    {"full_device", "/dev/full", "standard output: No space left on device"},
    {"pipe_nobody_reads", nullptr, "standard output: Broken pipe"},
    {"input_is_the_output_file", "SCRIPT", "SCRIPT: input file is output file"},
};

class OutputTest : public StreamLimitsTest, public testing::WithParamInterface<OutputCase> {};

// Endless input into output that cannot take it stops at once with status 2 and one message;
// reading the file the output goes to is refused before a line is run.
TEST_P(OutputTest, StopsWithStatus2) {
    const OutputCase& row = GetParam();
    const std::string script = Path("script").string();
    std::ofstream(script) << "a=1\n";
    const std::string output = row.outputFile != nullptr ? row.outputFile : "";
    const bool intoScript = output == "SCRIPT";
    ConsoleSetup setup;
    setup.timeLimit = 5s;
    setup.outputFile = intoScript ? script : output;
    setup.outputClosed = output.empty();
    setup.inputRepeated = !intoScript;
    const std::vector<std::string> arguments =
        intoScript ? std::vector<std::string>{script} : std::vector<std::string>{};
    const ConsoleResult result = RunConsole(arguments, "a=1\n", setup);
    std::string message = row.message;
    if (intoScript)
        message.replace(0, output.size(), script);
    EXPECT_EQ(result.err, "tarvin-console: " + message + "\n");
    EXPECT_EQ(result.status, 2);
    std::ostringstream text;
    text << std::ifstream(script).rdbuf();
    EXPECT_EQ(text.str(), "a=1\n");
}

INSTANTIATE_TEST_SUITE_P(Console, OutputTest, testing::ValuesIn(kOutputs),
                         [](const testing::TestParamInfo<OutputCase>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
