// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time and memory of windowed programs on a private X server: the
// time from just before a program is executed to the map of its first
// top-level window, and its resident memory two seconds after that map.
// Every program gets one warm-up run, then the programs take turns for the
// timed runs. The first program is the one judged, the second the floor it is
// held against; any further ones are shown beside them.
// Usage: tarvin_bench_window_startup RUNS NAME=PATH NAME=PATH [NAME=PATH...]

#include "BenchTable.h"
#include "XDisplay.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kMapTimeout{20000};
constexpr std::chrono::seconds kSettle{2};
constexpr double kGoalRatio = 1.5;
constexpr double kGoalExtraMiB = 5.0;

struct Program {
    std::string name;
    std::string path;
    std::vector<double> startMs;
    std::vector<double> residentMiB;
    int failures = 0;
};

// The child takes the time just before it becomes the program and hands it
// over through a pipe that closes with the exec.
[[noreturn]] void ExecProgram(const Program& program, const std::string& display, int timeFd) {
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("WAYLAND_DISPLAY");
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    Clock::time_point start = Clock::now();
    (void)!write(timeFd, &start, sizeof start);
    execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

pid_t Launch(const Program& program, const std::string& display, Clock::time_point* start) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        ExecProgram(program, display, fds[1]);
    }
    close(fds[1]);
    bool stamped = pid > 0 && read(fds[0], start, sizeof *start) == sizeof *start;
    close(fds[0]);
    return stamped ? pid : -1;
}

// VmRSS of a running process, in MiB; negative when it cannot be read.
double ResidentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kiB = 0;
            status >> kiB;
            return kiB / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

// Ends the program, forcibly if it does not go within a second.
void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int wait = 0; wait < 100; ++wait) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// One run; the figures are kept unless this is the warm-up.
void RunOnce(Program& program, const std::string& display, MapWatcher& watcher, bool keep) {
    watcher.Drain();
    Clock::time_point start;
    pid_t pid = Launch(program, display, &start);
    if (pid < 0) {
        ++program.failures;
        return;
    }
    auto mapped = watcher.WaitForMap(pid, kMapTimeout);
    double resident = -1;
    if (mapped) {
        std::this_thread::sleep_until(*mapped + kSettle);
        resident = ResidentMiB(pid);
    }
    Stop(pid);
    if (!mapped || resident < 0) {
        ++program.failures;
        return;
    }
    if (keep) {
        program.startMs.push_back(
            std::chrono::duration<double, std::milli>(*mapped - start).count());
        program.residentMiB.push_back(resident);
    }
}

bool ParseProgram(const std::string& argument, Program* program) {
    std::size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    program->name = argument.substr(0, equals);
    program->path = argument.substr(equals + 1);
    return access(program->path.c_str(), X_OK) == 0;
}

void ReportProgram(const Program& program) {
    if (program.startMs.empty()) {
        bench::PrintRow("start-up", program.name + ", not measured", program.failures,
                        "failed runs", "-", "-");
        return;
    }
    bench::PrintRow("start-up", program.name + ", start to window mapped",
                    bench::Median(program.startMs), "ms", "-", "-");
    bench::PrintRow("start-up", program.name + ", resident memory 2 s after map",
                    bench::Median(program.residentMiB), "MiB", "-", "-");
}

void ReportGoals(const Program& subject, const Program& floor) {
    if (subject.startMs.empty() || floor.startMs.empty())
        return;
    double ratio = bench::Median(subject.startMs) / bench::Median(floor.startMs);
    double extra = bench::Median(subject.residentMiB) - bench::Median(floor.residentMiB);
    bench::PrintRow("start-up", subject.name + " / " + floor.name + ", start-up", ratio, "x",
                    "<= 1.5", bench::Verdict(ratio <= kGoalRatio));
    bench::PrintRow("start-up", subject.name + " - " + floor.name + ", memory", extra, "MiB",
                    "<= 5", bench::Verdict(extra <= kGoalExtraMiB));
}

void ReportPeers(const std::vector<Program>& programs) {
    for (std::size_t peer = 2; peer < programs.size(); ++peer) {
        if (programs[0].startMs.empty() || programs[peer].startMs.empty())
            continue;
        bench::PrintRow("start-up", programs[peer].name + " / " + programs[0].name + ", start-up",
                        bench::Median(programs[peer].startMs) / bench::Median(programs[0].startMs),
                        "x", "-", "-");
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<Program> programs;
    for (int index = 2; index < argc; ++index) {
        Program program;
        if (ParseProgram(argv[index], &program))
            programs.push_back(program);
        else
            bench::PrintRow("start-up", std::string(argv[index]) + ", not runnable", 0, "-", "-",
                            "-");
    }
    int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (runs < 1 || programs.size() < 2) {
        std::fprintf(stderr, "usage: %s RUNS NAME=PATH NAME=PATH [NAME=PATH...]\n", argv[0]);
        return 2;
    }
    PrivateXServer server;
    MapWatcher watcher;
    if (!server.Start() || !watcher.Connect(server.Display())) {
        std::fprintf(stderr, "%s: no private X server (is Xvfb installed?)\n", argv[0]);
        return 1;
    }
    for (Program& program : programs)
        RunOnce(program, server.Display(), watcher, false);
    for (int run = 0; run < runs; ++run)
        for (Program& program : programs)
            RunOnce(program, server.Display(), watcher, true);
    for (const Program& program : programs)
        ReportProgram(program);
    ReportGoals(programs[0], programs[1]);
    ReportPeers(programs);
    return 0;
}
