// SPDX-License-Identifier: GPL-3.0-or-later
#include "InteractiveLines.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <editline/readline.h>

#include "Completion.h"
#include "ConsoleConstants.h"
#include "HistoryFile.h"

namespace {

constexpr const char* kPrompt = "> ";

struct EditLineFree {
    void operator()(char* line) const { std::free(line); }
};
using EditedLine = std::unique_ptr<char, EditLineFree>;

// Reads and runs lines until end of input or a quit command.
void ReadLines(ConsoleSession& session, HistoryFile& history) {
    LineOrigin origin{kStandardInputName, 0};
    for (;;) {
        EditedLine edited(readline(kPrompt));
        if (!edited) {
            // End of input leaves the cursor after the prompt; end that line.
            std::putchar('\n');
            return;
        }
        ++origin.number;
        std::string line = edited.get();
        if (!line.empty()) {
            add_history(line.c_str());
            RememberLine(history, line);
        }
        if (!session.RunLine(line, origin))
            return;
    }
}

} // namespace

void RunInteractive(ConsoleSession& session) {
    rl_readline_name = kProgramName;
    using_history();
    stifle_history(static_cast<int>(kHistoryLimit));
    HistoryFile history = LocateHistory();
    LoadHistory(history);
    for (const std::string& line : history.lines)
        add_history(line.c_str());
    InstallCompletion(session.Engine());
    ReadLines(session, history);
    SaveHistory(history);
}
