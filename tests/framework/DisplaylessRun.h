// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs a program with no display to open, as from a console or under help2man: DISPLAY,
// WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset. Waits for it to end, up to 20 s.

#include <QProcess>
#include <QProcessEnvironment>

struct DisplaylessRun {
    bool succeeded; // ended normally with status 0
    QByteArray output;
};

inline DisplaylessRun RunWithoutDisplay(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(20000);
    return {ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            process.readAllStandardOutput()};
}
