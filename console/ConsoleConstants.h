// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Names and exit statuses that several parts of the console share.

// The program's name, as its messages and its version line give it.
constexpr const char* kProgramName = "tarvin-console";

// The input name that stands for standard input, on the command line and in messages.
constexpr const char* kStandardInputName = "-";

// The origin that messages give for the statements of -e.
constexpr const char* kStatementOrigin = "-e";

// Exit statuses: no line showed Error; a line did; an input could not be read, the command
// line was wrong or the results could not be written.
constexpr int kStatusSuccess = 0;
constexpr int kStatusLineError = 1;
constexpr int kStatusFailure = 2;
