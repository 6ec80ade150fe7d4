// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpMarkup.h"

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

} // namespace

QString MarkupBeyondBounds(QStringView html) {
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
