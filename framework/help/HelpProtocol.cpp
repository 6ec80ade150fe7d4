// SPDX-License-Identifier: GPL-3.0-or-later
// Both sides of the pipe between the help engine and its viewer: the lines the engine writes,
// how the viewer reads them, and the viewer's state reply.
#include "HelpProtocol.h"

#include <algorithm>
#include <limits>

namespace {

constexpr HelpCommand kUnknown{HelpCommandKind::Unknown, 0};
// A command has at most ten words; an eleventh is only looked for to refuse the line.
constexpr int kMaxWords = 11;
constexpr int kTopicWords = 2;
constexpr int kFrameWords = 4;
constexpr int kTopicWithOwnerWords = kTopicWords + kFrameWords;
constexpr int kTopicWithKeepClearWords = kTopicWithOwnerWords + kFrameWords;

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

// A decimal number that fits an int, with an optional leading '-'.
bool ParseInt(QByteArrayView word, int& value) {
    const QByteArrayView digits = word.startsWith('-') ? word.sliced(1) : word;
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    bool ok = false;
    value = word.toByteArray().toInt(&ok, 10);
    return ok;
}

// The frame "x y width height" of the four words from `from` on; a null frame when any is no
// number or the frame is empty.
QRect ParseFrame(const QByteArrayView (&words)[kMaxWords], int from) {
    int numbers[kFrameWords] = {};
    for (int i = 0; i < kFrameWords; ++i) {
        if (!ParseInt(words[from + i], numbers[i]))
            return QRect();
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return QRect();
    // QRect keeps its edges as ints and steps one past them: a frame whose edges or the
    // places next to them leave the int range is refused rather than overflowing there.
    for (int i = 0; i < 2; ++i) {
        const long long first = numbers[i];
        if (first == std::numeric_limits<int>::min() ||
            first + numbers[i + 2] > std::numeric_limits<int>::max())
            return QRect();
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
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
    if (count == kTopicWords && words[0] == kHelpTopicCommand)
        return ParseTopic(words[1]);
    if ((count == kTopicWithOwnerWords || count == kTopicWithKeepClearWords) &&
        words[0] == kHelpTopicCommand) {
        HelpCommand command = ParseTopic(words[1]);
        command.owner = ParseFrame(words, kTopicWords);
        if (count == kTopicWithKeepClearWords)
            command.keepClear = ParseFrame(words, kTopicWithOwnerWords);
        const bool framesGiven = !command.owner.isNull() &&
                                 (count == kTopicWithOwnerWords || !command.keepClear.isNull());
        return command.kind == HelpCommandKind::Topic && framesGiven ? command : kUnknown;
    }
    if (count != 1)
        return kUnknown;
    if (words[0] == kHelpStateCommand)
        return HelpCommand{HelpCommandKind::State, 0};
    if (words[0] == kHelpQuitCommand)
        return HelpCommand{HelpCommandKind::Quit, 0};
    return kUnknown;
}

namespace {

void AppendFrame(QByteArray& line, const QRect& frame) {
    for (const int number : {frame.x(), frame.y(), frame.width(), frame.height()})
        line += ' ' + QByteArray::number(number);
}

} // namespace

QByteArray HelpTopicLine(unsigned long context, const QRect& ownerFrame, const QRect& keepClear) {
    QByteArray line = QByteArray(kHelpTopicCommand) + ' ' + QByteArray::number(context);
    if (ownerFrame.isValid()) {
        AppendFrame(line, ownerFrame);
        if (keepClear.isValid())
            AppendFrame(line, keepClear);
    }
    return line;
}

QByteArray HelpStateReply(const QString& page, bool visible) {
    return QByteArray(kHelpStateReply) + ' ' + page.toUtf8() + ' ' +
           (visible ? "visible" : "hidden") + '\n';
}
