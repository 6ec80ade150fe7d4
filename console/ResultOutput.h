// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "EngineRecords.h"
#include "ValueFormat.h"

// Where results and messages go: standard output and standard error in the program, memory
// streams in the fuzz target.
struct OutputStreams {
    FILE* out = stdout; // results, one line per statement
    FILE* err = stderr; // messages that name a line or input
};

// Where a line came from, for the messages on standard error.
struct LineOrigin {
    const char* name; // the file as named, or "-" for standard input
    long number;      // counted from 1 in each input
};

// The value of a statement in the style asked for on the command line.
void PrintValue(FILE* out, double value, const ValueStyle& style);

// The result text of a failed statement. The engine's error banner, which has
// no line end, goes to the error stream; there a line end follows it, so the
// message after it stands alone.
void PrintError(const OutputStreams& streams, bool afterBanner);

// The engine's variable listing, its CR LF line ends turned into LF.
void PrintListing(FILE* out, std::string_view listing);

// The variables from first on as "name = value" lines, the values in style.
void PrintVariables(FILE* out, const VariableNode* first, const ValueStyle& style);

// "NAME:LINE: Error: " and the line as read, on err.
void ReportErrorLine(FILE* err, const LineOrigin& origin, std::string_view line);

// A file that could not be opened or read, with the system's reason.
void ReportUnreadable(FILE* err, const char* name, int error);

// Hands what was written so far to the terminal; called after each line in
// interactive mode only, since a flush per line would slow scripts down.
void FlushResults(FILE* out);
