// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleOptions.h"

#include <algorithm>
#include <string_view>

#include "ConsoleConstants.h"
#include "ExpressionEngine.h"
#include "TarvinVersion.h"

namespace {

constexpr const char* kUsageLine = "Usage: %s [OPTION]... [FILE]...\n";
constexpr const char* kUsageText =
    "Evaluate calculator statements, one per line, from each FILE in turn,\n"
    "or from standard input when no FILE is given. A FILE of - is standard input.\n"
    "On a terminal with no FILE and no -e, lines are read interactively after the\n"
    "prompt >, with Tab completion and a history kept across runs.\n"
    "\n"
    "  -e STATEMENT evaluate STATEMENT as a line of input; may be repeated. The\n"
    "               statements run in order before any FILE, and without a FILE\n"
    "               standard input is not read\n"
    "  --help       print this help and exit\n"
    "  --version    print the version and exit\n"
    "  --           take every later argument as a FILE\n"
    "\n";

// The paragraph on results and commands; the command words are filled in from the engine's
// table and the paragraph is wrapped to the width of the text above.
constexpr const char* kResultsBeforeWords =
    "Each statement prints its value, or Error; each Error also goes to standard error as "
    "NAME:LINE: Error: followed by the line. The words ";
constexpr const char* kResultsAfterWords = " at the start of a line are commands; help lists them.";
constexpr size_t kUsageWidth = 80;
constexpr std::string_view kStatementOption = "-e";

constexpr const char* kExitText =
    "\n"
    "Exit status: 0 if no line showed Error, 1 if one did, 2 if a FILE could not\n"
    "be read or the command line was wrong.\n";

// The engine's command words as "a, b and c".
std::string CommandWordList() {
    std::string list;
    for (int i = 0; const CommandWord* command = ExpressionEngine::CommandWordAt(i); ++i) {
        if (i > 0)
            list += ExpressionEngine::CommandWordAt(i + 1) ? ", " : " and ";
        list += command->word;
    }
    return list;
}

// Writes the words of text in lines of at most kUsageWidth characters.
void PrintWrapped(FILE* out, const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.size();
        if (end - start > kUsageWidth) {
            end = text.rfind(' ', start + kUsageWidth);
            if (end == std::string::npos || end <= start)
                end = std::min(text.find(' ', start), text.size());
        }
        std::fprintf(out, "%.*s\n", static_cast<int>(end - start), text.data() + start);
        start = end + 1;
    }
}

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

// Records one option; false when the option is unknown.
bool TakeOption(const std::string& argument, ConsoleOptions& options) {
    ConsoleAction wanted;
    if (argument == "--help")
        wanted = ConsoleAction::ShowHelp;
    else if (argument == "--version")
        wanted = ConsoleAction::ShowVersion;
    else
        return false;
    if (options.action == ConsoleAction::Run)
        options.action = wanted;
    return true;
}

bool IsStatementOption(const std::string& argument) {
    return argument.compare(0, kStatementOption.size(), kStatementOption) == 0;
}

// Takes the statement of -e from the argument itself or from the next one, moving i past what
// it used; false when there is no next argument.
bool TakeStatement(int argc, char** argv, int& i, ConsoleOptions& options) {
    std::string argument = argv[i];
    if (argument.size() > kStatementOption.size()) {
        options.statements.push_back(argument.substr(kStatementOption.size()));
        return true;
    }
    if (++i >= argc)
        return false;
    options.statements.push_back(argv[i]);
    return true;
}

ConsoleOptions UsageError(ConsoleOptions& options, const std::string& argument, bool missing) {
    options.action = ConsoleAction::UsageError;
    options.badArgument = argument;
    options.missingValue = missing;
    return options;
}

} // namespace

ConsoleOptions ParseArguments(int argc, char** argv) {
    ConsoleOptions options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (optionsEnded || !IsOption(argument))
            options.inputs.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (IsStatementOption(argument) && !TakeStatement(argc, argv, i, options))
            return UsageError(options, argument, true);
        else if (!IsStatementOption(argument) && !TakeOption(argument, options))
            return UsageError(options, argument, false);
    }
    return options;
}

void PrintUsage(FILE* out) {
    std::fprintf(out, kUsageLine, kProgramName);
    std::fputs(kUsageText, out);
    PrintWrapped(out, kResultsBeforeWords + CommandWordList() + kResultsAfterWords);
    std::fputs(kExitText, out);
}

void PrintVersion(FILE* out) {
    std::fprintf(out, "%s %s\n", kProgramName, TARVIN_VERSION);
}

void PrintUsageError(FILE* out, const ConsoleOptions& options) {
    const char* message =
        options.missingValue ? "%s: option '%s' needs a statement\n" : "%s: unknown option '%s'\n";
    std::fprintf(out, message, kProgramName, options.badArgument.c_str());
    PrintUsage(out);
}
