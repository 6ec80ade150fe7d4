// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpCommandReader.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace {

constexpr std::size_t kReadChunkBytes = 4096;

} // namespace

HelpCommandReader::HelpCommandReader(int fd, QObject* parent) : QObject(parent), m_fd(fd) {
    if (fd < 0)
        return;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HelpCommandReader::ReadAvailable);
}

void HelpCommandReader::ReadAvailable() {
    char chunk[kReadChunkBytes];
    const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0)
        ReceiveEnd();
    else
        Receive(QByteArrayView(chunk, static_cast<qsizetype>(got)));
}

void HelpCommandReader::Receive(QByteArrayView bytes) {
    if (m_finished)
        return;
    const qsizetype searchFrom = m_pending.size(); // what came before holds no '\n'
    m_pending.append(bytes.data(), bytes.size());
    EmitCompleteLines(searchFrom);
}

// Each line is cut from the front as it is handed on, and the next is looked for after it, so
// many lines in one read cost no more than their length.
void HelpCommandReader::EmitCompleteLines(qsizetype searchFrom) {
    qsizetype start = 0;
    qsizetype newline = m_pending.indexOf('\n', searchFrom);
    while (newline >= 0 && !m_finished) {
        // A line that came whole in one read is held to the same bound as one that gathered.
        const bool discarding = m_discarding || newline - start > kMaxLineBytes;
        m_discarding = false;
        if (!discarding)
            emit lineReceived(m_pending.mid(start, newline - start));
        start = newline + 1;
        newline = m_pending.indexOf('\n', start);
    }
    if (m_finished) {
        m_pending.clear();
        return;
    }
    if (start > 0)
        m_pending.remove(0, start);
    if (m_pending.size() > kMaxLineBytes) {
        m_pending.clear();
        m_discarding = true; // the rest of this line is dropped as well
    }
}

void HelpCommandReader::ReceiveEnd() {
    if (m_finished)
        return;
    StopReading();
    emit endOfInput();
}

void HelpCommandReader::Stop() {
    if (!m_finished)
        StopReading();
}

void HelpCommandReader::StopReading() {
    m_finished = true;
    if (m_notifier)
        m_notifier->setEnabled(false);
}
