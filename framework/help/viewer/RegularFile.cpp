// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegularFile.h"

#include <QFile>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;

QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes, QString& error) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = SystemError();
        return {};
    }
    QByteArray bytes;
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        error = SystemError();
    else if (!S_ISREG(status.st_mode))
        error = QStringLiteral("It is not a regular file");
    while (error.isEmpty()) {
        char chunk[kReadChunkBytes];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = SystemError();
        if (got <= 0)
            break;
        if (bytes.size() + got > maxBytes)
            error =
                QStringLiteral("It is larger than %1")
                    .arg(QLocale::c().formattedDataSize(maxBytes, 0, QLocale::DataSizeIecFormat));
        else
            bytes.append(chunk, qsizetype(got));
    }
    ::close(fd);
    return error.isEmpty() ? bytes : QByteArray();
}
