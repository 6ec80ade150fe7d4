// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Reads lines from a file descriptor (the viewer's standard input) as they
// arrive, without blocking the event loop.
class HelpCommandReader : public QObject {
    Q_OBJECT

public:
    explicit HelpCommandReader(int fd, QObject* parent = nullptr);

signals:
    void lineReceived(const QByteArray& line); // without its '\n'
    void endOfInput();                         // the writer closed its end, or reading failed

private:
    void ReadAvailable();
    void EmitCompleteLines();
    void Finish();

    int m_fd;
    QSocketNotifier* m_notifier;
    QByteArray m_pending;
    bool m_discarding = false;
    bool m_finished = false;
};
