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

// The result text of a failed statement.
void PrintError(FILE* out);

// The engine's variable listing, its CR LF line ends turned into LF.
void PrintListing(FILE* out, std::string_view listing);

// The variables from first on as "name = value" lines, the values in style.
void PrintVariables(FILE* out, const VariableNode* first, const ValueStyle& style);

// The place in a line that a message points at: the byte offset in the line as read, or none.
constexpr size_t kNoPlace = std::string_view::npos;

// The most bytes of a line that a message echoes. A longer line is echoed around the place,
// with "..." where it is cut.
constexpr size_t kEchoBytes = 160;

// The message for a failed line, on err, in the form compilers write:
// "NAME:LINE:COLUMN: Error: REASON", the column counted in bytes from 1, then the line indented
// and escaped for a terminal (EscapedText.h), then a caret under the column. A failure with no
// place is "NAME:LINE: Error: REASON" alone.
void ReportFailedLine(FILE* err, const LineOrigin& origin, std::string_view line,
                      std::string_view reason, size_t place);

// "note: TEXT" on err.
void ReportNote(FILE* err, std::string_view text);

// A file that could not be opened or read, with the system's reason.
void ReportUnreadable(FILE* err, const char* name, int error);

// Hands what was written so far to the terminal; called after each line in
// interactive mode only, since a flush per line would slow scripts down.
void FlushResults(FILE* out);
