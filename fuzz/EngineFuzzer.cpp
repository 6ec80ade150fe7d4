// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the expression engine. Each input is cut into lines at the line feeds,
// and the lines go one after the other to one fresh engine through Calculate, as the window
// would send them. After every line the engine must keep its promises, and the first broken
// one aborts the run so that libFuzzer saves the input:
// - Calculate answers 0, -1, 2, 3 or 4, and leaves no token list behind;
// - the result is written only when the answer is 0;
// - the listing holds one "name = value\r\n" line per variable, each name a valid identifier
//   of at most kMaxNameLength characters, in strictly ascending byte order, and it agrees
//   with the variable list itself;
// - a line that fails (-1), the help and the listing command change nothing, neither the
//   listing nor any name or value bit of the memory;
// - a line that fails, and only such a line, gets a reason, and its place lies in the line;
// - the clear command leaves the memory and the listing empty;
// - the engine's index holds exactly the listed variables: each name found at its own node
//   and placed between its neighbours, nothing else.
// A line holding a NUL byte reaches the engine cut at that byte, as any C caller would pass it.

#include "ExpressionEngine.h"
#include "VariableIndexCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// Stands in the result before each call; any write by Calculate changes its bits.
constexpr double kUntouchedResult = -12345.678;

[[noreturn]] void Violation(const char* promise, const std::string& line) {
    std::fprintf(stderr, "engine fuzzer: %s\n  line: \"%s\"\n", promise, line.c_str());
    std::abort();
}

bool IsNameByte(char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '_';
}

// A name as the lexer makes it: letters, digits and underscores, not only underscores, and
// short enough for a variable's name field.
bool IsValidName(std::string_view name) {
    if (name.empty() || name.size() > static_cast<std::size_t>(kMaxNameLength))
        return false;
    bool hasOtherThanUnderscore = false;
    for (char byte : name) {
        if (!IsNameByte(byte))
            return false;
        hasOtherThanUnderscore = hasOtherThanUnderscore || byte != '_';
    }
    return hasOtherThanUnderscore;
}

// Byte order with the bytes taken as unsigned values, a prefix sorting first.
bool SortsBefore(std::string_view left, std::string_view right) {
    const int order = std::memcmp(left.data(), right.data(), std::min(left.size(), right.size()));
    return order < 0 || (order == 0 && left.size() < right.size());
}

// A node's name, read no further than its field even when its NUL is missing.
std::string_view NodeName(const VariableNode* node) {
    return std::string_view(node->name, strnlen(node->name, kNameSize));
}

// Walks the listing line by line against the variable list, node by node.
const char* CheckListing(const std::string& listing, const VariableNode* variables) {
    std::string_view rest(listing);
    std::string_view previous;
    const VariableNode* node = variables;
    for (bool first = true; !rest.empty(); first = false, node = node->next) {
        const std::size_t end = rest.find("\r\n");
        const std::size_t separator = rest.find(" = ");
        if (end == std::string_view::npos || separator == std::string_view::npos || separator > end)
            return "a listing line lacks its \" = \" or its CR LF";
        const std::string_view name = rest.substr(0, separator);
        if (!IsValidName(name))
            return "the listing holds a name that is no valid identifier";
        if (!first && !SortsBefore(previous, name))
            return "the listing is not in strictly ascending name order";
        if (node == nullptr || name != NodeName(node))
            return "the listing and the variable list disagree";
        previous = name;
        rest.remove_prefix(end + 2);
    }
    return node == nullptr ? nullptr : "the variable list holds more variables than the listing";
}

constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

// FNV-1a over every name and the exact bits of every value, so that a change the listing's six
// decimals would hide still shows.
std::uint64_t MemoryFingerprint(const VariableNode* variables) {
    std::uint64_t hash = kFnvOffsetBasis;
    auto mix = [&hash](const void* bytes, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            hash ^= static_cast<const unsigned char*>(bytes)[i];
            hash *= kFnvPrime;
        }
    };
    for (const VariableNode* node = variables; node != nullptr; node = node->next) {
        const std::string_view name = NodeName(node);
        const char separator = '\0';
        mix(name.data(), name.size());
        mix(&separator, 1);
        mix(&node->value, sizeof node->value);
    }
    return hash;
}

bool ResultTouched(double result) {
    return std::memcmp(&result, &kUntouchedResult, sizeof result) != 0;
}

// Runs one line and checks what the engine promises after it.
void RunLine(ExpressionEngine& engine, const std::string& line, std::string& listing) {
    const std::string before = listing;
    const std::uint64_t fingerprint = MemoryFingerprint(engine.variables);
    double result = kUntouchedResult;
    LineReport report;
    const int outcome = engine.Calculate(line.c_str(), &result, &listing, report);
    if (outcome != kStatementExecuted && outcome != kNoStatement && outcome != kHelpCommand &&
        outcome != kListCommand && outcome != kClearCommand)
        Violation("Calculate answered a value that is none of its results", line);
    if (engine.tokens != nullptr)
        Violation("Calculate left a token list behind", line);
    if (outcome != kStatementExecuted && ResultTouched(result))
        Violation("Calculate wrote the result of a line that executed nothing", line);
    if (const char* broken = CheckListing(listing, engine.variables))
        Violation(broken, line);
    if (const char* broken = IndexDisagreement(engine.index, engine.variables))
        Violation(broken, line);
    if ((outcome == kNoStatement) != (report.failure != FR_NONE) || report.failure < FR_NONE ||
        report.failure >= FAILURE_REASON_COUNT)
        Violation("a line that executed nothing has no reason, or one that ran has one", line);
    if (report.failure != FR_OUT_OF_MEMORY && report.offset > std::strlen(line.c_str()))
        Violation("a reason points past the end of the line", line);
    if (outcome == kClearCommand && (engine.variables != nullptr || !listing.empty()))
        Violation("the clear command left variables behind", line);
    if (outcome != kStatementExecuted && outcome != kClearCommand &&
        (listing != before || MemoryFingerprint(engine.variables) != fingerprint))
        Violation("a line that executed nothing changed the memory", line);
}

} // namespace

// The engine writes its help text and error banner to standard output; libFuzzer reports on
// standard error, so standard output goes to /dev/null once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ExpressionEngine engine;
    std::string listing;
    std::string line;
    const char* text = reinterpret_cast<const char*>(data);
    std::size_t start = 0;
    while (start <= size) {
        const void* feed = start < size ? std::memchr(text + start, '\n', size - start) : nullptr;
        const std::size_t end = feed != nullptr ? static_cast<const char*>(feed) - text : size;
        line.assign(text + start, end - start);
        RunLine(engine, line, listing);
        start = end + 1;
    }
    return 0;
}
