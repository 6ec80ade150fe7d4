// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleOptions.h"

#include <algorithm>
#include <charconv>
#include <getopt.h>
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
    "  --strict     fail a statement that reads a name no statement has set, before\n"
    "               it changes anything (without it such a name reads as 0)\n"
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

// The code of the first long option, past every character.
constexpr int kFirstLongOption = 256;

// What getopt_long hands back for each option: its letter for a short one, a code from
// kFirstLongOption up for a long one.
enum class Option : int {
    Statement = 'e',
    Digits = kFirstLongOption,
    Exact,
    Strict,
    Help,
    Version,
};

// One option: its long name (null for a short option alone), its code, and what its value is
// called, null when it takes none; the messages and getopt_long's tables come from these rows.
struct OptionRow {
    const char* name;
    Option code;
    const char* value;
};

constexpr OptionRow kOptions[] = {
    {nullptr, Option::Statement, "a statement"},
    {"digits", Option::Digits, "a digit count"},
    {"exact", Option::Exact, nullptr},
    {"strict", Option::Strict, nullptr},
    {"help", Option::Help, nullptr},
    {"version", Option::Version, nullptr},
};

const OptionRow& RowOf(int code) {
    for (const OptionRow& row : kOptions)
        if (static_cast<int>(row.code) == code)
            return row;
    return kOptions[0];
}

// "-" first: the other arguments come back in order, as FILEs; ":" next: a missing value is
// told apart from an unknown option.
std::string ShortOptions() {
    std::string letters = "-:";
    for (const OptionRow& row : kOptions) {
        if (row.name != nullptr)
            continue;
        letters += static_cast<char>(row.code);
        if (row.value != nullptr)
            letters += ':';
    }
    return letters;
}

std::vector<option> LongOptions() {
    std::vector<option> options;
    for (const OptionRow& row : kOptions)
        if (row.name != nullptr)
            options.push_back({row.name, row.value != nullptr ? required_argument : no_argument,
                               nullptr, static_cast<int>(row.code)});
    options.push_back({nullptr, 0, nullptr, 0});
    return options;
}

// Notes what made the command line wrong; always false, for the caller to return.
bool Fail(ConsoleOptions& options, const std::string& argument, UsageProblem problem) {
    options.action = ConsoleAction::UsageError;
    options.badArgument = argument;
    options.problem = problem;
    return false;
}

// The argument that getopt_long has just found wrong: a short option by its letter, a long
// one as it was written, which the search has passed.
std::string WrongArgument(char** argv) {
    if (optopt > 0 && optopt < kFirstLongOption)
        return std::string("-") + static_cast<char>(optopt);
    return argv[optind - 1];
}

// Takes the digit count of --digits; false when it is no whole number in range.
bool TakeDigits(std::string_view count, ConsoleOptions& options) {
    int digits = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), digits);
    if (count.empty() || error != std::errc() || end != count.data() + count.size() ||
        digits < kFewestDigits || digits > kMostDigits)
        return Fail(options, std::string(count), UsageProblem::BadDigits);
    options.style = ValueStyle{ValueForm::Digits, digits};
    return true;
}

void Ask(ConsoleOptions& options, ConsoleAction wanted) {
    if (options.action == ConsoleAction::Run)
        options.action = wanted;
}

// Records one option that getopt_long found, with its value; false when the value is wrong.
bool TakeOption(Option code, const char* value, ConsoleOptions& options) {
    switch (code) {
    case Option::Statement:
        options.statements.emplace_back(value);
        return true;
    case Option::Digits:
        return TakeDigits(value, options);
    case Option::Exact:
        options.style = ValueStyle{ValueForm::Exact};
        return true;
    case Option::Strict:
        options.strict = true;
        return true;
    case Option::Help:
        Ask(options, ConsoleAction::ShowHelp);
        return true;
    case Option::Version:
        Ask(options, ConsoleAction::ShowVersion);
        return true;
    }
    return true;
}

// Records what getopt_long returned for one argument; false, with the problem noted, when the
// command line is wrong.
bool TakeArgument(int found, char** argv, ConsoleOptions& options) {
    if (found == 1) {
        options.inputs.emplace_back(optarg);
        return true;
    }
    if (found == ':') {
        options.missingValue = RowOf(optopt).value;
        return Fail(options, WrongArgument(argv), UsageProblem::MissingValue);
    }
    if (found == '?')
        return Fail(options, WrongArgument(argv), UsageProblem::UnknownOption);
    return TakeOption(static_cast<Option>(found), optarg, options);
}

} // namespace

ConsoleOptions ParseArguments(int argc, char** argv) {
    ConsoleOptions options;
    const std::string letters = ShortOptions();
    const std::vector<option> names = LongOptions();
    // A fresh search, whatever came before; the messages are the program's own.
    optind = 0;
    opterr = 0;
    for (int found;
         (found = getopt_long(argc, argv, letters.c_str(), names.data(), nullptr)) != -1;)
        if (!TakeArgument(found, argv, options))
            return options;
    // What follows "--".
    for (int i = optind; i < argc; ++i)
        options.inputs.emplace_back(argv[i]);
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
                     options.missingValue);
        break;
    case UsageProblem::BadDigits:
        std::fprintf(out, "%s: digit count '%s' is not a whole number from %d to %d\n",
                     kProgramName, argument, kFewestDigits, kMostDigits);
        break;
    }
    PrintUsage(out);
}
