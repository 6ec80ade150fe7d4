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

namespace {

// A list of the topics, each a link, under a heading and an optional note: a page of the kind,
// or the message page when it would be beyond the markup bounds.
HelpPage TopicListPage(const HelpDocument& document, HelpPageKind kind, const QString& heading,
                       const QString& note, const std::vector<const HelpTopic*>& topics) {
    QString body = QStringLiteral("<h1>") + heading.toHtmlEscaped() + QStringLiteral("</h1>");
    if (!note.isEmpty())
        body += Paragraph(note);
    const std::size_t listed = std::min(topics.size(), kMaxContentsEntries);
    if (listed > 0)
        body += QStringLiteral("<ul>");
    for (std::size_t i = 0; i < listed; ++i)
        body += QStringLiteral("<li><a href=\"#%1\">%2</a></li>")
                    .arg(topics[i]->id.toHtmlEscaped(), topics[i]->title.toHtmlEscaped());
    if (listed > 0)
        body += QStringLiteral("</ul>");
    if (listed < topics.size())
        body += Paragraph(QStringLiteral("The %1 topics after these are not listed.")
                              .arg(topics.size() - listed));
    HelpPage page{kind, QString(), heading, WrapPage(document, body)};
    const QString beyond = MarkupBeyondBounds(page.html);
    if (!beyond.isEmpty())
        return MessagePage(QStringLiteral("The list of topics of the help file \"%1\" cannot be "
                                          "shown. %2")
                               .arg(document.path, beyond));
    return page;
}

// A link's address as the refusal quotes it: at most this many characters of it.
constexpr qsizetype kMaxQuotedLink = 200;

} // namespace

HelpPage ContentsPage(const HelpDocument& document, const QString& note) {
    const QString unusable = UnusableFileMessage(document);
    if (!unusable.isEmpty())
        return MessagePage(unusable);
    std::vector<const HelpTopic*> topics;
    for (const HelpTopic& topic : document.topics)
        topics.push_back(&topic);
    return TopicListPage(document, HelpPageKind::Contents, QStringLiteral("Contents"), note,
                         topics);
}

HelpPage SearchPage(const HelpDocument& document, const QString& text) {
    const QString unusable = UnusableFileMessage(document);
    if (!unusable.isEmpty())
        return MessagePage(unusable);
    std::vector<const HelpTopic*> topics;
    for (const HelpTopic& topic : document.topics) {
        if (HelpPlainText(topic.body).contains(text, Qt::CaseInsensitive))
            topics.push_back(&topic);
    }
    const QString note = topics.empty() ? QStringLiteral("No topic holds \"%1\".").arg(text)
                                        : QStringLiteral("These topics hold \"%1\":").arg(text);
    return TopicListPage(document, HelpPageKind::Search, QStringLiteral("Search"), note, topics);
}

HelpLinkKind KindOfLink(const QUrl& url) {
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment() && url.query().isEmpty())
        return HelpLinkKind::Topic;
    const QString scheme = url.scheme();
    if (url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"mailto"))
        return HelpLinkKind::Desktop;
    return HelpLinkKind::Refused;
}

HelpPage RefusedLinkPage(const QUrl& url) {
    QString quoted = url.toDisplayString();
    if (quoted.size() > kMaxQuotedLink)
        quoted = quoted.left(kMaxQuotedLink) + QChar(0x2026);
    return MessagePage(QStringLiteral("The link \"%1\" was not followed. The help viewer follows "
                                      "links between its topics, and opens web and mail "
                                      "addresses (http, https and mailto) with the desktop's "
                                      "programs; it opens nothing else.")
                           .arg(quoted));
}
