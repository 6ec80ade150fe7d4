// SPDX-License-Identifier: GPL-3.0-or-later
#include "InteractiveLines.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <readline/history.h>
#include <readline/readline.h>

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

// The last of SIGINT, SIGHUP, SIGTERM and, while a line is edited, SIGTSTP to arrive, or 0. The
// handler only notes it: the line editor's read is interrupted and the reading decides.
volatile std::sig_atomic_t gSignal = 0;

void NoteSignal(int number) {
    gSignal = number;
}

constexpr int kCaughtSignals[] = {SIGINT, SIGHUP, SIGTERM};

// Without SA_RESTART, so that a signal interrupts the wait for a key.
void CatchSignal(int number, struct sigaction* previous = nullptr) {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, previous);
}

void CatchSignals() {
    for (int number : kCaughtSignals)
        CatchSignal(number);
}

// Waits for a key on fd while the caught signals are blocked. ppoll lets them in only while it
// waits, so a signal that comes after the look at gSignal still ends the wait instead of
// lying unnoticed until the next key. Another signal, such as a change of the window's size,
// goes to the editor as its own reading would hand it over.
int WaitForKey(int fd, const sigset_t& waiting) {
    pollfd wanted{fd, POLLIN, 0};
    for (;;) {
        if (gSignal != 0)
            return EOF;
        if (ppoll(&wanted, 1, nullptr, &waiting) < 0) {
            if (errno != EINTR)
                return EOF;
            rl_check_signals();
            continue;
        }
        unsigned char key = 0;
        const ssize_t count = read(fd, &key, 1);
        if (count == 1)
            return key;
        if (count == 0 || (errno != EINTR && errno != EAGAIN))
            return EOF;
    }
}

// Ctrl+Z: gives the terminal back in the modes it had before the editor took it, stops as the
// signal asks, and once continued takes the terminal again and draws the prompt and the line
// afresh, since whatever ran meanwhile wrote over them. SIGTSTP is blocked on entry.
void Suspend() {
    gSignal = 0;
    rl_cleanup_after_signal();
    std::signal(SIGTSTP, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    std::raise(SIGTSTP);
    // The signal, pending until now, stops the program here until SIGCONT.
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    CatchSignal(SIGTSTP);
    rl_reset_after_signal();
    rl_forced_update_display();
}

// Reads one key for the line editor. Ctrl+Z is dealt with here, and the reading goes on after
// it. Another signal noted empties the line and ends the read as the end of input would, so
// the editor hands back at once and the reading loop decides what the signal means.
int ReadKey(FILE* in) {
    sigset_t caught;
    sigset_t previous;
    sigemptyset(&caught);
    for (int number : kCaughtSignals)
        sigaddset(&caught, number);
    sigaddset(&caught, SIGTSTP);
    sigprocmask(SIG_BLOCK, &caught, &previous);
    int key;
    while ((key = WaitForKey(fileno(in), previous)) == EOF && gSignal == SIGTSTP)
        Suspend();
    if (gSignal != 0)
        rl_replace_line("", 0);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return key;
}

// The next line from the editor. Ctrl+Z stops the program in the editor's way only while a line
// is typed: while a line runs the signal acts as it always does, and one that came as the line
// was handed back acts now. A SIGTSTP ignored from the start stays ignored.
char* EditLine() {
    struct sigaction previous {};
    sigaction(SIGTSTP, nullptr, &previous);
    const bool stoppable = previous.sa_handler != SIG_IGN;
    if (stoppable)
        CatchSignal(SIGTSTP);
    char* line = readline(kPrompt);
    if (stoppable) {
        sigaction(SIGTSTP, &previous, nullptr);
        if (gSignal == SIGTSTP) {
            gSignal = 0;
            std::raise(SIGTSTP);
        }
    }
    return line;
}

bool IsEndingSignal(int number) {
    return number == SIGHUP || number == SIGTERM;
}

// Keeps a typed line in the history and runs it; false once the session stops reading. A line
// that memory cannot be found for, to copy or to keep, fails as the session fails such lines.
bool RunEditedLine(ConsoleSession& session, HistoryFile& history, const char* edited,
                   const LineOrigin& origin) {
    std::string line;
    try {
        line = edited;
        if (!line.empty() && !IsLineTooLong(line)) {
            add_history(line.c_str());
            RememberLine(history, line);
        }
    } catch (const std::bad_alloc&) {
        session.RefuseLine(origin, std::strerror(ENOMEM));
        return true;
    }
    return session.RunLine(line, origin);
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
        EditedLine edited(EditLine());
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
        if (!RunEditedLine(session, history, edited.get(), origin))
            return 0;
    }
}

} // namespace

void RunInteractive(ConsoleSession& session) {
    rl_readline_name = kProgramName;
    // The signals are this program's own: the editor neither catches nor resends them. It
    // leaves the environment alone too.
    rl_catch_signals = 0;
    rl_change_environment = 0;
    rl_getc_function = ReadKey;
    // A pasted line break ends the line as a typed one does, so each pasted line runs.
    rl_variable_bind("enable-bracketed-paste", "off");
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
