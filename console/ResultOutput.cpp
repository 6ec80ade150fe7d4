// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultOutput.h"

#include <cstdio>
#include <cstring>

#include "ConsoleConstants.h"
#include "ValueFormat.h"

namespace {

constexpr std::string_view kListingLineEnd = "\r\n";

} // namespace

void PrintValue(double value, const ValueStyle& style) {
    char text[kValueTextSize];
    const size_t length = FormatValue(value, text, style);
    text[length] = '\n';
    // Only this thread writes, so the stream need not be locked for every value.
    fwrite_unlocked(text, 1, length + 1, stdout);
}

void PrintError(bool afterBanner) {
    if (afterBanner)
        std::fputc('\n', stderr);
    std::fputs("Error\n", stdout);
}

void PrintListing(std::string_view listing) {
    while (!listing.empty()) {
        size_t end = listing.find(kListingLineEnd);
        if (end == std::string_view::npos) {
            std::fwrite(listing.data(), 1, listing.size(), stdout);
            return;
        }
        std::fwrite(listing.data(), 1, end, stdout);
        std::putchar('\n');
        listing.remove_prefix(end + kListingLineEnd.size());
    }
}

void PrintVariables(const VariableNode* first, const ValueStyle& style) {
    char text[kValueTextSize];
    for (const VariableNode* variable = first; variable != nullptr; variable = variable->next) {
        FormatValue(variable->value, text, style);
        std::printf("%s = %s\n", variable->name, text);
    }
}

void ReportErrorLine(const LineOrigin& origin, std::string_view line) {
    std::fprintf(stderr, "%s:%ld: Error: ", origin.name, origin.number);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
}

void ReportUnreadable(const char* name, int error) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgramName, name, std::strerror(error));
}

void FlushResults() {
    std::fflush(stdout);
}
