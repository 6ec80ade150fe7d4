// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the help viewer's input: the command reader and the command parser. The
// first byte of an input sets how many bytes each write to the reader's pipe carries; the rest
// is what the help engine would write. The reader drains every write before the next, and the
// write end is closed at the end. Then:
// - the lines received are the input's complete lines in order, without their '\n'; a line of
//   at most the reader's bound (kMaxLineBytes in the reader) is never lost, a longer one comes
//   whole or not at all, and the unfinished last line never comes;
// - the end of input is reported exactly once, after the last line;
// - each line parses as its verb says: "topic" with one decimal word, "state" and "quit" alone,
//   surrounding blanks aside; anything else is unknown.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "HelpCommand.h"
#include "HelpCommandReader.h"

#include <QCoreApplication>
#include <QList>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The reader's bound on a line it keeps.
constexpr qsizetype kLineBound = 4096;
// Turns of the event loop that the reader gets to notice a closed pipe.
constexpr int kEndRounds = 100;

[[noreturn]] void Violation(const char* promise) {
    std::fprintf(stderr, "help command fuzzer: %s\n", promise);
    std::abort();
}

// What the reader handed on, and when.
struct Received {
    QList<QByteArray> lines;
    int ends = 0;
    bool lineAfterEnd = false;
};

bool Readable(int fd) {
    pollfd query{fd, POLLIN, 0};
    return poll(&query, 1, 0) > 0 && (query.revents & (POLLIN | POLLHUP)) != 0;
}

// Runs the event loop until the reader has taken everything waiting in the pipe.
void Drain(int fd) {
    do
        QCoreApplication::processEvents();
    while (Readable(fd));
}

void WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            Violation("the test could not write to its pipe");
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

Received Feed(const char* payload, std::size_t size, std::size_t chunk) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        Violation("the test could not open a pipe");
    Received received;
    {
        HelpCommandReader reader(fds[0]);
        QObject::connect(&reader, &HelpCommandReader::lineReceived,
                         [&received](const QByteArray& line) {
                             received.lineAfterEnd = received.lineAfterEnd || received.ends > 0;
                             received.lines.append(line);
                         });
        QObject::connect(&reader, &HelpCommandReader::endOfInput, [&received] { ++received.ends; });
        for (std::size_t at = 0; at < size; at += chunk) {
            WriteAll(fds[1], payload + at, std::min(chunk, size - at));
            Drain(fds[0]);
        }
        close(fds[1]);
        // The closed pipe stays readable, so the loop waits for the reader's report instead.
        for (int round = 0; round < kEndRounds && received.ends == 0; ++round)
            QCoreApplication::processEvents();
    }
    close(fds[0]);
    return received;
}

// The complete lines of the payload, each without its '\n'.
QList<QByteArray> CompleteLines(const QByteArray& payload) {
    QList<QByteArray> lines = payload.split('\n');
    lines.removeLast(); // the part after the last '\n', which is no complete line
    return lines;
}

void CheckLines(const QList<QByteArray>& expected, const QList<QByteArray>& got) {
    qsizetype next = 0;
    for (const QByteArray& line : expected) {
        if (next < got.size() && got[next] == line)
            ++next;
        else if (line.size() <= kLineBound)
            Violation("a line within the bound was lost or changed");
    }
    if (next != got.size())
        Violation("the reader handed on a line the input does not hold there");
}

bool IsDecimal(const QByteArray& word) {
    if (word.isEmpty())
        return false;
    for (char byte : word)
        if (byte < '0' || byte > '9')
            return false;
    return true;
}

// Checks the parse of one line against its blank-separated words.
void CheckCommand(const QByteArray& line) {
    const HelpCommand command = ParseHelpCommand(line);
    const QList<QByteArray> words = line.simplified().split(' ');
    const bool lone = words.size() == 1;
    if ((command.kind == HelpCommandKind::State) != (lone && words[0] == "state"))
        Violation("state parsed wrongly");
    if ((command.kind == HelpCommandKind::Quit) != (lone && words[0] == "quit"))
        Violation("quit parsed wrongly");
    bool fits = false;
    const bool topic = words.size() == 2 && words[0] == "topic" && IsDecimal(words[1]);
    const unsigned long context = topic ? words[1].toULong(&fits) : 0;
    if ((command.kind == HelpCommandKind::Topic) != (topic && fits))
        Violation("topic parsed wrongly");
    if (command.kind == HelpCommandKind::Topic && command.context != context)
        Violation("a topic command carries another context than its line");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] * 37u;
    const char* payload = reinterpret_cast<const char*>(data + 1);
    const Received received = Feed(payload, size - 1, chunk);
    if (received.ends != 1)
        Violation("the end of input was not reported exactly once");
    if (received.lineAfterEnd)
        Violation("a line came after the end of input");
    CheckLines(CompleteLines(QByteArray(payload, static_cast<qsizetype>(size - 1))),
               received.lines);
    for (const QByteArray& line : received.lines)
        CheckCommand(line);
    return 0;
}
