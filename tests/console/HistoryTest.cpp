// SPDX-License-Identifier: GPL-3.0-or-later
// The history kept across interactive runs: where the file goes and its modes, recall in the
// next run, the bound, TARVIN_HISTORY, files that cannot be read or written, and runs that are
// not interactive.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "ConsoleRun.h"
#include "LinePreparation.h"
#include "ScratchFolderTest.h"
#include "TerminalRun.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUp = "\x1b[A";
constexpr const char* kEndOfInput = "\x04";
constexpr size_t kBound = 1000;
// "HOME" at the start of an environment value stands for the test's home folder.
constexpr std::string_view kHomeMark = "HOME";

using Environment = std::vector<std::pair<std::string, std::string>>;

std::string ReadFile(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

mode_t Mode(const fs::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

class HistoryTest : public ScratchFolderTest<> {
protected:
    const fs::path& Home() const { return ScratchFolder(); }

    // Starts the program on a terminal, types each line at its prompt, then ends the input at
    // the next; returns the exit status, and what the terminal showed in screen. Keys typed
    // before the prompt could reach the terminal while the editor is still handing back the
    // line before, when an end of input or an interrupt is taken by the terminal itself.
    int Session(const Environment& environment, const std::vector<std::string>& lines,
                std::string* screen = nullptr, rlim_t memoryLimit = 0) {
        TerminalRun::Setup setup{{{"HOME", Home().string()}}, Home(), memoryLimit};
        for (const auto& [name, value] : environment)
            setup.environment.emplace_back(name, Expand(value));
        TerminalRun terminal(setup);
        for (const std::string& line : lines) {
            EXPECT_TRUE(terminal.WaitFor(">")) << terminal.Unused();
            EXPECT_TRUE(terminal.Send(line + "\r"));
            EXPECT_TRUE(terminal.WaitFor(line + "\r\n")) << terminal.Unused();
        }
        EXPECT_TRUE(terminal.WaitFor(">")) << terminal.Unused();
        EXPECT_TRUE(terminal.Send(kEndOfInput));
        const int status = terminal.WaitForExit();
        if (screen != nullptr)
            *screen = terminal.Screen();
        return status;
    }

    std::string Expand(const std::string& value) const {
        if (value.compare(0, kHomeMark.size(), kHomeMark) != 0)
            return value;
        return Home().string() + value.substr(kHomeMark.size());
    }
};

struct PlaceCase {
    const char* name;
    Environment environment;
    const char* file;   // below the home folder; null when no file is kept
    const char* folder; // the folder made for it, below the home folder; null when none
};

void PrintTo(const PlaceCase& row, std::ostream* out) {
    *out << row.name;
}

const PlaceCase kPlaces[] = {
    {"home_state_folder", {}, ".local/state/tarvin/history", ".local/state/tarvin"},
    {"xdg_state_home", {{"XDG_STATE_HOME", "HOME/state"}}, "state/tarvin/history", "state/tarvin"},
    {"relative_xdg_ignored",
     {{"XDG_STATE_HOME", "state"}},
     ".local/state/tarvin/history",
     ".local/state/tarvin"},
    {"named_file", {{"TARVIN_HISTORY", "HOME/mine"}}, "mine", nullptr},
    // Both relative: the history would go below whatever folder the run started in.
    {"relative_home_ignored", {{"HOME", "home"}, {"XDG_STATE_HOME", "state"}}, nullptr, nullptr},
};

class HistoryPlaceTest : public HistoryTest, public testing::WithParamInterface<PlaceCase> {};

TEST_P(HistoryPlaceTest, LinesAreKeptPrivately) {
    const PlaceCase& row = GetParam();
    EXPECT_EQ(Session(row.environment, {"a=11", "b=22"}), 0);
    if (row.file == nullptr) {
        // The run's folder is the home folder.
        EXPECT_TRUE(fs::is_empty(Home()));
        return;
    }
    EXPECT_EQ(ReadFile(Home() / row.file), "a=11\nb=22\n");
    EXPECT_EQ(Mode(Home() / row.file), 0600u);
    if (row.folder != nullptr) {
        EXPECT_EQ(Mode(Home() / row.folder), 0700u);
    }
}

INSTANTIATE_TEST_SUITE_P(History, HistoryPlaceTest, testing::ValuesIn(kPlaces),
                         [](const testing::TestParamInfo<PlaceCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(HistoryTest, UpRecallsTheLastRunsLines) {
    ASSERT_EQ(Session({}, {"a=11", "b=22"}), 0);
    TerminalRun terminal({{{"HOME", Home().string()}}, Home()});
    ASSERT_TRUE(terminal.Send(std::string(kUp) + kUp + "\r"));
    EXPECT_TRUE(terminal.WaitFor("\r\n11\r\n")) << terminal.Unused();
}

TEST_F(HistoryTest, FileKeepsTheLastThousandLines) {
    const fs::path file = Home() / "bounded";
    std::ofstream full(file);
    for (size_t i = 1; i <= kBound + 5; ++i)
        full << "x=" << i << "\n";
    full.close();
    ASSERT_EQ(Session({{"TARVIN_HISTORY", "HOME/bounded"}}, {"y=1"}), 0);
    std::istringstream kept(ReadFile(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(kept, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), kBound);
    EXPECT_EQ(lines.front(), "x=7");
    EXPECT_EQ(lines[kBound - 2], "x=1005");
    EXPECT_EQ(lines.back(), "y=1");
}

// Lines at the line bound fill the byte bound with few lines: of a longer file only the lines
// within its last kHistoryBytes are read, and the file keeps the newest lines that fit. The run
// needs no more memory than that, even where the file is many times longer.
TEST_F(HistoryTest, FileKeepsTheNewestLinesThatFitItsByteBound) {
    constexpr size_t kLongLines = 24;
#ifdef __SANITIZE_ADDRESS__
    // The address sanitizer reserves far more address space than the cap.
    constexpr rlim_t kCap = 0;
#else
    constexpr rlim_t kCap = rlim_t{32} << 20;
#endif
    // Each line with its line end a MiB, so four of them fill the byte bound exactly.
    auto longLine = [](size_t i) { return std::string(kMaxLineLength - 1, 'a' + i % 26); };
    const fs::path file = Home() / "long";
    std::ofstream full(file);
    for (size_t i = 0; i < kLongLines; ++i)
        full << longLine(i) << "\n";
    full.close();
    ASSERT_EQ(Session({{"TARVIN_HISTORY", "HOME/long"}}, {"y=1"}, nullptr, kCap), 0);
    std::string expected;
    for (size_t i = kLongLines - 3; i < kLongLines; ++i)
        expected += longLine(i) + "\n";
    const std::string kept = ReadFile(file);
    EXPECT_EQ(kept.size(), expected.size() + 4);
    EXPECT_TRUE(kept == expected + "y=1\n");
}

// An 8 GiB file that is almost all hole: only its end is read, at the start and at the end.
TEST_F(HistoryTest, HugeSparseFileIsReadOnlyAtItsEnd) {
    constexpr off_t kSize = off_t{8} << 30;
    const fs::path file = Home() / "sparse";
    std::ofstream(file) << "a=1\n";
    fs::resize_file(file, kSize);
    {
        std::ofstream end(file, std::ios::in | std::ios::out | std::ios::ate);
        end << "\nb=2\n";
    }
    std::string screen;
    ASSERT_EQ(Session({{"TARVIN_HISTORY", "HOME/sparse"}}, {"c=3"}, &screen), 0);
    EXPECT_EQ(screen.find("skipped"), std::string::npos) << screen;
    EXPECT_EQ(ReadFile(file), "b=2\nc=3\n");
}

TEST_F(HistoryTest, RunThatTypedNothingWritesNothing) {
    EXPECT_EQ(Session({}, {}), 0);
    EXPECT_TRUE(fs::is_empty(Home()));
}

TEST_F(HistoryTest, EmptyTarvinHistoryLeavesTheFileAlone) {
    fs::create_directories(Home() / ".local/state/tarvin");
    std::ofstream(Home() / ".local/state/tarvin/history") << "a=1\n";
    ASSERT_EQ(Session({{"TARVIN_HISTORY", ""}}, {"b=2"}), 0);
    EXPECT_EQ(ReadFile(Home() / ".local/state/tarvin/history"), "a=1\n");
}

struct BadFileCase {
    const char* name;
    const char* path;
    const char* warning; // follows "tarvin-console: history PATH: "
    mode_t mode = 0;     // given to the file "plain" first, unless 0
};

void PrintTo(const BadFileCase& row, std::ostream* out) {
    *out << row.name;
}

const BadFileCase kBadFiles[] = {
    {"folder", "HOME", "not read: Is a directory"},
    {"below_a_file", "HOME/plain/history", "not read: Not a directory"},
    {"unwritable", "/proc/version", "not written: "},
    {"read_only_for_its_owner", "HOME/plain", "not written: the file is read-only", 0400},
    // Opened without waiting for a writer that never comes.
    {"fifo", "HOME/fifo", "not read: not a regular file"},
};

class HistoryBadFileTest : public HistoryTest, public testing::WithParamInterface<BadFileCase> {};

// The warning appears and the run itself succeeds, lines and results as ever.
TEST_P(HistoryBadFileTest, IsAWarningNotAFailure) {
    const BadFileCase& row = GetParam();
    std::ofstream(Home() / "plain") << "a=1\n";
    ASSERT_EQ(mkfifo((Home() / "fifo").c_str(), 0600), 0);
    if (row.mode != 0)
        fs::permissions(Home() / "plain", static_cast<fs::perms>(row.mode));
    std::string screen;
    const std::string path = Expand(row.path);
    EXPECT_EQ(Session({{"TARVIN_HISTORY", path}}, {"a=3"}, &screen), 0);
    EXPECT_NE(screen.find("tarvin-console: history " + path + ": " + row.warning),
              std::string::npos)
        << screen;
    EXPECT_EQ(ReadFile(Home() / "plain"), "a=1\n");
}

INSTANTIATE_TEST_SUITE_P(History, HistoryBadFileTest, testing::ValuesIn(kBadFiles),
                         [](const testing::TestParamInfo<BadFileCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(HistoryTest, SymbolicLinkIsWrittenThrough) {
    std::ofstream(Home() / "kept") << "a=1\n";
    fs::create_symlink(Home() / "kept", Home() / "link");
    ASSERT_EQ(Session({{"TARVIN_HISTORY", "HOME/link"}}, {"b=2"}), 0);
    EXPECT_TRUE(fs::is_symlink(Home() / "link"));
    EXPECT_EQ(ReadFile(Home() / "kept"), "a=1\nb=2\n");
}

// Each run adds its own lines to what the file holds when it ends, whichever ends first.
TEST_F(HistoryTest, RunsSharingTheFileKeepEachOthersLines) {
    std::ofstream(Home() / "shared") << "a=1\n";
    TerminalRun::Setup setup{{{"HOME", Home().string()}, {"TARVIN_HISTORY", Expand("HOME/shared")}},
                             Home()};
    TerminalRun first(setup), second(setup);
    ASSERT_TRUE(first.Send("b=2\r") && first.WaitFor("\r\n2\r\n") && first.WaitFor(">"));
    ASSERT_TRUE(second.Send("c=3\r") && second.WaitFor("\r\n3\r\n") && second.WaitFor(">"));
    ASSERT_TRUE(second.Send(kEndOfInput));
    EXPECT_EQ(second.WaitForExit(), 0);
    ASSERT_TRUE(first.Send(kEndOfInput));
    EXPECT_EQ(first.WaitForExit(), 0);
    EXPECT_EQ(ReadFile(Home() / "shared"), "a=1\nc=3\nb=2\n");
}

// A line over the line bound is skipped with one warning; the lines around it are kept.
TEST_F(HistoryTest, OverlongLinesAreSkippedAndTheRestKept) {
    const std::string overlong(kMaxLineLength + 1, '1');
    std::ofstream(Home() / "long") << "a=1\n" << overlong << "\nb=2\n" << overlong << "\n";
    std::string screen;
    ASSERT_EQ(Session({{"TARVIN_HISTORY", "HOME/long"}}, {"c=3"}, &screen), 0);
    const std::string warning = "history " + Expand("HOME/long") + ": lines skipped: ";
    EXPECT_NE(screen.find(warning), std::string::npos) << screen;
    EXPECT_EQ(screen.find(warning), screen.rfind(warning));
    EXPECT_EQ(ReadFile(Home() / "long"), "a=1\nb=2\nc=3\n");
}

struct SignalCase {
    const char* name;
    const char* typed; // before Ctrl+C, after the line "e=5" ran; null to send signal instead
    int signal;
    int status;
};

void PrintTo(const SignalCase& row, std::ostream* out) {
    *out << row.name;
}

const SignalCase kSignals[] = {
    {"ctrl_c_discards_the_typed_line", "d=4+", 0, 0},
    {"ctrl_c_on_an_empty_line", "", 0, 0},
    {"hangup_saves_then_ends", nullptr, SIGHUP, 128 + SIGHUP},
    {"terminate_saves_then_ends", nullptr, SIGTERM, 128 + SIGTERM},
};

class HistorySignalTest : public HistoryTest, public testing::WithParamInterface<SignalCase> {};

// Ctrl+C gives a fresh prompt and the run goes on; SIGHUP and SIGTERM end it as they always
// do, and every line typed so far is in the history.
TEST_P(HistorySignalTest, LinesTypedAreKept) {
    const SignalCase& row = GetParam();
    TerminalRun terminal(
        {{{"HOME", Home().string()}, {"TARVIN_HISTORY", Expand("HOME/kept")}}, Home()});
    ASSERT_TRUE(terminal.Send("e=5\r") && terminal.WaitFor("\r\n5\r\n") && terminal.WaitFor(">"));
    std::string expected = "e=5\n";
    if (row.typed != nullptr) {
        ASSERT_TRUE(terminal.Send(row.typed) && terminal.WaitFor(row.typed));
        // The fresh prompt on a line of its own, before the next keys.
        ASSERT_TRUE(terminal.Send("\x03") && terminal.WaitFor("\r\n>"));
        ASSERT_TRUE(terminal.Send("f=6\r"));
        EXPECT_TRUE(terminal.WaitFor("\r\n6\r\n")) << terminal.Unused();
        ASSERT_TRUE(terminal.WaitFor(">") && terminal.Send(kEndOfInput));
        expected += "f=6\n";
    } else {
        ASSERT_TRUE(terminal.Signal(row.signal));
    }
    EXPECT_EQ(terminal.WaitForExit(), row.status) << terminal.Screen();
    EXPECT_EQ(ReadFile(Home() / "kept"), expected);
}

INSTANTIATE_TEST_SUITE_P(History, HistorySignalTest, testing::ValuesIn(kSignals),
                         [](const testing::TestParamInfo<SignalCase>& row) {
                             return std::string(row.param.name);
                         });

// Sets an environment variable for the test process, the programs it starts included, and
// puts the old value back at the end.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(HistoryTest, RunsWithoutATerminalWriteNothing) {
    ScopedVariable home("HOME", Home().c_str());
    ScopedVariable state("XDG_STATE_HOME", nullptr);
    ScopedVariable named("TARVIN_HISTORY", nullptr);
    EXPECT_EQ(RunConsole({}, "a=1\n").out, "1\n");
    EXPECT_EQ(RunConsole({"-e", "a=2"}, "").out, "2\n");
    EXPECT_TRUE(fs::is_empty(Home()));
}

} // namespace
