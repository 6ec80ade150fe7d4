// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpMarkup.h"

#include <QStringTokenizer>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace {

bool IsNameCharacter(QChar character) {
    return character.isLetterOrNumber() || character == u'-' || character == u'_' ||
           character == u':';
}

// The tag name that starts at `at`, in lower case, and the position after it.
QString ReadName(QStringView html, qsizetype& at) {
    const qsizetype start = at;
    while (at < html.size() && IsNameCharacter(html[at]))
        ++at;
    return html.mid(start, at - start).toString().toLower();
}

bool IsEmptyElement(const QString& name) {
    return name == u"br" || name == u"hr" || name == u"img";
}

bool ClosesItsOwnKind(const QString& name) {
    return name == u"p" || name == u"li";
}

// The open elements, innermost last, with the number of tables among them.
class OpenElements {
public:
    void Open(const QString& name) {
        if (!m_names.empty() && m_names.back() == name && ClosesItsOwnKind(name))
            Pop();
        m_names.push_back(name);
        m_tables += name == u"table" ? 1 : 0;
    }
    void Close(const QString& name) {
        for (auto it = m_names.rbegin(); it != m_names.rend(); ++it) {
            if (*it == name) {
                const std::size_t keep = m_names.size() - 1 - std::size_t(it - m_names.rbegin());
                while (m_names.size() > keep)
                    Pop();
                return;
            }
        }
    }
    std::size_t Depth() const { return m_names.size(); }
    int Tables() const { return m_tables; }

private:
    void Pop() {
        m_tables -= m_names.back() == u"table" ? 1 : 0;
        m_names.pop_back();
    }
    std::vector<QString> m_names;
    int m_tables = 0;
};

// True when a tag starts at `at`, as the browser reads one: "<" and a letter, "/", "!" or "?".
bool TagStartsAt(QStringView html, qsizetype at) {
    if (html[at] != u'<' || at + 1 >= html.size())
        return false;
    const QChar next = html[at + 1];
    return next.isLetter() || next == u'/' || next == u'!' || next == u'?';
}

// Elements whose tags, start or end, end the line of text before them: the browser lays out
// what they hold, or what follows them, as blocks, rows or cells of their own.
bool EndsLine(const QString& name) {
    static constexpr const char16_t* kNames[] = {
        u"address", u"blockquote", u"body", u"br",    u"caption", u"center", u"dd",  u"div",
        u"dl",      u"dt",         u"h1",   u"h2",    u"h3",      u"h4",     u"h5",  u"h6",
        u"head",    u"hr",         u"html", u"li",    u"ol",      u"p",      u"pre", u"section",
        u"table",   u"tbody",      u"td",   u"tfoot", u"th",      u"thead",  u"tr",  u"ul"};
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&name](const char16_t* known) { return name == known; });
}

// The text the browser lays out: the markup without its tags and without the content of its
// <style> elements, with a line break for a tag that ends a line; other tags join the text
// around them, as they do in a line.
QString LaidOutText(QStringView html) {
    QString text;
    qsizetype at = 0;
    while (at < html.size()) {
        qsizetype tag = at;
        while (tag < html.size() && !TagStartsAt(html, tag))
            ++tag;
        text += html.mid(at, tag - at);
        const qsizetype tagEnd = tag == html.size() ? -1 : html.indexOf(u'>', tag);
        if (tagEnd < 0)
            break;
        at = tagEnd + 1;
        qsizetype nameAt = tag + (html[tag + 1] == u'/' ? 2 : 1);
        const QString name = ReadName(html, nameAt);
        if (EndsLine(name))
            text += u'\n';
        if (name == u"style" && html[tag + 1] != u'/') {
            const qsizetype styleEnd = html.indexOf(u"</style", at, Qt::CaseInsensitive);
            at = styleEnd < 0 ? html.size() : styleEnd;
        }
    }
    return text;
}

QString ElementsBeyondBounds(QStringView html) {
    OpenElements open;
    qint64 weight = 0;
    for (qsizetype at = html.indexOf(u'<'); at >= 0 && at + 1 < html.size();
         at = html.indexOf(u'<', at + 1)) {
        const bool closing = html[at + 1] == u'/';
        qsizetype nameAt = at + (closing ? 2 : 1);
        if (nameAt >= html.size() || !html[nameAt].isLetter())
            continue;
        const QString name = ReadName(html, nameAt);
        if (closing) {
            open.Close(name);
            continue;
        }
        // Inside a table an element is laid out once for each table around it, twice over.
        weight += qint64(1) << std::min(open.Tables(), 62);
        if (weight > kMaxMarkupWeight)
            return QStringLiteral("It holds more markup than the viewer shows: more than %1 "
                                  "elements, each counted twice for every table around it.")
                .arg(kMaxMarkupWeight);
        if (!IsEmptyElement(name))
            open.Open(name);
        if (open.Depth() > std::size_t(kMaxMarkupDepth))
            return QStringLiteral("Its markup nests more than %1 elements deep.")
                .arg(kMaxMarkupDepth);
    }
    return QString();
}

// The longest stretch of a line that the layout cannot break, without the blanks it ends with,
// which need no room.
qsizetype LongestWordOfLine(QStringView line) {
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, line.data(), line.size());
    qsizetype longest = 0;
    qsizetype previous = 0;
    for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
        qsizetype end = at;
        while (end > previous && line[end - 1].isSpace() && line[end - 1] != QChar::Nbsp)
            --end;
        longest = std::max(longest, end - previous);
        previous = at;
    }
    return longest;
}

} // namespace

// Lines are measured one by one: the toolkit's line breaking does not always break after a
// line break that it is given, while its layout always does.
qsizetype LongestWord(QStringView html) {
    const QString text = LaidOutText(html);
    qsizetype longest = 0;
    for (const QStringView line : QStringTokenizer(text, u'\n'))
        longest = std::max(longest, LongestWordOfLine(line));
    return longest;
}

QString MarkupBeyondBounds(QStringView html) {
    const QString elements = ElementsBeyondBounds(html);
    if (!elements.isEmpty())
        return elements;
    if (LongestWord(html) > kMaxWordCharacters)
        return QStringLiteral("Its text holds a word of more than %1 characters, which the "
                              "viewer would take too long to break into lines.")
            .arg(kMaxWordCharacters);
    return QString();
}
