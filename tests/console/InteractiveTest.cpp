// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a terminal: prompt, line editing with history recall, the
// bell of the error banner, and the end of input.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "ConsoleRun.h"

namespace {

constexpr std::chrono::seconds kWaitLimit{15};
constexpr const char* kUp = "\x1b[A";
constexpr const char* kDown = "\x1b[B";
constexpr const char* kEndOfInput = "\x04";

std::chrono::milliseconds TimeLeft(std::chrono::steady_clock::time_point deadline) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                 std::chrono::steady_clock::now());
}

// The console running on a pseudo-terminal, with a home folder of its own so
// that nothing it might write there goes unnoticed.
class TerminalTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvin-home-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
        winsize size{};
        size.ws_row = 24;
        size.ws_col = 80;
        child_ = forkpty(&master_, nullptr, nullptr, &size);
        ASSERT_GE(child_, 0);
        if (child_ == 0)
            StartConsole();
    }

    void TearDown() override {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        if (master_ >= 0)
            close(master_);
        std::filesystem::remove_all(home_);
    }

    // Types keys once the line editor has the terminal. Keys typed earlier meet
    // the terminal's own line discipline, which swallows a Ctrl+D when the
    // editor then switches the terminal over.
    void Send(const std::string& keys) {
        ASSERT_TRUE(WaitForEditor());
        ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads the terminal until text appears after what earlier waits used up.
    bool WaitFor(const std::string& text) {
        auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
        for (;;) {
            size_t found = screen_.find(text, used_);
            if (found != std::string::npos) {
                used_ = found + text.size();
                return true;
            }
            if (!ReadSome(deadline))
                return false;
        }
    }

    // Waits for the program to end by itself; its exit status, or -1.
    int WaitForExit() {
        auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
        while (TimeLeft(deadline).count() > 0) {
            int raw = 0;
            if (waitpid(child_, &raw, WNOHANG) == child_) {
                child_ = -1;
                return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            }
            ReadSome(std::chrono::steady_clock::now() + std::chrono::milliseconds(50));
        }
        return -1;
    }

    std::string Unused() const { return screen_.substr(used_); }
    bool HomeIsEmpty() const { return std::filesystem::is_empty(home_); }

private:
    [[noreturn]] void StartConsole() {
        setenv("TERM", "xterm", 1);
        setenv("HOME", home_.c_str(), 1);
        unsetenv("EDITRC");
        execl(ConsolePath(), ConsolePath(), static_cast<char*>(nullptr));
        _exit(127);
    }

    // The two ends of a pseudo-terminal share their modes, so the master sees
    // when the editor has turned line-at-a-time input off.
    bool WaitForEditor() {
        auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
        termios modes{};
        while (tcgetattr(master_, &modes) == 0 && (modes.c_lflag & ICANON)) {
            if (TimeLeft(deadline).count() <= 0)
                return false;
            ReadSome(std::chrono::steady_clock::now() + std::chrono::milliseconds(10));
        }
        return true;
    }

    bool ReadSome(std::chrono::steady_clock::time_point deadline) {
        auto left = TimeLeft(deadline);
        if (left.count() <= 0)
            return false;
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char chunk[1024];
        ssize_t count = read(master_, chunk, sizeof chunk);
        if (count <= 0)
            return false;
        screen_.append(chunk, static_cast<size_t>(count));
        return true;
    }

    std::filesystem::path home_;
    pid_t child_ = -1;
    int master_ = -1;
    std::string screen_;
    size_t used_ = 0;
};

TEST_F(TerminalTest, PromptsAndPrintsEachResult) {
    ASSERT_TRUE(WaitFor(">")) << Unused();
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

TEST_F(TerminalTest, ErrorBannerRingsTheBellAndEndsItsLine) {
    ASSERT_TRUE(WaitFor(">"));
    Send("#\r");
    EXPECT_TRUE(WaitFor("\aGRESKA!!!!\r\nError\r\n-:1: Error: #\r\n")) << Unused();
}

TEST_F(TerminalTest, EndOfInputEndsTheRunAndLeavesNoFile) {
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

} // namespace
