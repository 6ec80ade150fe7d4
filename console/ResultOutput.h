// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "EngineRecords.h"
#include "ValueFormat.h"

// Where a line came from, for the messages on standard error.
struct LineOrigin {
    const char* name; // the file as named, or "-" for standard input
    long number;      // counted from 1 in each input
};

// The value of a statement in the style asked for on the command line.
void PrintValue(double value, const ValueStyle& style);

// The result text of a failed statement. The engine's error banner, which has
// no line end, goes to standard error; there a line end follows it, so the
// message after it stands alone.
void PrintError(bool afterBanner);

// The engine's variable listing, its CR LF line ends turned into LF.
void PrintListing(std::string_view listing);

// The variables from first on as "name = value" lines, the values in style.
void PrintVariables(const VariableNode* first, const ValueStyle& style);

// "NAME:LINE: Error: " and the line as read, on standard error.
void ReportErrorLine(const LineOrigin& origin, std::string_view line);

// A file that could not be opened or read, with the system's reason.
void ReportUnreadable(const char* name, int error);

// Hands what was written so far to the terminal; called after each line in
// interactive mode only, since a flush per line would slow scripts down.
void FlushResults();
