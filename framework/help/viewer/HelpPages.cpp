// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPages.h"

#include "HelpMarkup.h"

#include <algorithm>

namespace {

// The contents list at most this many topics, so that its page stays within the markup bounds.
constexpr std::size_t kMaxContentsEntries = 1000;

QString WrapPage(const HelpDocument& document, const QString& body) {
    return QStringLiteral("<html><head><style>") + document.style +
           QStringLiteral("</style></head><body>") + body + QStringLiteral("</body></html>");
}

QString Paragraph(const QString& text) {
    return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

HelpPage MessagePage(const QString& text) {
    return HelpPage{HelpPageKind::Message, QString(), QStringLiteral("Help"),
                    QStringLiteral("<html><body>") + Paragraph(text) +
                        QStringLiteral("</body></html>")};
}

// The message for a file that gives no topic to show, or an empty text.
QString UnusableFileMessage(const HelpDocument& document) {
    if (!document.error.isEmpty())
        return QStringLiteral("The help file \"%1\" could not be opened: %2.")
            .arg(document.path, document.error);
    if (document.topics.empty())
        return QStringLiteral("The help file \"%1\" holds no help topics.").arg(document.path);
    return QString();
}

// A topic whose markup the text browser could not lay out in good time is named, not shown.
HelpPage TopicPage(const HelpDocument& document, const HelpTopic& topic) {
    HelpPage page{HelpPageKind::Topic, topic.id, topic.title, WrapPage(document, topic.body)};
    const QString beyond = MarkupBeyondBounds(page.html);
    if (beyond.isEmpty())
        return page;
    return MessagePage(QStringLiteral("The topic %1 of the help file \"%2\" cannot be shown. %3")
                           .arg(topic.id, document.path, beyond));
}

} // namespace

HelpPage PageForId(const HelpDocument& document, const QString& id) {
    const QString unusable = UnusableFileMessage(document);
    if (!unusable.isEmpty())
        return MessagePage(unusable);
    if (const HelpTopic* topic = FindHelpTopic(document, id))
        return TopicPage(document, *topic);
    return ContentsPage(
        document,
        QStringLiteral("There is no topic %1 in this help file. These are the topics it holds:")
            .arg(id));
}

HelpPage PageForContext(const HelpDocument& document, unsigned long context) {
    return PageForId(document, TopicIdForContext(context));
}

HelpPage ContentsPage(const HelpDocument& document, const QString& note) {
    const QString unusable = UnusableFileMessage(document);
    if (!unusable.isEmpty())
        return MessagePage(unusable);
    QString body = QStringLiteral("<h1>Contents</h1>");
    if (!note.isEmpty())
        body += Paragraph(note);
    body += QStringLiteral("<ul>");
    const std::size_t listed = std::min(document.topics.size(), kMaxContentsEntries);
    for (std::size_t i = 0; i < listed; ++i)
        body += QStringLiteral("<li><a href=\"#%1\">%2</a></li>")
                    .arg(document.topics[i].id.toHtmlEscaped(),
                         document.topics[i].title.toHtmlEscaped());
    body += QStringLiteral("</ul>");
    if (listed < document.topics.size())
        body += Paragraph(QStringLiteral("The %1 topics after these are not listed.")
                              .arg(document.topics.size() - listed));
    HelpPage page{HelpPageKind::Contents, QString(), QStringLiteral("Contents"),
                  WrapPage(document, body)};
    const QString beyond = MarkupBeyondBounds(page.html);
    if (!beyond.isEmpty())
        return MessagePage(QStringLiteral("The contents of the help file \"%1\" cannot be "
                                          "shown. %2")
                               .arg(document.path, beyond));
    return page;
}
