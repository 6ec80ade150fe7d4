// SPDX-License-Identifier: GPL-3.0-or-later
// Runs each line of a file through the engine and prints the value of every executed
// statement with full precision ("Error" for any other outcome), for the comparison with
// the peers; tarvin-console prints the same values with six significant digits only.

#include "ExpressionEngine.h"
#include "ScriptLines.h"

#include <cstdio>

int main(int argc, char** argv) {
    ExpressionEngine engine;
    return ForEachScriptLine(argc, argv, [&engine](const char* line) {
        double value = 0.0;
        if (engine.Calculate(line, &value, nullptr) == kStatementExecuted)
            std::printf("%.17g\n", value);
        else
            std::printf("Error\n");
    });
}
