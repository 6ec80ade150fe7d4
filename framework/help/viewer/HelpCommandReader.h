// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>

class QSocketNotifier;

// Reads lines from a file descriptor (the viewer's standard input) as they
// arrive, without blocking the event loop. With no descriptor (-1) it reads
// only what it is handed through Receive and ReceiveEnd.
class HelpCommandReader : public QObject {
    Q_OBJECT

public:
    // A line longer than this is no command; what has gathered of it is dropped.
    static constexpr qsizetype kMaxLineBytes = 4096;

    explicit HelpCommandReader(int fd, QObject* parent = nullptr);

    // Takes bytes as if read, and hands on the lines they complete.
    void Receive(QByteArrayView bytes);
    // Takes the end of input as if read.
    void ReceiveEnd();
    // Hands on nothing more, not even the end of input: the lines after the
    // one being handed on are dropped.
    void Stop();

signals:
    void lineReceived(const QByteArray& line); // without its '\n'
    void endOfInput();                         // the writer closed its end, or reading failed

private:
    void ReadAvailable();
    void EmitCompleteLines(qsizetype searchFrom);
    void StopReading();

    int m_fd;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending;
    bool m_discarding = false;
    bool m_finished = false;
};
