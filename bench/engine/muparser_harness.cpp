// SPDX-License-Identifier: GPL-3.0-or-later
// Parses and evaluates each line of a file with muparser and prints every value, so its
// results can be compared with the calculator's and its speed measured on the same script.
// A name that a line reads or assigns for the first time becomes a variable of its own.

#include <muParser.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <iostream>
#include <string>

namespace {

// Holds every variable's storage; a deque keeps the addresses muparser was given valid.
double* CreateVariable(const char*, void* store) {
    auto* values = static_cast<std::deque<double>*>(store);
    values->push_back(0.0);
    return &values->back();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCRIPT\n", argv[0]);
        return 2;
    }
    std::ifstream script(argv[1]);
    if (!script) {
        std::perror(argv[1]);
        return 2;
    }
    std::deque<double> values;
    mu::Parser parser;
    parser.SetVarFactory(CreateVariable, &values);
    std::string line;
    try {
        while (std::getline(script, line)) {
            parser.SetExpr(line);
            std::printf("%.17g\n", parser.Eval());
        }
    } catch (const mu::Parser::exception_type& error) {
        std::fprintf(stderr, "muparser: %s in %s\n", error.GetMsg().c_str(), line.c_str());
        return 1;
    }
    return 0;
}
