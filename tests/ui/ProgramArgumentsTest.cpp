// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's own arguments: --help and --version are answered before any display is
// opened, so with none to open they still succeed; Qt's options before them are Qt's. Started
// without either, the program needs a display, as it always did.

#include "DisplaylessRun.h"

#include <QTest>

class ProgramArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void answeredWithoutDisplay_data();
    void answeredWithoutDisplay();
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

QTEST_GUILESS_MAIN(ProgramArgumentsTest)
#include "ProgramArgumentsTest.moc"
