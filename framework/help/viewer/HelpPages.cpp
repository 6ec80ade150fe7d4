// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPages.h"

namespace {

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

HelpPage TopicPage(const HelpDocument& document, const HelpTopic& topic) {
    return HelpPage{HelpPageKind::Topic, topic.id, topic.title, WrapPage(document, topic.body)};
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
    for (const HelpTopic& topic : document.topics)
        body += QStringLiteral("<li><a href=\"#%1\">%2</a></li>")
                    .arg(topic.id.toHtmlEscaped(), topic.title.toHtmlEscaped());
    body += QStringLiteral("</ul>");
    return HelpPage{HelpPageKind::Contents, QString(), QStringLiteral("Contents"),
                    WrapPage(document, body)};
}
