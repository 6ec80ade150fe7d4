// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpFileName.h"

#include <QTest>

class HelpFileNameTest : public QObject {
    Q_OBJECT

private slots:
    void namesTheHelpFile_data();
    void namesTheHelpFile();
};

void HelpFileNameTest::namesTheHelpFile_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("helpFile");
    QTest::newRow("no extension gets one appended") << "/usr/bin/tarvin"
                                                    << "/usr/bin/tarvin.HLP";
    QTest::newRow("dot in a folder is left alone") << "/opt/tarvin-1.0/bin/tarvin"
                                                   << "/opt/tarvin-1.0/bin/tarvin.HLP";
    QTest::newRow("extension is replaced") << "/x/prog.exe"
                                           << "/x/prog.HLP";
    QTest::newRow("only the last extension is replaced") << "/x/prog.tar.gz"
                                                         << "/x/prog.tar.HLP";
    QTest::newRow("extension in any case is replaced") << "/x/PROG.EXE"
                                                       << "/x/PROG.HLP";
    QTest::newRow("help extension gives the same name") << "/x/prog.HLP"
                                                        << "/x/prog.HLP";
    QTest::newRow("dots in folder and name") << "/a.b/c.d/prog.exe"
                                             << "/a.b/c.d/prog.HLP";
    QTest::newRow("hidden file has no extension") << "/home/u/.tarvin"
                                                  << "/home/u/.tarvin.HLP";
    QTest::newRow("hidden file with an extension") << "/home/u/.tarvin.bin"
                                                   << "/home/u/.tarvin.HLP";
    QTest::newRow("several leading dots are the name") << "/x/..tarvin"
                                                       << "/x/..tarvin.HLP";
    QTest::newRow("trailing dot is an empty extension") << "/x/tarvin."
                                                        << "/x/tarvin.HLP";
    QTest::newRow("name of dots only") << "/x/..."
                                       << "/x/....HLP";
    QTest::newRow("relative path with dot folder") << "./tarvin"
                                                   << "./tarvin.HLP";
    QTest::newRow("relative parent folder") << "../bin.d/tarvin"
                                            << "../bin.d/tarvin.HLP";
    QTest::newRow("bare name without folder") << "tarvin"
                                              << "tarvin.HLP";
    QTest::newRow("bare name with extension") << "prog.exe"
                                              << "prog.HLP";
    QTest::newRow("folder path ending in a slash") << "/usr/bin/"
                                                   << "/usr/bin/.HLP";
    QTest::newRow("empty path") << ""
                                << ".HLP";
    QTest::newRow("backslash is part of the name") << "/x/C:\\dir.d\\prog"
                                                   << "/x/C:\\dir.HLP";
    QTest::newRow("blanks in folder and name") << "/my apps.v2/my calc"
                                               << "/my apps.v2/my calc.HLP";
}

void HelpFileNameTest::namesTheHelpFile() {
    QFETCH(QString, executable);
    QFETCH(QString, helpFile);
    const std::string path = executable.toStdString();
    QCOMPARE(QString::fromStdString(HelpFilePathFor(path)), helpFile);
}

QTEST_APPLESS_MAIN(HelpFileNameTest)
#include "HelpFileNameTest.moc"
