// SPDX-License-Identifier: GPL-3.0-or-later
// The ceiling for the throughput: reads a script line by line as tarvin-console does and
// scans every line with the engine's own lexer, storing nothing. It prints the number of
// lines and of tokens, which also keeps the compiler from dropping the scan.

#include "ExpressionEngine.h"
#include "ScriptLines.h"

#include <cstdio>

namespace {

// Counts the tokens of one line up to its end or a lexical error.
long ScanLine(const char* line) {
    char text[kTokenBufferSize];
    const char* position = line;
    int code = NEDEF;
    long count = 0;
    do {
        ExpressionEngine::NextToken(position, text, code);
        ++count;
    } while (code != EOLN && code != GRESKA);
    return count;
}

} // namespace

int main(int argc, char** argv) {
    long lines = 0;
    long tokens = 0;
    const int status = ForEachScriptLine(argc, argv, [&](const char* line) {
        tokens += ScanLine(line);
        ++lines;
    });
    if (status == 0)
        std::printf("%ld lines %ld tokens\n", lines, tokens);
    return status;
}
