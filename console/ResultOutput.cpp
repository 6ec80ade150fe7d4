#include "ResultOutput.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kProgramName = "tarvin-console";
constexpr std::string_view kListingLineEnd = "\r\n";
// Whole numbers below this have at most the six significant digits that "%g" shows.
constexpr double kWholeDigitsLimit = 1e6;

} // namespace

size_t FormatValue(double value, char (&text)[kValueTextSize]) {
    // A whole number of at most six digits is written by "%g" in full, with no point, so the
    // integer conversion gives the same text faster; negative zero keeps its sign below.
    if (std::fabs(value) < kWholeDigitsLimit && value == std::trunc(value) &&
        !(value == 0.0 && std::signbit(value))) {
        const auto whole = std::to_chars(text, text + kValueTextSize - 1, static_cast<long>(value));
        *whole.ptr = '\0';
        return static_cast<size_t>(whole.ptr - text);
    }
    // The general format with the precision of "%g" is defined as printf's own conversion.
    const auto written =
        std::to_chars(text, text + kValueTextSize - 1, value, std::chars_format::general, 6);
    *written.ptr = '\0';
    return static_cast<size_t>(written.ptr - text);
}

void PrintValue(double value) {
    char text[kValueTextSize];
    const size_t length = FormatValue(value, text);
    text[length] = '\n';
    std::fwrite(text, 1, length + 1, stdout);
}

void PrintError(bool afterBanner) {
    if (afterBanner)
        std::putchar('\n');
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
