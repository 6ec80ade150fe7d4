// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// What the command line asks the program to do.
enum class ConsoleAction { Run, ShowHelp, ShowVersion, UsageError };

struct ConsoleOptions {
    ConsoleAction action = ConsoleAction::Run;
    // The inputs in the order given; "-" stands for standard input. Empty when
    // no FILE was named.
    std::vector<std::string> inputs;
    // The argument that made the command line wrong, for the message.
    std::string badArgument;
};

// Reads the arguments after the program name. Options may stand anywhere; "--"
// makes every later argument a FILE, so a file whose name starts with "-" can
// be named. The first of --help and --version wins; an unknown option makes the
// whole command line wrong, whatever else it holds.
ConsoleOptions ParseArguments(int argc, char** argv);

void PrintUsage(FILE* out);
void PrintVersion(FILE* out);
// The message for a wrong command line, followed by the usage text.
void PrintUsageError(FILE* out, const std::string& badArgument);
