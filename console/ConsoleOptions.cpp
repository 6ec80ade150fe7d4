// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleOptions.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "ConsoleConstants.h"
#include "ExpressionEngine.h"
#include "ResultOutput.h"
#include "TarvinVersion.h"

namespace {

constexpr const char* kUsageLine = "Usage: %s [OPTION]... [FILE]...\n";
constexpr const char* kUsageText =
    "Evaluate calculator statements, one per line, from each FILE in turn,\n"
    "or from standard input when no FILE is given. A FILE of - is standard input.\n"
    "On a terminal with no FILE and no -e, lines are read interactively after the\n"
    "prompt \"> \", with Tab completion and a history kept across runs.\n"
    "\n"
    "  -e STATEMENT evaluate STATEMENT as a line of input; may be repeated. The\n"
    "               statements run in order before any FILE, and without a FILE\n"
    "               standard input is not read\n"
    "  --digits N   print values with N significant digits, N from 1 to 17\n"
    "               (0.1+0.2 with 17 gives 0.30000000000000004)\n"
    "  --exact      print the shortest number that reads back as the same value\n"
    "               (0.1+0.2 gives 0.30000000000000004, 2^40 gives 1099511627776)\n"
    "  --help       print this help and exit\n"
    "  --version    print the version and exit\n"
    "  --           take every later argument as a FILE\n"
    "\n"
    "Without --digits or --exact, values show at most six significant digits, as\n"
    "the window's result field shows them; of the two, the last one given counts.\n"
    "A # starts a comment that runs to the end of the line; a line holding only a\n"
    "comment is skipped like a blank one.\n"
    "\n";

// The paragraph on results and commands; the command words are filled in from the engine's
// table and the paragraph is wrapped to the width of the text above.
constexpr const char* kResultsBeforeBound =
    "Each statement prints its value, or Error; each Error also goes to standard error as "
    "NAME:LINE:COLUMN: Error: REASON, the column counted in bytes, then the line and a caret "
    "under the column. The line shows control bytes and bytes above 127 as \\xHH and at most ";
constexpr const char* kResultsBeforeWords = " bytes around the column. The words ";
constexpr const char* kResultsAfterWords = " at the start of a line are commands; help lists them.";
constexpr size_t kUsageWidth = 80;
constexpr std::string_view kStatementOption = "-e";
constexpr std::string_view kDigitsOption = "--digits";
constexpr std::string_view kExactOption = "--exact";

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
    else if (argument == kExactOption) {
        options.style = ValueStyle{ValueForm::Exact};
        return true;
    } else
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

// Notes what made the command line wrong; always false, for the caller to return.
bool Fail(ConsoleOptions& options, const std::string& argument, UsageProblem problem) {
    options.action = ConsoleAction::UsageError;
    options.badArgument = argument;
    options.problem = problem;
    return false;
}

// "--digits" alone takes the next argument; "--digits=N" carries its count.
bool IsDigitsOption(const std::string& argument) {
    return argument == kDigitsOption ||
           (argument.starts_with(kDigitsOption) && argument[kDigitsOption.size()] == '=');
}

// Takes the digit count of --digits, moving i past what it used; false when there is none or
// it is no whole number in range.
bool TakeDigits(int argc, char** argv, int& i, ConsoleOptions& options) {
    std::string_view count = argv[i];
    if (count == kDigitsOption) {
        if (++i >= argc)
            return Fail(options, argv[i - 1], UsageProblem::MissingValue);
        count = argv[i];
    } else {
        count.remove_prefix(kDigitsOption.size() + 1);
    }
    int digits = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), digits);
    if (count.empty() || error != std::errc() || end != count.data() + count.size() ||
        digits < kFewestDigits || digits > kMostDigits)
        return Fail(options, std::string(count), UsageProblem::BadDigits);
    options.style = ValueStyle{ValueForm::Digits, digits};
    return true;
}

// Records the option at argv[i], moving i past a value it used; false, with the problem
// noted, when the option is wrong.
bool TakeOptionAt(int argc, char** argv, int& i, ConsoleOptions& options) {
    const std::string argument = argv[i];
    if (IsStatementOption(argument))
        return TakeStatement(argc, argv, i, options) ||
               Fail(options, argument, UsageProblem::MissingValue);
    if (IsDigitsOption(argument))
        return TakeDigits(argc, argv, i, options);
    return TakeOption(argument, options) || Fail(options, argument, UsageProblem::UnknownOption);
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
        else if (!TakeOptionAt(argc, argv, i, options))
            return options;
    }
    return options;
}

void PrintUsage(FILE* out) {
    std::fprintf(out, kUsageLine, kProgramName);
    std::fputs(kUsageText, out);
    PrintWrapped(out, kResultsBeforeBound + std::to_string(kEchoBytes) + kResultsBeforeWords +
                          CommandWordList() + kResultsAfterWords);
    std::fputs(kExitText, out);
}

void PrintVersion(FILE* out) {
    std::fprintf(out, "%s %s\n", kProgramName, TARVIN_VERSION);
}

void PrintUsageError(FILE* out, const ConsoleOptions& options) {
    const char* const argument = options.badArgument.c_str();
    switch (options.problem) {
    case UsageProblem::UnknownOption:
        std::fprintf(out, "%s: unknown option '%s'\n", kProgramName, argument);
        break;
    case UsageProblem::MissingValue:
        std::fprintf(out, "%s: option '%s' needs %s\n", kProgramName, argument,
                     argument == kDigitsOption ? "a digit count" : "a statement");
        break;
    case UsageProblem::BadDigits:
        std::fprintf(out, "%s: digit count '%s' is not a whole number from %d to %d\n",
                     kProgramName, argument, kFewestDigits, kMostDigits);
        break;
    }
    PrintUsage(out);
}
