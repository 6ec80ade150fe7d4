// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the help viewer's input: the command reader and the command parser. The
// first byte of an input sets how many bytes each read hands the reader; the rest is what the
// help engine would write, followed by the end of input. The reader is fed in process, as its
// descriptor would feed it, and is stopped at the first quit, as the viewer stops it. Then:
// - the lines received are the input's complete lines in order, up to the first quit, without
//   their '\n'; a line of at most the reader's bound is never lost, a longer one never comes,
//   however the reads split it, and the unfinished last line never comes;
// - the end of input is reported once, after the last line, unless a quit stopped the reader;
// - each line parses as its verb says: "topic" with one decimal word (and optionally the four
//   numbers of the owner's frame, and after them the four of the region to keep clear), "state"
//   and "quit" alone, surrounding blanks aside; anything else is unknown;
// - a line's escaped echo holds printable ASCII alone and gives the line back when unescaped.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "EscapedLine.h"
#include "HelpCommandReader.h"
#include "HelpProtocol.h"

#include <QList>

#include <algorithm>
#include <limits>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr qsizetype kLineBound = HelpCommandReader::kMaxLineBytes;

[[noreturn]] void Violation(const char* promise) {
    std::fprintf(stderr, "help command fuzzer: %s\n", promise);
    std::abort();
}

// What the reader handed on, and when.
struct Received {
    QList<QByteArray> lines;
    int ends = 0;
    bool lineAfterEnd = false;
    bool quit = false;
};

Received Feed(const char* payload, std::size_t size, std::size_t chunk) {
    Received received;
    HelpCommandReader reader(-1);
    QObject::connect(
        &reader, &HelpCommandReader::lineReceived, [&received, &reader](const QByteArray& line) {
            received.lineAfterEnd = received.lineAfterEnd || received.ends > 0 || received.quit;
            received.lines.append(line);
            if (ParseHelpCommand(line).kind == HelpCommandKind::Quit) {
                received.quit = true;
                reader.Stop();
            }
        });
    QObject::connect(&reader, &HelpCommandReader::endOfInput, [&received] { ++received.ends; });
    for (std::size_t at = 0; at < size; at += chunk)
        reader.Receive(QByteArrayView(payload + at, qsizetype(std::min(chunk, size - at))));
    reader.ReceiveEnd();
    return received;
}

// The complete lines of the payload, each without its '\n'.
QList<QByteArray> CompleteLines(const QByteArray& payload) {
    QList<QByteArray> lines = payload.split('\n');
    lines.removeLast(); // the part after the last '\n', which is no complete line
    return lines;
}

// The lines received must be the complete lines in order, up to the one that stopped the reader.
void CheckLines(const QList<QByteArray>& expected, const QList<QByteArray>& got, bool quit) {
    qsizetype next = 0;
    for (const QByteArray& line : expected) {
        if (quit && next == got.size())
            break;
        if (next < got.size() && got[next] == line && line.size() <= kLineBound)
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

// True when the four words from `first` on are a frame: four ints, a width and a height above
// 0, and edges that stay within the int range one step past them.
bool FrameFits(const QList<QByteArray>& words, int first) {
    long long numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const QByteArray& word = words[first + i];
        const QByteArray digits = word.startsWith('-') ? word.mid(1) : word;
        bool ok = false;
        numbers[i] = word.toInt(&ok);
        if (!IsDecimal(digits) || !ok || (i >= 2 && numbers[i] <= 0))
            return false;
    }
    for (int i = 0; i < 2; ++i) {
        if (numbers[i] == std::numeric_limits<int>::min() ||
            numbers[i] + numbers[i + 2] > std::numeric_limits<int>::max())
            return false;
    }
    return true;
}

// True when the words after the context are none, the owner's frame, or that frame and the
// region to keep clear.
bool FramesFit(const QList<QByteArray>& words) {
    return words.size() == 2 || (words.size() == 6 && FrameFits(words, 2)) ||
           (words.size() == 10 && FrameFits(words, 2) && FrameFits(words, 6));
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
    const bool topic = FramesFit(words) && words[0] == "topic" && IsDecimal(words[1]);
    const unsigned long context = topic ? words[1].toULong(&fits) : 0;
    if ((command.kind == HelpCommandKind::Topic) != (topic && fits))
        Violation("topic parsed wrongly");
    if (command.kind == HelpCommandKind::Topic && command.context != context)
        Violation("a topic command carries another context than its line");
}

// The value of the lower-case hexadecimal digit at `at`.
int HexValue(const QByteArray& echo, qsizetype at) {
    const char digit = at < echo.size() ? echo[at] : '?';
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    Violation("an echo holds a backslash that starts no escape");
}

void CheckEcho(const QByteArray& line) {
    const QByteArray echo = EscapedLine(line);
    QByteArray back;
    back.reserve(line.size());
    for (qsizetype at = 0; at < echo.size(); ++at) {
        const char byte = echo[at];
        if (byte < 0x20 || byte > 0x7e)
            Violation("an echo holds a byte that is no printable ASCII");
        if (byte != '\\') {
            back += byte;
        } else if (at + 1 < echo.size() && echo[at + 1] == '\\') {
            back += '\\';
            ++at;
        } else if (at + 1 < echo.size() && echo[at + 1] == 'x') {
            back += char(HexValue(echo, at + 2) * 16 + HexValue(echo, at + 3));
            at += 3;
        } else {
            Violation("an echo holds a backslash that starts no escape");
        }
    }
    if (back != line)
        Violation("an echo does not give its line back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] * 37u;
    const char* payload = reinterpret_cast<const char*>(data + 1);
    const Received received = Feed(payload, size - 1, chunk);
    if (received.ends != (received.quit ? 0 : 1))
        Violation("the end of input was reported after quit, or not exactly once without");
    if (received.lineAfterEnd)
        Violation("a line came after the end of input or after quit");
    CheckLines(CompleteLines(QByteArray(payload, static_cast<qsizetype>(size - 1))), received.lines,
               received.quit);
    for (const QByteArray& line : received.lines) {
        CheckCommand(line);
        CheckEcho(line);
    }
    return 0;
}
