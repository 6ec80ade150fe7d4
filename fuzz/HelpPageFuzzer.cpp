// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for what the help viewer hands its text browser: the input, read as UTF-8,
// is the markup of one topic, set in a help file of that one topic. The help file lies in a
// folder of its own that holds a picture, a picture in a folder below, a FIFO, a link to
// /dev/zero and a link out of the folder, beside a picture outside it. Its page is built as the
// viewer builds it and laid out in a text document as the browser lays it out, loading what it
// names as the browser loads it. Then:
// - the layout ends in good time (libFuzzer's -timeout) and without a crash, whatever the
//   markup: markup beyond the viewer's bounds gives a message page instead of the topic, and
//   nothing blocks on a FIFO or reads a device;
// - a page shown as the topic is within those bounds, and one refused names the topic;
// - every file a page loads lies in the help file's folder or below it, each load gives an image
//   or bytes (never nothing, which the toolkit would look for itself), and all the page loads
//   stays within the page's bounds of bytes and pixels.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "HelpDocument.h"
#include "HelpFuzzSupport.h"
#include "HelpMarkup.h"
#include "HelpPages.h"
#include "HelpResources.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace {

const QString kPath = QStringLiteral("fuzz.HLP");
constexpr unsigned long kContext = 1;
constexpr qreal kPageWidth = 540;

[[noreturn]] void Violation(const char* promise) {
    std::fprintf(stderr, "help page fuzzer: %s\n", promise);
    std::abort();
}

// The help file's folder, made once: help/ with picture.png, sub/picture.png, fifo, zero (a
// link to /dev/zero) and out.png (a link to ../outside.png).
const QDir& HelpFolder() {
    static QTemporaryDir root;
    static const QDir folder = [] {
        const QDir top(root.path());
        top.mkpath(QStringLiteral("help/sub"));
        const QDir help(top.filePath(QStringLiteral("help")));
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        for (const QString& path : {help.filePath(QStringLiteral("picture.png")),
                                    help.filePath(QStringLiteral("sub/picture.png")),
                                    top.filePath(QStringLiteral("outside.png"))})
            picture.save(path);
        ::mkfifo(QFile::encodeName(help.filePath(QStringLiteral("fifo"))).constData(), 0600);
        QFile::link(QStringLiteral("/dev/zero"), help.filePath(QStringLiteral("zero")));
        QFile::link(top.filePath(QStringLiteral("outside.png")),
                    help.filePath(QStringLiteral("out.png")));
        return help;
    }();
    return folder;
}

// A text document that loads what a page names as the viewer's browser does, and keeps count.
class LoadingDocument : public QTextDocument {
public:
    explicit LoadingDocument(const QString& helpFile) : m_resources(helpFile) {}
    qint64 bytes = 0;
    qint64 pixels = 0;

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        const QString path = HelpResourcePath(HelpFolder().canonicalPath(), name);
        if (!path.isEmpty() && !path.startsWith(HelpFolder().canonicalPath() + u'/'))
            Violation("a resource outside the help file's folder would be read");
        const QVariant loaded = m_resources.Load(type, name);
        if (loaded.isNull() ||
            (loaded.typeId() == QMetaType::QImage && loaded.value<QImage>().isNull()))
            Violation("a load gave nothing, which the toolkit would look for itself");
        const QImage image = loaded.value<QImage>();
        if (loaded.typeId() == QMetaType::QImage && image.size() != QSize(1, 1))
            pixels += qint64(image.width()) * image.height();
        else if (loaded.typeId() != QMetaType::QImage)
            bytes += loaded.toByteArray().size();
        if (bytes > HelpResources::kMaxPageBytes || pixels > HelpResources::kMaxPagePixels)
            Violation("a page loaded more than its bounds");
        return loaded;
    }

private:
    HelpResources m_resources;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString markup = InputText(data, size);
    const QString file = QStringLiteral("<section id=\"0x1\">") + markup;
    const QString path = HelpFolder().filePath(kPath);
    const HelpDocument document = ParseHelpDocument(path, file);
    if (document.topics.empty())
        return 0; // the markup ended the section's start tag inside a quote: no topic
    const HelpPage page = PageForContext(document, kContext);
    const bool withinBounds = MarkupBeyondBounds(page.html).isEmpty();
    if (page.kind == HelpPageKind::Topic && !withinBounds)
        Violation("a page beyond the markup bounds would be shown");
    if (page.kind == HelpPageKind::Message && !page.html.contains(QStringLiteral("0x1")))
        Violation("a refused topic is not named");
    LoadingDocument layout(path);
    layout.setHtml(page.html);
    layout.setTextWidth(kPageWidth);
    if (layout.size().width() <= 0)
        Violation("a page was laid out to nothing");
    return 0;
}
