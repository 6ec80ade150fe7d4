// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpCommand.h"

#include "HelpProtocol.h"

#include <QByteArray>

#include <algorithm>

namespace {

constexpr HelpCommand kUnknown{HelpCommandKind::Unknown, 0};
// A command has at most two words; a third is only looked for to refuse the line.
constexpr int kMaxWords = 3;

bool IsBlank(char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// The line's blank-separated words, as many as fit; returns how many the line holds, up to one
// more than fit.
int SplitWords(QByteArrayView line, QByteArrayView (&words)[kMaxWords]) {
    int count = 0;
    qsizetype at = 0;
    while (count < kMaxWords) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        if (at == line.size())
            break;
        const qsizetype start = at;
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
        words[count++] = line.sliced(start, at - start);
    }
    return count;
}

// topic-command: "topic" blank decimal-context
HelpCommand ParseTopic(QByteArrayView context) {
    // Digits only: toULong would take a sign, and stop quietly at a NUL byte.
    const bool digits = std::all_of(context.begin(), context.end(),
                                    [](char byte) { return byte >= '0' && byte <= '9'; });
    bool ok = false;
    const unsigned long value = context.toByteArray().toULong(&ok, 10);
    if (!ok || !digits)
        return kUnknown;
    return HelpCommand{HelpCommandKind::Topic, value};
}

} // namespace

HelpCommand ParseHelpCommand(QByteArrayView line) {
    QByteArrayView words[kMaxWords];
    const int count = SplitWords(line, words);
    if (count == 2 && words[0] == kHelpTopicCommand)
        return ParseTopic(words[1]);
    if (count != 1)
        return kUnknown;
    if (words[0] == kHelpStateCommand)
        return HelpCommand{HelpCommandKind::State, 0};
    if (words[0] == kHelpQuitCommand)
        return HelpCommand{HelpCommandKind::Quit, 0};
    return kUnknown;
}

QByteArray EscapedLine(QByteArrayView line) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    QByteArray escaped;
    escaped.reserve(line.size());
    for (const char byte : line) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\\') {
            escaped.append("\\\\", 2);
        } else if (code >= 0x20 && code < 0x7f) {
            escaped.append(byte);
        } else {
            const char hex[] = {'\\', 'x', kHexDigits[code >> 4], kHexDigits[code & 0xf]};
            escaped.append(hex, sizeof hex);
        }
    }
    return escaped;
}
