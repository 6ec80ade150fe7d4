// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultOutput.h"

#include <cstdio>
#include <cstring>

#include "ConsoleConstants.h"
#include "ValueFormat.h"

namespace {

constexpr std::string_view kListingLineEnd = "\r\n";

} // namespace

void PrintValue(FILE* out, double value, const ValueStyle& style) {
    char text[kValueTextSize];
    const size_t length = FormatValue(value, text, style);
    text[length] = '\n';
    // Only this thread writes, so the stream need not be locked for every value.
    fwrite_unlocked(text, 1, length + 1, out);
}

void PrintError(const OutputStreams& streams, bool afterBanner) {
    if (afterBanner)
        std::fputc('\n', streams.err);
    std::fputs("Error\n", streams.out);
}

void PrintListing(FILE* out, std::string_view listing) {
    while (!listing.empty()) {
        size_t end = listing.find(kListingLineEnd);
        if (end == std::string_view::npos) {
            std::fwrite(listing.data(), 1, listing.size(), out);
            return;
        }
        std::fwrite(listing.data(), 1, end, out);
        std::fputc('\n', out);
        listing.remove_prefix(end + kListingLineEnd.size());
    }
}

void PrintVariables(FILE* out, const VariableNode* first, const ValueStyle& style) {
    char text[kValueTextSize];
    for (const VariableNode* variable = first; variable != nullptr; variable = variable->next) {
        FormatValue(variable->value, text, style);
        std::fprintf(out, "%s = %s\n", variable->name, text);
    }
}

void ReportErrorLine(FILE* err, const LineOrigin& origin, std::string_view line) {
    std::fprintf(err, "%s:%ld: Error: ", origin.name, origin.number);
    std::fwrite(line.data(), 1, line.size(), err);
    std::fputc('\n', err);
}

void ReportUnreadable(FILE* err, const char* name, int error) {
    std::fprintf(err, "%s: %s: %s\n", kProgramName, name, std::strerror(error));
}

void FlushResults(FILE* out) {
    std::fflush(out);
}
