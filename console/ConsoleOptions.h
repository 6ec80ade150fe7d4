// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ValueFormat.h"

// What the command line asks the program to do.
enum class ConsoleAction { Run, ShowHelp, ShowVersion, UsageError };

// What is wrong with a command line.
enum class UsageProblem { UnknownOption, MissingValue, BadDigits };

struct ConsoleOptions {
    ConsoleAction action = ConsoleAction::Run;
    // The inputs in the order given; "-" stands for standard input. Empty when
    // no FILE was named.
    std::vector<std::string> inputs;
    // The statements given with -e, in the order given; they run before the inputs.
    std::vector<std::string> statements;
    // How values are written: --digits N or --exact, the last one given.
    ValueStyle style;
    // --strict: a statement that reads a name no statement has set fails.
    bool strict = false;
    // The argument that made the command line wrong, for the message, and for a missing
    // value what the option calls it.
    std::string badArgument;
    UsageProblem problem = UsageProblem::UnknownOption;
    const char* missingValue = "";
};

// Reads the arguments after the program name with getopt_long, in order. Options may stand
// anywhere; "--" makes every later argument a FILE, so a file whose name starts with "-" can
// be named. "-e STATEMENT" and "-eSTATEMENT" add a statement. "--digits N" and "--digits=N" ask
// for N significant digits, "--exact" for the shortest text that reads back as the value; of
// these the last one counts. A long option may be shortened while it stays unambiguous. The
// first of --help and --version wins; an unknown option, an option without its value, or a
// digit count that is no whole number from kFewestDigits to kMostDigits makes the whole command
// line wrong, whatever else it holds.
ConsoleOptions ParseArguments(int argc, char** argv);

void PrintUsage(FILE* out);
void PrintVersion(FILE* out);
// The message for a wrong command line, followed by the usage text.
void PrintUsageError(FILE* out, const ConsoleOptions& options);
