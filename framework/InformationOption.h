// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The options that every program answers before it opens a display: when --help or --version
// stands among the arguments before "--", prints on standard output the usage (a printf format
// that takes the program's name) or "PROGRAM VERSION". Returns the exit status then, 0, or 1
// when standard output failed; -1 when neither was asked for, and nothing is printed.
int AnswerInformationOption(int argc, char** argv, const char* program, const char* usage,
                            const char* version);
