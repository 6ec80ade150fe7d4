// The ceiling for the throughput: reads a script line by line as tarvin-console does and
// scans every line with the engine's own lexer, storing nothing. It prints the number of
// lines and of tokens, which also keeps the compiler from dropping the scan.

#include "ExpressionEngine.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Counts the tokens of one line up to its end or a lexical error.
long ScanLine(const char* line) {
    char text[TOKEN_BUFFER_SIZE];
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
    long lines = 0;
    long tokens = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, script)) >= 0) {
        if (length > 0 && line[length - 1] == '\n')
            line[length - 1] = '\0';
        tokens += ScanLine(line);
        ++lines;
    }
    std::free(line);
    std::fclose(script);
    std::printf("%ld lines %ld tokens\n", lines, tokens);
    return 0;
}
