// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleRun.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A pipe whose two ends are closed when it goes out of scope.
struct Pipe {
    int fd[2] = {-1, -1};
    Pipe() {
        if (pipe2(fd, O_CLOEXEC) != 0)
            fd[0] = fd[1] = -1;
    }
    ~Pipe() {
        CloseEnd(0);
        CloseEnd(1);
    }
    void CloseEnd(int end) {
        if (fd[end] >= 0)
            close(fd[end]);
        fd[end] = -1;
    }
};

[[noreturn]] void StartChild(const std::vector<std::string>& arguments, const ConsoleSetup& setup,
                             Pipe& in, Pipe& out, Pipe& err) {
    dup2(in.fd[0], STDIN_FILENO);
    if (setup.outputFile.empty()) {
        dup2(out.fd[1], STDOUT_FILENO);
    } else {
        const int file = open(setup.outputFile.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0600);
        if (file < 0 || dup2(file, STDOUT_FILENO) < 0)
            _exit(127);
    }
    if (setup.memoryLimit != 0) {
        const rlimit limit{setup.memoryLimit, setup.memoryLimit};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(127);
    }
    dup2(err.fd[1], STDERR_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ConsolePath()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(ConsolePath(), argv.data());
    _exit(127);
}

// Appends what is ready on fd to text; false at end of file.
bool Drain(int fd, std::string& text) {
    char chunk[4096];
    ssize_t count = read(fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR)
        return true;
    if (count <= 0)
        return false;
    text.append(chunk, static_cast<size_t>(count));
    return true;
}

// Feeds the input and collects both outputs until the child closes them or
// the time runs out; false on time-out.
bool Exchange(const std::string& input, const ConsoleSetup& setup, Pipe& in, Pipe& out, Pipe& err,
              ConsoleResult& result) {
    auto deadline = std::chrono::steady_clock::now() + setup.timeLimit;
    size_t written = 0;
    if (input.empty())
        in.CloseEnd(1);
    while (out.fd[0] >= 0 || err.fd[0] >= 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd fds[3] = {{out.fd[0], POLLIN, 0}, {err.fd[0], POLLIN, 0}, {in.fd[1], POLLOUT, 0}};
        if (poll(fds, 3, static_cast<int>(left.count())) < 0 && errno != EINTR)
            return false;
        if (fds[0].revents && !Drain(out.fd[0], result.out))
            out.CloseEnd(0);
        if (fds[1].revents && !Drain(err.fd[0], result.err))
            err.CloseEnd(0);
        if (fds[2].revents) {
            ssize_t count = write(in.fd[1], input.data() + written, input.size() - written);
            if (count > 0)
                written += static_cast<size_t>(count);
            if (count < 0 && errno != EINTR && errno != EAGAIN)
                written = input.size(); // the child stopped reading
            if (written == input.size() && setup.inputRepeated && count > 0)
                written = 0;
            if (written == input.size())
                in.CloseEnd(1);
        }
    }
    return true;
}

int WaitForExit(pid_t child, bool finished) {
    if (!finished)
        kill(child, SIGKILL);
    int raw = 0;
    while (waitpid(child, &raw, 0) < 0 && errno == EINTR) {
    }
    return finished && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

} // namespace

const char* ConsolePath() {
    return TARVIN_CONSOLE_PATH;
}

ConsoleResult RunConsole(const std::vector<std::string>& arguments, const std::string& input) {
    return RunConsole(arguments, input, ConsoleSetup());
}

ConsoleResult RunConsole(const std::vector<std::string>& arguments, const std::string& input,
                         const ConsoleSetup& setup) {
    // A child that ends before reading all its input must not kill the test.
    std::signal(SIGPIPE, SIG_IGN);
    ConsoleResult result;
    Pipe in, out, err;
    pid_t child = fork();
    if (child < 0)
        return result;
    if (child == 0)
        StartChild(arguments, setup, in, out, err);
    in.CloseEnd(0);
    // Never block on a full input pipe while the child waits for its output to be read.
    fcntl(in.fd[1], F_SETFL, O_NONBLOCK);
    out.CloseEnd(1);
    err.CloseEnd(1);
    if (!setup.outputFile.empty() || setup.outputClosed)
        out.CloseEnd(0);
    bool finished = Exchange(input, setup, in, out, err, result);
    result.status = WaitForExit(child, finished);
    return result;
}

void ExpectRun(const ConsoleResult& result, const std::string& out, const std::string& err,
               int status, std::source_location where) {
    const testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()),
                                     "the run checked here");
    EXPECT_EQ(result.out, out);
    EXPECT_EQ(result.err, err);
    EXPECT_EQ(result.status, status);
}

std::string FailureMessage(const std::string& where, const std::string& reason,
                           const std::string& echo, size_t caret) {
    const std::string indent = "    ";
    return where + ": Error: " + reason + "\n" + indent + echo + "\n" + indent +
           std::string(caret, ' ') + "^\n";
}
