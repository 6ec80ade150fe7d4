// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ConsoleConstants.h"
#include "EscapedText.h"
#include "ValueFormat.h"

namespace {

constexpr std::string_view kListingLineEnd = "\r\n";
// Stands before the echo of a line and its caret, setting them apart from the messages.
constexpr std::string_view kEchoIndent = "    ";
// Marks an end of the echo where the line was cut.
constexpr std::string_view kCutMark = "...";
// Bytes of the line that an echo keeps after the place, when it can.
constexpr size_t kEchoAfterPlace = kEchoBytes / 2;

// The part of the line that an echo shows: all of a line of at most kEchoBytes, else
// kEchoBytes around the place.
std::string_view EchoedPart(std::string_view line, size_t place) {
    if (line.size() <= kEchoBytes)
        return line;
    size_t start = 0;
    if (place + kEchoAfterPlace > kEchoBytes)
        start = std::min(place + kEchoAfterPlace - kEchoBytes, line.size() - kEchoBytes);
    return line.substr(start, kEchoBytes);
}

// The echo of the line, escaped, and the caret under the character at place, which the echo
// holds: the caret's column counts the escaped characters before it.
void PrintEcho(FILE* err, std::string_view line, size_t place) {
    const std::string_view part = EchoedPart(line, place);
    const size_t start = static_cast<size_t>(part.data() - line.data());
    std::string echo(kEchoIndent);
    if (start > 0)
        echo += kCutMark;
    const size_t caret = echo.size() + EscapedLength(line.substr(start, place - start));
    AppendEscaped(echo, part);
    if (start + part.size() < line.size())
        echo += kCutMark;
    echo += '\n';
    echo.append(caret, ' ');
    echo += "^\n";
    std::fwrite(echo.data(), 1, echo.size(), err);
}

} // namespace

void PrintValue(FILE* out, double value, const ValueStyle& style) {
    char text[kValueTextSize];
    const size_t length = FormatValue(value, text, style);
    text[length] = '\n';
    // Only this thread writes, so the stream need not be locked for every value.
    fwrite_unlocked(text, 1, length + 1, out);
}

void PrintError(FILE* out) {
    std::fputs("Error\n", out);
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

void ReportFailedLine(FILE* err, const LineOrigin& origin, std::string_view line,
                      std::string_view reason, size_t place) {
    std::fprintf(err, "%s:%ld:", origin.name, origin.number);
    if (place != kNoPlace)
        std::fprintf(err, "%zu:", place + 1);
    std::fprintf(err, " Error: %.*s\n", static_cast<int>(reason.size()), reason.data());
    if (place != kNoPlace)
        PrintEcho(err, line, std::min(place, line.size()));
}

void ReportNote(FILE* err, std::string_view text) {
    std::fprintf(err, "note: %.*s\n", static_cast<int>(text.size()), text.data());
}

void ReportUnreadable(FILE* err, const char* name, int error) {
    std::fprintf(err, "%s: %s: %s\n", kProgramName, name, std::strerror(error));
}

void FlushResults(FILE* out) {
    std::fflush(out);
}
