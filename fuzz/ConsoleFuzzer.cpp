// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the console's line handling. The input is what a script file holds. It
// is run once as the console reads a file (RunStream over the bytes) and once line by line, cut
// here at each LF with a CR before it removed, each line handed to a second session with its
// origin. Both runs write to captured streams. Then:
// - both runs print the same results and messages and end with the same status, so splitting,
//   CR LF and a last line without LF are handled as lines are defined;
// - each message on standard error names line N, N rising, as "fuzz:N:COLUMN: Error: REASON"
//   with the column within the line, then the line echoed (escaped, EscapedText.h) and a
//   caret, or as "fuzz:N: Error: REASON" alone; a line of at most kEchoBytes is echoed whole,
//   the caret under the character of the column;
// - standard error holds no control byte but the line ends, and no byte above 0x7e;
// - a line holding a NUL byte before any comment always gets a message;
// - the engine's banner reaches neither stream;
// - standard output holds one "Error" line per message, and the status is 1 exactly when
//   there was a message.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "ConsoleSession.h"
#include "EscapedText.h"
#include "LineScan.h"
#include "ResultOutput.h"
#include "StreamLines.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kInputName = "fuzz";
// The engine's banner begins with it; on standard error it would be a control byte.
constexpr char kBell = '\a';
constexpr std::string_view kEchoIndent = "    ";
constexpr std::string_view kCutMark = "...";

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

// Takes the next line of text, without its end, off the front of it.
std::string_view TakeLine(std::string_view& text) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos)
        Violation("a message does not end its line");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return line;
}

// Reads a number ended by ':' off the front of text; 0 when there is none.
unsigned long TakeNumber(std::string_view& text) {
    const size_t end = text.find(':');
    const std::string digits(text.substr(0, end));
    char* last = nullptr;
    const unsigned long number = std::strtoul(digits.c_str(), &last, 10);
    if (end == std::string_view::npos || digits.empty() || *last != '\0')
        return 0;
    text.remove_prefix(end + 1);
    return number;
}

// The echo and the caret after a message that names a column of line.
void CheckEcho(std::string_view& err, const std::string& line, unsigned long column) {
    const std::string_view echo = TakeLine(err);
    const std::string_view caret = TakeLine(err);
    if (echo.substr(0, kEchoIndent.size()) != kEchoIndent ||
        echo.size() > kEchoIndent.size() + 2 * kCutMark.size() + 4 * kEchoBytes)
        Violation("an echo is not indented, or longer than its bound");
    if (caret.find_first_not_of(' ') != caret.size() - 1 || caret.back() != '^' ||
        caret.size() > echo.size() + 1)
        Violation("a caret line is not a caret under the echo");
    if (line.size() > kEchoBytes)
        return;
    const std::string_view before(line.data(), column - 1);
    if (echo.substr(kEchoIndent.size()) != EscapedText(line) ||
        caret.size() - 1 != kEchoIndent.size() + EscapedLength(before))
        Violation("a short line is not echoed whole, or the caret is not under its column");
}

// Reads the messages one by one against the lines they name; returns how many there were.
size_t CheckMessages(std::string_view err, const std::vector<std::string>& lines) {
    const std::string prefix = std::string(kInputName) + ":";
    if (std::any_of(err.begin(), err.end(), [](char byte) {
            const auto code = static_cast<unsigned char>(byte);
            return (code < 0x20 && byte != '\n') || code > 0x7e;
        }))
        Violation("standard error holds a control byte or a byte above 0x7e");
    size_t count = 0;
    unsigned long last = 0;
    while (!err.empty()) {
        if (err.substr(0, prefix.size()) != prefix)
            Violation("a message does not name the input");
        err.remove_prefix(prefix.size());
        const unsigned long number = TakeNumber(err);
        if (number <= last || number > lines.size())
            Violation("a message names no line, or names them out of order");
        const std::string& line = lines[number - 1];
        const unsigned long column = TakeNumber(err);
        if (column > line.size() + 1)
            Violation("a message names a column past the end of its line");
        if (TakeLine(err).substr(0, 8) != " Error: ")
            Violation("a message does not say Error");
        if (column != 0)
            CheckEcho(err, line, column);
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
    if (streamed.out.find(kBell) != std::string::npos)
        Violation("the banner reached standard output");
    if (CountErrorLines(streamed.out) != messages)
        Violation("standard output holds another number of Error lines than messages");
    if (streamed.status != (messages > 0 ? 1 : 0))
        Violation("the status does not follow the messages");
    return 0;
}
