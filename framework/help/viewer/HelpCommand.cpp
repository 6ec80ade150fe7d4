// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpCommand.h"

#include "HelpProtocol.h"

#include <QByteArray>
#include <QList>

#include <algorithm>

namespace {

constexpr HelpCommand kUnknown{HelpCommandKind::Unknown, 0};

// topic-command: "topic" blank decimal-context
HelpCommand ParseTopic(const QList<QByteArray>& words) {
    if (words.size() != 2)
        return kUnknown;
    // Digits only: toULong would take a sign, and stop quietly at a NUL byte.
    const bool digits = std::all_of(words[1].begin(), words[1].end(),
                                    [](char byte) { return byte >= '0' && byte <= '9'; });
    bool ok = false;
    const unsigned long context = words[1].toULong(&ok, 10);
    if (!ok || !digits)
        return kUnknown;
    return HelpCommand{HelpCommandKind::Topic, context};
}

} // namespace

HelpCommand ParseHelpCommand(QByteArrayView line) {
    const QList<QByteArray> words = line.toByteArray().simplified().split(' ');
    const QByteArray& verb = words.front();
    if (verb == kHelpTopicCommand)
        return ParseTopic(words);
    if (words.size() != 1)
        return kUnknown;
    if (verb == kHelpStateCommand)
        return HelpCommand{HelpCommandKind::State, 0};
    if (verb == kHelpQuitCommand)
        return HelpCommand{HelpCommandKind::Quit, 0};
    return kUnknown;
}

QByteArray EscapedLine(QByteArrayView line) {
    QByteArray escaped;
    escaped.reserve(line.size());
    for (const char byte : line) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\\')
            escaped += "\\\\";
        else if (code >= 0x20 && code < 0x7f)
            escaped += byte;
        else
            escaped += "\\x" + QByteArray::number(code, 16).rightJustified(2, '0');
    }
    return escaped;
}
