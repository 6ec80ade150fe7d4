// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// What one run of the console program gave back.
struct ConsoleResult {
    std::string out;
    std::string err;
    // The exit status, or -1 when the program did not exit by itself (a signal,
    // or killed after the time limit).
    int status = -1;
};

// Runs the console program built with the tests, with the arguments and the
// input on its standard input, which is a pipe (so never a terminal). A run
// that takes longer than a generous limit is killed, so a test cannot hang.
ConsoleResult RunConsole(const std::vector<std::string>& arguments, const std::string& input);

// The path of the console program under test.
const char* ConsolePath();
