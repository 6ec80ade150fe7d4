// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpDocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

// A help file larger than this is refused rather than read into memory.
constexpr qint64 kMaxHelpFileBytes = 16 * 1024 * 1024;

const QRegularExpression::PatternOptions kTagOptions =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

QString PlainText(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

QString StripComments(QString html) {
    static const QRegularExpression kComment(QStringLiteral("<!--.*?-->"), kTagOptions);
    return html.remove(kComment);
}

// The content of the first element with the tag, or an empty text.
QString FirstElementContent(const QString& html, const QString& tag) {
    const QRegularExpression element(QStringLiteral("<%1\\b[^>]*>(.*?)</%1\\s*>").arg(tag),
                                     kTagOptions);
    const QRegularExpressionMatch match = element.match(html);
    return match.hasMatch() ? match.captured(1) : QString();
}

HelpTopic MakeTopic(const QString& id, const QString& body) {
    const QString heading = PlainText(FirstElementContent(body, QStringLiteral("h1")));
    return HelpTopic{id, heading.isEmpty() ? id : heading, body};
}

// section: <section ... id="ID" ...> body, up to </section>, the next section
// or the end of the text.
void CollectTopics(const QString& html, std::vector<HelpTopic>& topics) {
    static const QRegularExpression kSectionStart(
        QStringLiteral("<section\\b[^>]*?\\bid\\s*=\\s*\"([^\"]*)\"[^>]*>"), kTagOptions);
    static const QRegularExpression kSectionEnd(QStringLiteral("</section\\s*>|<section\\b"),
                                                kTagOptions);
    QRegularExpressionMatch open = kSectionStart.match(html);
    while (open.hasMatch()) {
        const qsizetype bodyStart = open.capturedEnd();
        const QRegularExpressionMatch close = kSectionEnd.match(html, bodyStart);
        const qsizetype bodyEnd = close.hasMatch() ? close.capturedStart() : html.size();
        topics.push_back(
            MakeTopic(open.captured(1).trimmed(), html.mid(bodyStart, bodyEnd - bodyStart)));
        open = kSectionStart.match(html, bodyEnd);
    }
}

} // namespace

QString TopicIdForContext(unsigned long context) {
    return QStringLiteral("0x") + QString::number(context, 16);
}

HelpDocument LoadHelpDocument(const QString& path) {
    QFile file(path);
    HelpDocument document;
    document.path = path;
    if (!file.open(QIODevice::ReadOnly)) {
        document.error = file.errorString();
        return document;
    }
    if (file.size() > kMaxHelpFileBytes) {
        document.error = QStringLiteral("The file is too large to be a help file");
        return document;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        document.error = file.errorString();
        return document;
    }
    return ParseHelpDocument(path, QString::fromUtf8(bytes));
}

HelpDocument ParseHelpDocument(const QString& path, const QString& html) {
    const QString text = StripComments(html);
    HelpDocument document;
    document.path = path;
    document.title = PlainText(FirstElementContent(text, QStringLiteral("title")));
    document.style = FirstElementContent(text, QStringLiteral("style"));
    CollectTopics(text, document.topics);
    return document;
}

const HelpTopic* FindHelpTopic(const HelpDocument& document, const QString& id) {
    for (const HelpTopic& topic : document.topics) {
        if (topic.id.compare(id, Qt::CaseInsensitive) == 0)
            return &topic;
    }
    return nullptr;
}
