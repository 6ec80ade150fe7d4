// SPDX-License-Identifier: GPL-3.0-or-later
#include "InteractiveLines.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <editline/readline.h>

#include "Completion.h"
#include "ConsoleConstants.h"
#include "HistoryFile.h"
#include "LinePreparation.h"

namespace {

constexpr const char* kPrompt = "> ";

struct EditLineFree {
    void operator()(char* line) const { std::free(line); }
};
using EditedLine = std::unique_ptr<char, EditLineFree>;

// The last of SIGINT, SIGHUP and SIGTERM to arrive, or 0. The handler only notes it: the line
// editor's read is interrupted and the reading loop decides.
volatile std::sig_atomic_t gSignal = 0;

void NoteSignal(int number) {
    gSignal = number;
}

constexpr int kCaughtSignals[] = {SIGINT, SIGHUP, SIGTERM};

// Without SA_RESTART, so that a signal interrupts the wait for a key.
void CatchSignals() {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    for (int number : kCaughtSignals)
        sigaction(number, &action, nullptr);
}

// Waits for a key on fd while the caught signals are blocked. ppoll lets them in only while it
// waits, so a signal that comes after the look at gSignal still ends the wait instead of
// lying unnoticed until the next key.
int WaitForKey(int fd, const sigset_t& waiting) {
    pollfd wanted{fd, POLLIN, 0};
    for (;;) {
        if (gSignal != 0)
            return EOF;
        if (ppoll(&wanted, 1, nullptr, &waiting) < 0) {
            if (errno == EINTR)
                continue;
            return EOF;
        }
        unsigned char key = 0;
        const ssize_t count = read(fd, &key, 1);
        if (count == 1)
            return key;
        if (count == 0 || (errno != EINTR && errno != EAGAIN))
            return EOF;
    }
}

// Reads one key for the line editor. A signal noted ends the read as the end of input would,
// so the editor hands back at once and the reading loop decides what the signal means.
int ReadKey(FILE* in) {
    sigset_t caught;
    sigset_t previous;
    sigemptyset(&caught);
    for (int number : kCaughtSignals)
        sigaddset(&caught, number);
    sigprocmask(SIG_BLOCK, &caught, &previous);
    const int key = WaitForKey(fileno(in), previous);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return key;
}

bool IsEndingSignal(int number) {
    return number == SIGHUP || number == SIGTERM;
}

// Reads and runs lines until end of input, a quit command or SIGHUP or SIGTERM, which it
// returns (else 0). SIGINT at the prompt discards the line being typed and prompts afresh.
int ReadLines(ConsoleSession& session, HistoryFile& history) {
    LineOrigin origin{kStandardInputName, 0};
    for (;;) {
        // SIGHUP or SIGTERM while a line ran ends the run now; a SIGINT then had no typed line
        // to discard and is forgotten.
        if (IsEndingSignal(gSignal))
            return gSignal;
        gSignal = 0;
        EditedLine edited(readline(kPrompt));
        if (gSignal == SIGINT) {
            std::fputc('\n', session.Streams().out);
            continue;
        }
        if (IsEndingSignal(gSignal))
            return gSignal;
        if (!edited) {
            // End of input leaves the cursor after the prompt; end that line.
            std::fputc('\n', session.Streams().out);
            return 0;
        }
        ++origin.number;
        std::string line = edited.get();
        if (!line.empty() && !IsLineTooLong(line)) {
            add_history(line.c_str());
            RememberLine(history, line);
        }
        if (!session.RunLine(line, origin))
            return 0;
    }
}

} // namespace

void RunInteractive(ConsoleSession& session) {
    rl_readline_name = kProgramName;
    // The signals are this program's own: the editor neither catches nor resends them.
    rl_catch_signals = 0;
    rl_getc_function = ReadKey;
    using_history();
    stifle_history(static_cast<int>(kHistoryLimit));
    HistoryFile history = LocateHistory();
    LoadHistory(history);
    for (const std::string& line : history.lines)
        add_history(line.c_str());
    InstallCompletion(session.Engine());
    CatchSignals();
    const int ending = ReadLines(session, history);
    SaveHistory(history);
    if (ending != 0) {
        // The history is safe; the signal now ends the run with its usual status.
        std::fflush(session.Streams().out);
        std::signal(ending, SIG_DFL);
        std::raise(ending);
    }
}
