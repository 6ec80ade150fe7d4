// SPDX-License-Identifier: GPL-3.0-or-later
// The listing of a large memory: creates the given number of distinct variables, then runs
// one more line with the listing asked for, again and again, and prints the median time of
// that line in microseconds and the listing's length.

#include "ExpressionEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Distinct names in a fixed order: v0, v1, ...
void CreateVariables(ExpressionEngine& engine, long count) {
    double value = 0.0;
    char line[64];
    for (long index = 0; index < count; ++index) {
        std::snprintf(line, sizeof line, "v%ld=%ld.5", index, index);
        engine.Calculate(line, &value, nullptr);
    }
}

double MedianPressMicroseconds(ExpressionEngine& engine, int repeats, std::string& listing) {
    std::vector<double> times;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        double value = 0.0;
        const auto start = std::chrono::steady_clock::now();
        engine.Calculate("ans=v17+1", &value, &listing);
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 10000;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 21;
    ExpressionEngine engine;
    CreateVariables(engine, count);
    std::string listing;
    const double median = MedianPressMicroseconds(engine, repeats, listing);
    std::printf("%.1f %zu\n", median, listing.size());
    return 0;
}
