// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <source_location>
#include <string>
#include <sys/resource.h>
#include <vector>

// What one run of the console program gave back.
struct ConsoleResult {
    std::string out;
    std::string err;
    // The exit status, or -1 when the program did not exit by itself (a signal,
    // or killed after the time limit).
    int status = -1;
};

// How a run differs from the plain one.
struct ConsoleSetup {
    // The most address space the program may take, in bytes; 0 for no bound.
    rlim_t memoryLimit = 0;
    // The program is killed when it runs longer.
    std::chrono::seconds timeLimit{30};
    // Standard output appended to this file instead of a pipe read by the test.
    std::string outputFile;
    // Standard output a pipe that nobody reads: its read end is closed at the start.
    bool outputClosed = false;
    // The input written again and again, until the program stops reading.
    bool inputRepeated = false;
};

// Runs the console program built with the tests, with the arguments and the
// input on its standard input, which is a pipe (so never a terminal). A run
// that takes longer than a generous limit is killed, so a test cannot hang.
ConsoleResult RunConsole(const std::vector<std::string>& arguments, const std::string& input);
ConsoleResult RunConsole(const std::vector<std::string>& arguments, const std::string& input,
                         const ConsoleSetup& setup);

// The path of the console program under test.
const char* ConsolePath();

// The message for a failed line at where ("NAME:LINE:COLUMN"): the reason, then the line as the
// console echoes it, indented, then a caret under the echo's character at caret.
std::string FailureMessage(const std::string& where, const std::string& reason,
                           const std::string& echo, size_t caret);

// Checks a run's standard output, standard error and exit status, each on its own, so a
// failure names every one that differs; a failure is reported at the caller's line.
void ExpectRun(const ConsoleResult& result, const std::string& out, const std::string& err,
               int status, std::source_location where = std::source_location::current());
