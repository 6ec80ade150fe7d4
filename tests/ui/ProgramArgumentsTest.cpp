// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's own arguments: --help and --version are answered before any display is
// opened, so with none to open they still succeed; Qt's options before them are Qt's. Started
// without either, the program needs a display, as it always did.

#include "DisplaylessRun.h"

#include <QProcess>
#include <QTest>

#include <unistd.h>

class ProgramArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void answeredWithoutDisplay_data();
    void answeredWithoutDisplay();
    void closedStandardErrorEndsNothing();
};

void ProgramArgumentsTest::answeredWithoutDisplay_data() {
    DisplaylessRows table({"arguments", "succeeds", "output"});
    AddInformationOptionRows(table, "tarvin", "Usage: tarvin [QT-OPTION]...\n");
    table.Add({
        {"--help after -- is no option", {"--", "--help"}, false, ""},
        {"no argument opens the window", {}, false, ""},
    });
}

void ProgramArgumentsTest::answeredWithoutDisplay() {
    CheckDisplaylessRow(QStringLiteral(TARVIN_WINDOW_PROGRAM));
}

// Started as "tarvin 2>&1 | true" would be: the toolkit's warning about the unknown style meets a
// pipe whose reader has gone, and the window stays up.
void ProgramArgumentsTest::closedStandardErrorEndsNothing() {
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(environment);
    window.setChildProcessModifier([] {
        int ends[2];
        if (::pipe(ends) == 0) {
            ::close(ends[0]);
            ::dup2(ends[1], STDERR_FILENO);
        }
    });
    window.start(QStringLiteral(TARVIN_WINDOW_PROGRAM),
                 {QStringLiteral("-style"), QStringLiteral("no-such-style")});
    QVERIFY(window.waitForStarted());
    QVERIFY(!window.waitForFinished(2000));
    QCOMPARE(window.state(), QProcess::Running);
    window.kill();
    window.waitForFinished();
}

QTEST_GUILESS_MAIN(ProgramArgumentsTest)
#include "ProgramArgumentsTest.moc"
