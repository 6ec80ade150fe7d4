// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's own arguments: --help and --version are answered before any display is
// opened, so with none to open they still succeed; Qt's options before them are Qt's. Started
// without either, the program needs a display, as it always did.

#include "DisplaylessRun.h"
#include "QtTestRows.h"
#include "TarvinVersion.h"

#include <QTest>

class ProgramArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void answeredWithoutDisplay_data();
    void answeredWithoutDisplay();
};

void ProgramArgumentsTest::answeredWithoutDisplay_data() {
    QtTestRows<QStringList, bool, QByteArray> table({"arguments", "succeeds", "output"});
    table.Add({
        {"--help names the man page", {"--help"}, true, "Usage: tarvin [QT-OPTION]...\n"},
        {"--version", {"--version"}, true, "tarvin " TARVIN_VERSION "\n"},
        {"--version after Qt's own option",
         {"-style", "fusion", "--version"},
         true,
         "tarvin " TARVIN_VERSION "\n"},
        {"--help after -- is no option", {"--", "--help"}, false, ""},
        {"no argument opens the window", {}, false, ""},
    });
}

void ProgramArgumentsTest::answeredWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, succeeds);
    QFETCH(QByteArray, output);
    const DisplaylessRun run = RunWithoutDisplay(QStringLiteral(TARVIN_WINDOW_PROGRAM), arguments);
    QCOMPARE(run.succeeded, succeeds);
    QVERIFY2(run.output.startsWith(output), run.output.constData());
    if (arguments == QStringList{"--help"})
        QVERIFY(run.output.contains("tarvin(1)"));
}

QTEST_GUILESS_MAIN(ProgramArgumentsTest)
#include "ProgramArgumentsTest.moc"
