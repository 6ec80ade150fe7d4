// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the console's line handling. The input is what a script file holds. It
// is run once as the console reads a file (RunStream over the bytes) and once line by line, cut
// here at each LF with a CR before it removed, each line handed to a second session with its
// origin. Both runs write to captured streams. Then:
// - both runs print the same results and messages and end with the same status, so splitting,
//   CR LF and a last line without LF are handled as lines are defined;
// - each message on standard error is "fuzz:N: Error: " and line N exactly as read, N rising;
// - a line holding a NUL byte before any comment always gets a message;
// - each message on standard error may follow the engine's banner on a line of its own; the
//   banner never reaches standard output;
// - standard output holds one "Error" line per message, and the status is 1 exactly when
//   there was a message.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "ConsoleSession.h"
#include "LineScan.h"
#include "StreamLines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kInputName = "fuzz";
constexpr std::string_view kBannerLine = "\aGRESKA!!!!\n";

[[noreturn]] void Violation(const char* promise) {
    std::fprintf(stderr, "console fuzzer: %s\n", promise);
    std::abort();
}

// A memory stream that the session writes its results or its messages to during one run.
struct Capture {
    char* data = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&data, &size);
    ~Capture() {
        if (stream != nullptr)
            std::fclose(stream);
        std::free(data);
    }
    std::string Text() {
        std::fflush(stream);
        return std::string(data, size);
    }
};

struct RunResult {
    std::string out;
    std::string err;
    int status = -1;
};

// Runs a session that writes to captures; the process's own streams stay untouched.
template <typename Run> RunResult Captured(Run run) {
    Capture out, err;
    if (out.stream == nullptr || err.stream == nullptr)
        Violation("the test could not open its memory streams");
    ConsoleSession session(false, ValueStyle{}, OutputStreams{out.stream, err.stream});
    run(session);
    return RunResult{out.Text(), err.Text(), session.ExitStatus()};
}

// The lines of the input: cut at each LF, a CR right before it removed; what follows the last
// LF is a line when it is not empty.
std::vector<std::string> Lines(std::string_view input) {
    std::vector<std::string> lines;
    while (!input.empty()) {
        const size_t feed = input.find('\n');
        std::string_view line = input.substr(0, feed);
        if (feed != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        input.remove_prefix(feed == std::string_view::npos ? input.size() : feed + 1);
    }
    return lines;
}

// A NUL byte in a comment goes with the comment; one before it fails the line.
bool HoldsNulBeforeComment(std::string_view line) {
    return line.substr(0, CommentStart(line)).find('\0') != std::string_view::npos;
}

// Reads the messages one by one against the lines they name; returns how many there were.
size_t CheckMessages(std::string_view err, const std::vector<std::string>& lines) {
    const std::string prefix = std::string(kInputName) + ":";
    size_t count = 0;
    unsigned long last = 0;
    while (!err.empty()) {
        // The engine's banner for a lexical error stands on a line of its own before the message.
        if (err.substr(0, kBannerLine.size()) == kBannerLine)
            err.remove_prefix(kBannerLine.size());
        if (err.substr(0, prefix.size()) != prefix)
            Violation("a message does not name the input");
        err.remove_prefix(prefix.size());
        char* end = nullptr;
        const std::string digits(err.substr(0, err.find(':')));
        const unsigned long number = std::strtoul(digits.c_str(), &end, 10);
        if (digits.empty() || *end != '\0' || number <= last || number > lines.size())
            Violation("a message names no line, or names them out of order");
        err.remove_prefix(digits.size());
        const std::string rest = ": Error: " + lines[number - 1] + "\n";
        if (err.substr(0, rest.size()) != rest)
            Violation("a message does not quote its line as read");
        err.remove_prefix(rest.size());
        for (++last; last < number; ++last)
            if (HoldsNulBeforeComment(lines[last - 1]))
                Violation("a line holding a NUL byte got no message");
        ++count;
    }
    return count;
}

size_t CountErrorLines(std::string_view out) {
    size_t count = 0;
    for (size_t at = out.find("Error\n"); at != std::string_view::npos;
         at = out.find("Error\n", at + 1))
        count += at == 0 || out[at - 1] == '\n';
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = Lines(input);
    const RunResult streamed = Captured([&input](ConsoleSession& session) {
        FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
        if (in == nullptr)
            Violation("the test could not open its input stream");
        RunStream(in, kInputName, session);
        std::fclose(in);
    });
    const RunResult stepped = Captured([&lines](ConsoleSession& session) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (!session.RunLine(lines[i], LineOrigin{kInputName, static_cast<long>(i + 1)}))
                break;
    });
    if (streamed.out != stepped.out || streamed.err != stepped.err ||
        streamed.status != stepped.status)
        Violation("reading the input as a file and line by line disagree");
    const size_t messages = CheckMessages(streamed.err, lines);
    if (streamed.out.find(kBannerLine.substr(0, 1)) != std::string::npos)
        Violation("the banner reached standard output");
    if (CountErrorLines(streamed.out) != messages)
        Violation("standard output holds another number of Error lines than messages");
    if (streamed.status != (messages > 0 ? 1 : 0))
        Violation("the status does not follow the messages");
    return 0;
}
