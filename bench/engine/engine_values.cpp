// Runs each line of a file through the engine and prints the value of every executed
// statement with full precision ("Error" for any other outcome), for the comparison with
// the peers; tarvin-console prints the same values with six significant digits only.

#include "ExpressionEngine.h"

#include <cstdio>
#include <cstdlib>

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
    ExpressionEngine engine;
    char* line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, script)) >= 0) {
        if (length > 0 && line[length - 1] == '\n')
            line[length - 1] = '\0';
        double value = 0.0;
        if (engine.Calculate(line, &value, nullptr) == 0)
            std::printf("%.17g\n", value);
        else
            std::printf("Error\n");
    }
    std::free(line);
    std::fclose(script);
    return 0;
}
