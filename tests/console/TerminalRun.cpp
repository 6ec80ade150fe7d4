// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "ConsoleRun.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kWaitLimit{15};
constexpr int kTerminalRows = 24;
constexpr int kTerminalColumns = 80;
constexpr int kEditorPollMilliseconds = 10;
constexpr int kExitPollMilliseconds = 50;
constexpr int kSignalStatusBase = 128;
constexpr const char* kShell = "/bin/bash";

int MillisecondsLeft(Clock::time_point deadline) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}

[[noreturn]] void StartConsole(const TerminalRun::Setup& setup) {
    setenv("TERM", "xterm", 1);
    setenv("INPUTRC", "/dev/null", 1);
    unsetenv("XDG_STATE_HOME");
    unsetenv("TARVIN_HISTORY");
    for (const auto& [name, value] : setup.environment)
        setenv(name.c_str(), value.c_str(), 1);
    if (!setup.folder.empty() && chdir(setup.folder.c_str()) != 0)
        _exit(127);
    if (setup.memoryLimit != 0) {
        const rlimit limit{setup.memoryLimit, setup.memoryLimit};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(127);
    }
    if (setup.jobControlScript != nullptr)
        execl(kShell, kShell, "-m", "-c", setup.jobControlScript, ConsolePath(),
              static_cast<char*>(nullptr));
    else
        execl(ConsolePath(), ConsolePath(), static_cast<char*>(nullptr));
    _exit(127);
}

} // namespace

TerminalRun::TerminalRun(const Setup& setup) {
    winsize size{};
    size.ws_row = kTerminalRows;
    size.ws_col = kTerminalColumns;
    child_ = forkpty(&master_, nullptr, nullptr, &size);
    if (child_ == 0)
        StartConsole(setup);
    // Keys are written as far as the terminal takes them, so a long line never leaves both
    // sides waiting for the other with a full buffer.
    if (master_ >= 0)
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

TerminalRun::~TerminalRun() {
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    if (master_ >= 0)
        close(master_);
}

bool TerminalRun::Send(const std::string& keys) {
    return WaitForEditor() && Type(keys);
}

bool TerminalRun::Type(const std::string& keys) {
    const auto deadline = Clock::now() + kWaitLimit;
    for (size_t done = 0; done < keys.size();) {
        const ssize_t count = write(master_, keys.data() + done, keys.size() - done);
        if (count > 0) {
            done += static_cast<size_t>(count);
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        // What the program shows meanwhile is read, so that it goes on reading keys.
        pollfd fd{master_, POLLIN | POLLOUT, 0};
        if (poll(&fd, 1, std::max(MillisecondsLeft(deadline), 0)) <= 0)
            return false;
        if (fd.revents & POLLIN)
            ReadSome(kEditorPollMilliseconds);
    }
    return true;
}

bool TerminalRun::InLineMode() const {
    termios modes{};
    return tcgetattr(master_, &modes) == 0 && (modes.c_lflag & ICANON) && (modes.c_lflag & ECHO);
}

bool TerminalRun::Signal(int number) {
    return child_ > 0 && kill(child_, number) == 0;
}

bool TerminalRun::WaitFor(const std::string& text) {
    const auto deadline = Clock::now() + kWaitLimit;
    for (;;) {
        size_t found = screen_.find(text, used_);
        if (found != std::string::npos) {
            used_ = found + text.size();
            return true;
        }
        if (!ReadSome(MillisecondsLeft(deadline)))
            return false;
    }
}

int TerminalRun::WaitForExit() {
    const auto deadline = Clock::now() + kWaitLimit;
    while (MillisecondsLeft(deadline) > 0) {
        int raw = 0;
        if (waitpid(child_, &raw, WNOHANG) == child_) {
            child_ = -1;
            // What the program wrote last may still wait in the terminal.
            while (ReadSome(kExitPollMilliseconds)) {
            }
            if (WIFSIGNALED(raw))
                return kSignalStatusBase + WTERMSIG(raw);
            return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        }
        ReadSome(kExitPollMilliseconds);
    }
    return -1;
}

// The two ends of a pseudo-terminal share their modes, so the master sees when the editor has
// turned line-at-a-time input off.
bool TerminalRun::WaitForEditor() {
    const auto deadline = Clock::now() + kWaitLimit;
    termios modes{};
    while (tcgetattr(master_, &modes) == 0 && (modes.c_lflag & ICANON)) {
        if (MillisecondsLeft(deadline) <= 0)
            return false;
        ReadSome(kEditorPollMilliseconds);
    }
    return true;
}

bool TerminalRun::ReadSome(int milliseconds) {
    if (milliseconds <= 0)
        return false;
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, milliseconds) <= 0)
        return false;
    char chunk[1024];
    ssize_t count = read(master_, chunk, sizeof chunk);
    if (count <= 0)
        return false;
    screen_.append(chunk, static_cast<size_t>(count));
    return true;
}
