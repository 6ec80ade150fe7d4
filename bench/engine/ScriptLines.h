// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The line loop shared by the benchmark programs that read a script named on their command
// line: each line is handed over without its line feed, as the console reads it.

#include <cstdio>
#include <cstdlib>
#include <sys/types.h>

// Calls each(line) for every line of the script argv[1]; returns the exit status: 0, or 2
// for a wrong command line or an unreadable script.
template <typename Each> int ForEachScriptLine(int argc, char** argv, Each&& each) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCRIPT\n", argv[0]);
        return 2;
    }
    FILE* script = std::fopen(argv[1], "r");
    if (script == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    char* line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, script)) >= 0) {
        if (length > 0 && line[length - 1] == '\n')
            line[length - 1] = '\0';
        each(line);
    }
    std::free(line);
    std::fclose(script);
    return 0;
}
