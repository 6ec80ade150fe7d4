// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpCommandReader.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace {

// A line longer than this is no command; what has gathered of it is dropped.
constexpr qsizetype kMaxLineBytes = 4096;
constexpr std::size_t kReadChunkBytes = 4096;

} // namespace

HelpCommandReader::HelpCommandReader(int fd, QObject* parent)
    : QObject(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
    connect(m_notifier, &QSocketNotifier::activated, this, &HelpCommandReader::ReadAvailable);
}

void HelpCommandReader::ReadAvailable() {
    char chunk[kReadChunkBytes];
    const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        Finish();
        return;
    }
    m_pending.append(chunk, static_cast<qsizetype>(got));
    EmitCompleteLines();
}

void HelpCommandReader::EmitCompleteLines() {
    qsizetype newline = m_pending.indexOf('\n');
    while (newline >= 0 && !m_finished) {
        const QByteArray line = m_pending.left(newline);
        m_pending.remove(0, newline + 1);
        if (!m_discarding)
            emit lineReceived(line);
        m_discarding = false;
        newline = m_pending.indexOf('\n');
    }
    if (m_pending.size() > kMaxLineBytes) {
        m_pending.clear();
        m_discarding = true; // the rest of this line is dropped as well
    }
}

void HelpCommandReader::Finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_notifier->setEnabled(false);
    emit endOfInput();
}
