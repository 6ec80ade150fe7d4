// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpResources.h"

#include "RegularFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>

#include <algorithm>

namespace {

// data-url: "data:" [media-type] [";base64"] "," payload
QByteArray DataUrlBytes(const QUrl& name) {
    const QByteArray text = name.toEncoded(QUrl::RemoveScheme);
    const qsizetype comma = text.indexOf(',');
    if (comma < 0)
        return {};
    const QByteArray payload = QByteArray::fromPercentEncoding(text.mid(comma + 1));
    if (!text.left(comma).toLower().endsWith(";base64"))
        return payload;
    const auto decoded = QByteArray::fromBase64Encoding(payload);
    return decoded ? *decoded : QByteArray();
}

} // namespace

QString HelpResourcePath(const QString& folder, const QUrl& name) {
    const bool local = name.scheme().isEmpty() || name.isLocalFile();
    if (folder.isEmpty() || !local || !name.host().isEmpty())
        return QString();
    const QString path = name.path(QUrl::FullyDecoded);
    if (path.isEmpty())
        return QString();
    const QString absolute = QFileInfo(path).isAbsolute() ? path : folder + QLatin1Char('/') + path;
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    const QString inside = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return canonical.startsWith(inside) ? canonical : QString();
}

HelpResources::HelpResources(const QString& helpFile)
    : m_folder(QFileInfo(QFileInfo(helpFile).absolutePath()).canonicalFilePath()) {}

void HelpResources::StartPage() {
    m_bytesLeft = kMaxPageBytes;
    m_pixelsLeft = kMaxPagePixels;
}

QVariant HelpResources::Load(int type, const QUrl& name) {
    const QByteArray bytes = Bytes(name);
    if (type == QTextDocument::ImageResource)
        return Image(bytes);
    return bytes;
}

// A data URL is no larger than the help file, but each one counts against the page's bound.
QByteArray HelpResources::Bytes(const QUrl& name) {
    QByteArray bytes = name.scheme().compare(u"data", Qt::CaseInsensitive) == 0 ? DataUrlBytes(name)
                                                                                : FileBytes(name);
    if (bytes.size() > m_bytesLeft)
        bytes.clear();
    m_bytesLeft -= bytes.size();
    return bytes;
}

QByteArray HelpResources::FileBytes(const QUrl& name) {
    const QString path = HelpResourcePath(m_folder, name);
    QString error;
    return path.isEmpty() || m_bytesLeft <= 0 ? QByteArray()
                                              : ReadRegularFile(path, m_bytesLeft, error);
}

// The image is decoded only when its size, read from its header, fits what the page has left.
// An image that is not shown is a transparent pixel, never a null image: for a null one the
// toolkit would read the name as a file of its own accord.
QVariant HelpResources::Image(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const qint64 pixels = qint64(std::max(size.width(), 0)) * std::max(size.height(), 0);
    QImage image;
    if (!bytes.isEmpty() && pixels > 0 && pixels <= m_pixelsLeft)
        image = reader.read();
    if (!image.isNull()) {
        m_pixelsLeft -= pixels;
        return image;
    }
    QImage nothing(1, 1, QImage::Format_ARGB32);
    nothing.fill(Qt::transparent);
    return nothing;
}
