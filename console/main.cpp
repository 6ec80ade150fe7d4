// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "ConsoleConstants.h"
#include "ConsoleOptions.h"
#include "ConsoleSession.h"
#include "InteractiveLines.h"
#include "StreamLines.h"

namespace {

// Interactive only when nothing was given to run and a person is typing.
bool IsInteractive(const ConsoleOptions& options) {
    return options.inputs.empty() && options.statements.empty() && isatty(STDIN_FILENO);
}

// The -e statements, then the inputs; standard input only when neither was given.
void RunGiven(const ConsoleOptions& options, ConsoleSession& session) {
    if (!RunStatements(options.statements, session))
        return;
    if (options.inputs.empty() && options.statements.empty())
        RunStream(stdin, kStandardInputName, session);
    for (const std::string& name : options.inputs)
        if (!RunInput(name, session))
            return;
}

int RunInputs(const ConsoleOptions& options) {
    bool interactive = IsInteractive(options);
    ConsoleSession session(interactive, options.style, OutputStreams{stdout, stderr},
                           options.strict);
    if (interactive)
        RunInteractive(session);
    else
        RunGiven(options, session);
    return session.ExitStatus();
}

// Results that never reached their destination make the run a failure.
int CheckOutput(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: standard output: %s\n", kProgramName, std::strerror(errno));
        return kStatusFailure;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    ConsoleOptions options = ParseArguments(argc, argv);
    switch (options.action) {
    case ConsoleAction::ShowHelp:
        PrintUsage(stdout);
        return CheckOutput(kStatusSuccess);
    case ConsoleAction::ShowVersion:
        PrintVersion(stdout);
        return CheckOutput(kStatusSuccess);
    case ConsoleAction::UsageError:
        PrintUsageError(stderr, options);
        return kStatusFailure;
    case ConsoleAction::Run:
        break;
    }
    return CheckOutput(RunInputs(options));
}
