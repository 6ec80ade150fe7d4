// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pieces every window benchmark shares: medians of timed samples and the
// rows of the benchmark table, tab-separated on standard output.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <vector>

namespace bench {

// The middle sample; the mean of the two middle ones for an even count.
inline double Median(std::vector<double> samples) {
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    std::size_t middle = samples.size() / 2;
    if (samples.size() % 2 == 1)
        return samples[middle];
    return (samples[middle - 1] + samples[middle]) / 2.0;
}

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// One row: section, item, value, unit, goal, verdict. An informational row
// passes "-" for goal and verdict.
inline void PrintRow(std::string_view section, std::string_view item, double value,
                     std::string_view unit, std::string_view goal, std::string_view verdict) {
    std::printf("%.*s\t%.*s\t%.3f\t%.*s\t%.*s\t%.*s\n", static_cast<int>(section.size()),
                section.data(), static_cast<int>(item.size()), item.data(), value,
                static_cast<int>(unit.size()), unit.data(), static_cast<int>(goal.size()),
                goal.data(), static_cast<int>(verdict.size()), verdict.data());
    std::fflush(stdout);
}

inline std::string_view Verdict(bool met) {
    return met ? "met" : "NOT met";
}

} // namespace bench
