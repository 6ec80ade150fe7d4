// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs a program with no display to open, as from a console or under help2man: DISPLAY,
// WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset. Waits for it to end, up to 20 s. A test
// function fills a table with the arguments, whether the run succeeds and how its output
// begins, and checks each row with CheckDisplaylessRow.

#include "QtTestRows.h"
#include "TarvinVersion.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

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

// The rows that every program answers alike without a display, for a table of the arguments,
// whether the run succeeds, and how its output begins: --help, which prints the usage that
// begins with usage, and --version, alone and after one of Qt's own options.
using DisplaylessRows = QtTestRows<QStringList, bool, QByteArray>;
inline void AddInformationOptionRows(const DisplaylessRows& table, const QByteArray& program,
                                     const QByteArray& usage) {
    const QByteArray version = program + " " TARVIN_VERSION "\n";
    table.Add({
        {"--help", {"--help"}, true, usage},
        {"--version", {"--version"}, true, version},
        {"--version after Qt's own option", {"-style", "fusion", "--version"}, true, version},
    });
}

// Runs program with the row's arguments and checks what the row says; the usage that --help
// prints names a man page.
inline void CheckDisplaylessRow(const QString& program) {
    QFETCH(QStringList, arguments);
    QFETCH(bool, succeeds);
    QFETCH(QByteArray, output);
    const DisplaylessRun run = RunWithoutDisplay(program, arguments);
    QCOMPARE(run.succeeded, succeeds);
    QVERIFY2(run.output.startsWith(output), qPrintable(arguments.join(' ')));
    if (arguments == QStringList{"--help"})
        QVERIFY2(run.output.contains("(1)"), run.output.constData());
}
