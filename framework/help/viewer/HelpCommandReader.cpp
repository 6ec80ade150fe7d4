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
    : QObject(parent), fd_(fd), notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
    connect(notifier_, &QSocketNotifier::activated, this, &HelpCommandReader::ReadAvailable);
}

void HelpCommandReader::ReadAvailable() {
    char chunk[kReadChunkBytes];
    const ssize_t got = ::read(fd_, chunk, sizeof chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        Finish();
        return;
    }
    pending_.append(chunk, static_cast<qsizetype>(got));
    EmitCompleteLines();
}

void HelpCommandReader::EmitCompleteLines() {
    qsizetype newline = pending_.indexOf('\n');
    while (newline >= 0 && !finished_) {
        const QByteArray line = pending_.left(newline);
        pending_.remove(0, newline + 1);
        if (!discarding_)
            emit lineReceived(line);
        discarding_ = false;
        newline = pending_.indexOf('\n');
    }
    if (pending_.size() > kMaxLineBytes) {
        pending_.clear();
        discarding_ = true; // the rest of this line is dropped as well
    }
}

void HelpCommandReader::Finish() {
    if (finished_)
        return;
    finished_ = true;
    notifier_->setEnabled(false);
    emit endOfInput();
}
