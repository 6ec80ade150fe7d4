// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpDocument.h"

#include "HelpMarkup.h"
#include "RegularFile.h"

#include <QTextDocumentFragment>

#include <cstring>

// The file is scanned by hand, each character a bounded number of times, so the time to read
// it grows with its length alone, whatever it holds.

namespace {

// A help file larger than this is refused rather than read into memory.
constexpr qint64 kMaxHelpFileBytes = 16 * 1024 * 1024;

bool IsWordCharacter(QChar character) {
    return character.isLetterOrNumber() || character == u'_';
}

// True when "<name" (or "</name" when closing) stands at `at`, in any letter case.
bool TagAt(QStringView text, qsizetype at, QStringView name, bool closing) {
    const qsizetype nameAt = at + (closing ? 2 : 1);
    return text.size() - nameAt >= name.size() && (!closing || text[at + 1] == u'/') &&
           text.mid(nameAt, name.size()).compare(name, Qt::CaseInsensitive) == 0;
}

// True when a start tag of the name stands at `at`: "<name" and a word boundary after it.
bool StartTagAt(QStringView text, qsizetype at, QStringView name) {
    const qsizetype after = at + 1 + name.size();
    return TagAt(text, at, name, false) && (after >= text.size() || !IsWordCharacter(text[after]));
}

qsizetype FindStartTag(QStringView text, QStringView name, qsizetype from) {
    for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
        if (StartTagAt(text, at, name))
            return at;
    }
    return -1;
}

// The position after the end tag of the name ("</name", blanks, ">") at `at`, or -1.
qsizetype EndTagEnd(QStringView text, qsizetype at, QStringView name) {
    if (!TagAt(text, at, name, true))
        return -1;
    qsizetype after = at + 2 + name.size();
    while (after < text.size() && text[after].isSpace())
        ++after;
    return after < text.size() && text[after] == u'>' ? after + 1 : -1;
}

qsizetype FindEndTag(QStringView text, QStringView name, qsizetype from) {
    for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
        if (EndTagEnd(text, at, name) >= 0)
            return at;
    }
    return -1;
}

QString StripComments(QStringView html) {
    QString text;
    text.reserve(html.size());
    qsizetype from = 0;
    for (qsizetype open = html.indexOf(u"<!--"); open >= 0; open = html.indexOf(u"<!--", from)) {
        const qsizetype close = html.indexOf(u"-->", open + 4);
        if (close < 0)
            break;
        text += html.mid(from, open - from);
        from = close + 3;
    }
    text += html.mid(from);
    return text;
}

// The content of the first element with the tag, or an empty text.
QStringView FirstElementContent(QStringView html, QStringView tag) {
    const qsizetype open = FindStartTag(html, tag, 0);
    const qsizetype contentStart = open < 0 ? -1 : html.indexOf(u'>', open);
    const qsizetype close = contentStart < 0 ? -1 : FindEndTag(html, tag, contentStart + 1);
    return close < 0 ? QStringView() : html.mid(contentStart + 1, close - contentStart - 1);
}

HelpTopic MakeTopic(const QString& id, QStringView body) {
    const QString heading = HelpPlainText(FirstElementContent(body, u"h1"));
    return HelpTopic{id, heading.isEmpty() ? id : heading, body.toString()};
}

// A section's start tag read as HTML reads it: attributes with values in double quotes, single
// quotes or none. `end` is the position after its ">", or -1 when the text ends inside it.
struct SectionTag {
    qsizetype end = -1;
    bool hasId = false;
    QString id;
};

qsizetype SkipSpaces(QStringView text, qsizetype at) {
    while (at < text.size() && text[at].isSpace())
        ++at;
    return at;
}

// An attribute value at `at`; moves `at` past it, to -1 when a quote is never closed.
QStringView ReadValue(QStringView text, qsizetype& at) {
    const qsizetype start = at;
    if (text[at] == u'"' || text[at] == u'\'') {
        const qsizetype close = text.indexOf(text[at], at + 1);
        at = close < 0 ? -1 : close + 1;
        return close < 0 ? QStringView() : text.mid(start + 1, close - start - 1);
    }
    while (at < text.size() && !text[at].isSpace() && text[at] != u'>')
        ++at;
    return text.mid(start, at - start);
}

SectionTag ReadSectionTag(QStringView text, qsizetype at) {
    SectionTag tag;
    at += 1 + qsizetype(std::strlen("section"));
    while ((at = SkipSpaces(text, at)) < text.size()) {
        if (text[at] == u'>') {
            tag.end = at + 1;
            return tag;
        }
        const qsizetype nameStart = at;
        while (at < text.size() && !text[at].isSpace() && text[at] != u'=' && text[at] != u'>')
            ++at;
        const QStringView name = text.mid(nameStart, at - nameStart);
        at = SkipSpaces(text, at);
        if (at >= text.size() || text[at] != u'=')
            continue;
        at = SkipSpaces(text, at + 1);
        if (at >= text.size())
            break;
        const QStringView value = ReadValue(text, at);
        if (at < 0)
            break;
        if (!tag.hasId && name.compare(u"id", Qt::CaseInsensitive) == 0) {
            tag.hasId = true;
            tag.id = value.trimmed().toString();
        }
    }
    return tag;
}

// A section's body runs up to </section>, the next section or the end of the text. Returns
// where the body ends and sets `next` to where the search for the next section goes on.
qsizetype BodyEnd(QStringView text, qsizetype from, qsizetype& next) {
    for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
        const qsizetype endTagEnd = EndTagEnd(text, at, u"section");
        if (endTagEnd >= 0) {
            next = endTagEnd;
            return at;
        }
        if (StartTagAt(text, at, u"section")) {
            next = at;
            return at;
        }
    }
    next = text.size();
    return text.size();
}

void CollectTopics(QStringView html, std::vector<HelpTopic>& topics) {
    qsizetype at = FindStartTag(html, u"section", 0);
    while (at >= 0) {
        const SectionTag tag = ReadSectionTag(html, at);
        if (tag.end < 0)
            return;
        qsizetype next = 0;
        const qsizetype bodyEnd = BodyEnd(html, tag.end, next);
        if (tag.hasId)
            topics.push_back(MakeTopic(tag.id, html.mid(tag.end, bodyEnd - tag.end)));
        at = FindStartTag(html, u"section", next);
    }
}

} // namespace

QString TopicIdForContext(unsigned long context) {
    return QStringLiteral("0x") + QString::number(context, 16);
}

HelpDocument LoadHelpDocument(const QString& path) {
    HelpDocument document;
    document.path = path;
    const QByteArray bytes = ReadRegularFile(path, kMaxHelpFileBytes, document.error);
    if (!document.error.isEmpty())
        return document;
    return ParseHelpDocument(path, QString::fromUtf8(bytes));
}

HelpDocument ParseHelpDocument(const QString& path, const QString& html) {
    const QString text = StripComments(html);
    HelpDocument document;
    document.path = path;
    document.title = HelpPlainText(FirstElementContent(text, u"title"));
    document.style = FirstElementContent(text, u"style").toString();
    CollectTopics(text, document.topics);
    return document;
}

QString HelpPlainText(QStringView html) {
    if (!html.contains(u'<') && !html.contains(u'&'))
        return html.toString().simplified();
    if (!MarkupBeyondBounds(html).isEmpty())
        return QString();
    return QTextDocumentFragment::fromHtml(html.toString()).toPlainText().simplified();
}

const HelpTopic* FindHelpTopic(const HelpDocument& document, const QString& id) {
    for (const HelpTopic& topic : document.topics) {
        if (topic.id.compare(id, Qt::CaseInsensitive) == 0)
            return &topic;
    }
    return nullptr;
}
