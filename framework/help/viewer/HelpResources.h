// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>

// What a help page may load besides its own text: images and style sheets written into the help
// file itself (data: URLs), and regular files in the help file's folder or below it, found there
// after every symbolic link is followed. Nothing else is read: no other scheme, no place outside
// that folder, no device or FIFO. What one page loads is bounded as a whole: kMaxPageBytes read
// or decoded from URLs, and kMaxPagePixels in the images made of them.
class HelpResources {
public:
    static constexpr qint64 kMaxPageBytes = 16 * 1024 * 1024;
    static constexpr qint64 kMaxPagePixels = 4096 * 4096;

    explicit HelpResources(const QString& helpFile);

    // Starts the bounds afresh, for a new page.
    void StartPage();

    // The resource of the type (a QTextDocument::ResourceType) that the page names: an image as
    // a QImage, anything else as its bytes. What may not or cannot be loaded gives a transparent
    // pixel or no bytes, never a null variant or image, so the text browser looks for it
    // nowhere else.
    QVariant Load(int type, const QUrl& name);

private:
    QByteArray Bytes(const QUrl& name);
    QByteArray FileBytes(const QUrl& name);
    QVariant Image(const QByteArray& bytes);

    QString m_folder; // the help file's folder, every link followed; empty when it has none
    qint64 m_bytesLeft = kMaxPageBytes;
    qint64 m_pixelsLeft = kMaxPagePixels;
};

// The file in the help file's folder or below it that the name leads to, every link followed;
// an empty text when it leads elsewhere or to nothing. A relative name is taken from the folder.
QString HelpResourcePath(const QString& folder, const QUrl& name);
