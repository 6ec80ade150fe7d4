// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a terminal: prompt, line editing with history recall, Tab
// completion, the message of a failed line, the note on a name never set, and the end of input.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ScratchFolderTest.h"
#include "TerminalRun.h"

namespace {

constexpr const char* kUp = "\x1b[A";
constexpr const char* kDown = "\x1b[B";
constexpr const char* kEndOfInput = "\x04";

// The console running on a pseudo-terminal, in a home folder of its own so
// that nothing it might write there goes unnoticed.
class TerminalTest : public ScratchFolderTest<> {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        TerminalRun::Setup setup{{{"HOME", Home().string()}}, Home()};
        AddSetup(setup);
        terminal_ = std::make_unique<TerminalRun>(setup);
        ASSERT_TRUE(terminal_->Started());
    }

    void TearDown() override {
        terminal_.reset();
        ScratchFolderTest::TearDown();
    }

    // What a fixture adds to the program's start.
    virtual void AddSetup(TerminalRun::Setup&) {}

    void Send(const std::string& keys) { ASSERT_TRUE(terminal_->Send(keys)); }
    void Type(const std::string& keys) { ASSERT_TRUE(terminal_->Type(keys)); }
    bool InLineMode() const { return terminal_->InLineMode(); }
    bool WaitFor(const std::string& text) { return terminal_->WaitFor(text); }
    int WaitForExit() { return terminal_->WaitForExit(); }
    std::string Unused() const { return terminal_->Unused(); }
    const std::string& Screen() const { return terminal_->Screen(); }
    bool HomeIsEmpty() const { return std::filesystem::is_empty(Home()); }
    // The home folder, which is also the folder the program runs in.
    const std::filesystem::path& Home() const { return ScratchFolder(); }

private:
    std::unique_ptr<TerminalRun> terminal_;
};

// The history file turned off, so a run must leave the home folder as it was.
class HistoryOffTest : public TerminalTest {
protected:
    void AddSetup(TerminalRun::Setup& setup) override {
        setup.environment.emplace_back("TARVIN_HISTORY", "");
    }
};

TEST_F(TerminalTest, PromptsAndPrintsEachResult) {
    ASSERT_TRUE(WaitFor("> ")) << Unused();
    Send("a=6*7\r");
    ASSERT_TRUE(WaitFor("\r\n42\r\n")) << Unused();
    ASSERT_TRUE(WaitFor(">")) << Unused();
    Send("a+1\r");
    EXPECT_TRUE(WaitFor("\r\n43\r\n")) << Unused();
}

TEST_F(TerminalTest, UpRecallsThePreviousLine) {
    ASSERT_TRUE(WaitFor(">"));
    Send("a=11\r");
    ASSERT_TRUE(WaitFor("\r\n11\r\n")) << Unused();
    Send("b=22\r");
    ASSERT_TRUE(WaitFor("\r\n22\r\n")) << Unused();
    Send(std::string(kUp));
    ASSERT_TRUE(WaitFor("b=22")) << Unused();
    Send("\r");
    EXPECT_TRUE(WaitFor("\r\n22\r\n")) << Unused();
}

TEST_F(TerminalTest, DownStepsBackThroughHistory) {
    ASSERT_TRUE(WaitFor(">"));
    Send("a=11\r");
    ASSERT_TRUE(WaitFor("\r\n11\r\n")) << Unused();
    Send("b=22\r");
    ASSERT_TRUE(WaitFor("\r\n22\r\n")) << Unused();
    Send("c=33\r");
    ASSERT_TRUE(WaitFor("\r\n33\r\n")) << Unused();
    Send(std::string(kUp) + kUp + kUp + kDown + "\r");
    EXPECT_TRUE(WaitFor("\r\n22\r\n")) << Unused();
}

// The message says why, where and in which line, after the result, and rings no bell.
TEST_F(TerminalTest, ErrorMessageFollowsTheResultWithoutABell) {
    ASSERT_TRUE(WaitFor(">"));
    Send("$\r");
    EXPECT_TRUE(WaitFor("Error\r\n-:1:1: Error: '$' starts no token\r\n    $\r\n    ^\r\n"))
        << Unused();
    EXPECT_EQ(Screen().find('\a'), std::string::npos);
}

// A name never set reads as 0, as in a script, and the first read of it says so, once.
TEST_F(TerminalTest, FirstReadOfANameNeverSetIsNotedOnce) {
    ASSERT_TRUE(WaitFor(">"));
    Send("r=2*pi\r");
    ASSERT_TRUE(WaitFor("\r\nnote: pi was not set; it reads as 0\r\n0\r\n")) << Unused();
    ASSERT_TRUE(WaitFor(">"));
    Send("s=pi+r+1\r");
    ASSERT_TRUE(WaitFor("\r\n1\r\n")) << Unused();
    EXPECT_EQ(Screen().find("note:"), Screen().rfind("note:")) << Screen();
}

TEST_F(HistoryOffTest, EndOfInputEndsTheRunAndLeavesNoFile) {
    ASSERT_TRUE(WaitFor(">"));
    Send("a=1\r");
    ASSERT_TRUE(WaitFor("\r\n1\r\n")) << Unused();
    ASSERT_TRUE(WaitFor(">"));
    Send(kEndOfInput);
    EXPECT_EQ(WaitForExit(), 0) << Unused();
    EXPECT_TRUE(HomeIsEmpty());
}

TEST_F(TerminalTest, EndOfInputAfterAnErrorGivesStatus1) {
    ASSERT_TRUE(WaitFor(">"));
    Send("5=a\r");
    ASSERT_TRUE(WaitFor("\r\nError\r\n")) << Unused();
    ASSERT_TRUE(WaitFor(">"));
    Send(kEndOfInput);
    EXPECT_EQ(WaitForExit(), 1) << Unused();
}

TEST_F(TerminalTest, KrajEndsTheRun) {
    ASSERT_TRUE(WaitFor(">"));
    Send("kraj\r");
    EXPECT_EQ(WaitForExit(), 0);
}

constexpr const char* kTab = "\t";

TEST_F(TerminalTest, TabCompletesAVariableName) {
    ASSERT_TRUE(WaitFor(">"));
    Send("alpha_value=42\r");
    ASSERT_TRUE(WaitFor("\r\n42\r\n")) << Unused();
    Send(std::string("b=alp") + kTab);
    ASSERT_TRUE(WaitFor("ha_value")) << Unused();
    Send("+1\r");
    EXPECT_TRUE(WaitFor("\r\n43\r\n")) << Unused();
}

TEST_F(TerminalTest, TabCompletesAFunctionWithItsBracket) {
    ASSERT_TRUE(WaitFor(">"));
    Send(std::string("b=ko") + kTab);
    ASSERT_TRUE(WaitFor("r(")) << Unused();
    Send("16)\r");
    EXPECT_TRUE(WaitFor("\r\n4\r\n")) << Unused();
}

// "bri" begins both the command word "brisi" and the variable "brisk": at the start of a line
// a second Tab lists both, after "=" only the variable is offered and completed at once.
TEST_F(TerminalTest, CommandWordsAreOfferedOnlyAtTheStartOfALine) {
    ASSERT_TRUE(WaitFor(">"));
    Send("brisk=5\r");
    ASSERT_TRUE(WaitFor("\r\n5\r\n")) << Unused();
    Send(std::string("bri") + kTab + kTab);
    ASSERT_TRUE(WaitFor("brisi")) << Unused();
    ASSERT_TRUE(WaitFor("brisk")) << Unused();
    Send("\x15x=bri" + std::string(kTab) + "\r");
    EXPECT_TRUE(WaitFor("\r\n5\r\n")) << Unused();
}

// In a line of many kilobytes the editor's buffer has grown, and the completion must read and
// write the line where it now is.
TEST_F(TerminalTest, TabCompletesAtTheEndOfALongLine) {
    ASSERT_TRUE(WaitFor(">"));
    Send("alpha_value=42\r");
    ASSERT_TRUE(WaitFor("\r\n42\r\n")) << Unused();
    constexpr int kTerms = 5000;
    std::string line = "b=";
    for (int i = 0; i < kTerms; ++i)
        line += "1+";
    Send(line + "alp" + kTab);
    ASSERT_TRUE(WaitFor("alpha_value")) << Unused();
    Send("\r");
    EXPECT_TRUE(WaitFor("\r\n" + std::to_string(kTerms + 42) + "\r\n")) << Unused();
}

// A file name completed into the line would make it fail; the unknown name reads as 0.
TEST_F(TerminalTest, TabNeverOffersFileNames) {
    std::ofstream(Home() / "abfile.txt") << "a=1\n";
    ASSERT_TRUE(WaitFor(">"));
    Send(std::string("x=abf") + kTab + kTab + "\r");
    EXPECT_TRUE(WaitFor("\r\n0\r\n")) << Unused();
    Send(std::string("abf") + kTab + kTab + "\r");
    EXPECT_TRUE(WaitFor("\r\n0\r\n")) << Unused();
}

// The program started by a shell with job control, which, once the program has stopped, reads
// a line of its own before it brings the program back with fg.
class JobControlTest : public HistoryOffTest {
protected:
    void AddSetup(TerminalRun::Setup& setup) override {
        HistoryOffTest::AddSetup(setup);
        setup.jobControlScript = "\"$0\"; echo suspended; read -r line; fg";
    }
};

// Ctrl+Z gives the terminal back as the shell had it, so the shell reads its line; after fg
// the prompt and the line typed so far are drawn again, and its editing goes on.
TEST_F(JobControlTest, CtrlZThenFgRestoresTheTerminalAndRedrawsTheLine) {
    ASSERT_TRUE(WaitFor(">"));
    Send("b=2");
    ASSERT_TRUE(WaitFor("b=2")) << Unused();
    Send("\x1a");
    ASSERT_TRUE(WaitFor("suspended\r\n")) << Unused();
    EXPECT_TRUE(InLineMode());
    Type("\r");
    ASSERT_TRUE(WaitFor("> b=2")) << Unused();
    Send("+1\r");
    EXPECT_TRUE(WaitFor("\r\n3\r\n")) << Unused();
    Send(kEndOfInput);
    EXPECT_EQ(WaitForExit(), 0) << Unused();
}

} // namespace
