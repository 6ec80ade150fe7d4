// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpFileName.h"

#include <QTest>

class HelpFileNameTest : public QObject {
    Q_OBJECT

private slots:
    void namesTheHelpFile_data();
    void namesTheHelpFile();
};

namespace {

// A program's path and the help file named after it.
struct NameRow {
    const char* name;
    const char* executable;
    const char* helpFile;
};

} // namespace

void HelpFileNameTest::namesTheHelpFile_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("helpFile");
    const NameRow rows[] = {
        {"no extension gets one appended", "/usr/bin/tarvin", "/usr/bin/tarvin.HLP"},
        {"dot in a folder is left alone", "/opt/tarvin-1.0/bin/tarvin",
         "/opt/tarvin-1.0/bin/tarvin.HLP"},
        {"extension is replaced", "/x/prog.exe", "/x/prog.HLP"},
        {"only the last extension is replaced", "/x/prog.tar.gz", "/x/prog.tar.HLP"},
        {"extension in any case is replaced", "/x/PROG.EXE", "/x/PROG.HLP"},
        {"help extension gives the same name", "/x/prog.HLP", "/x/prog.HLP"},
        {"dots in folder and name", "/a.b/c.d/prog.exe", "/a.b/c.d/prog.HLP"},
        {"hidden file has no extension", "/home/u/.tarvin", "/home/u/.tarvin.HLP"},
        {"hidden file with an extension", "/home/u/.tarvin.bin", "/home/u/.tarvin.HLP"},
        {"several leading dots are the name", "/x/..tarvin", "/x/..tarvin.HLP"},
        {"trailing dot is an empty extension", "/x/tarvin.", "/x/tarvin.HLP"},
        {"name of dots only", "/x/...", "/x/....HLP"},
        {"relative path with dot folder", "./tarvin", "./tarvin.HLP"},
        {"relative parent folder", "../bin.d/tarvin", "../bin.d/tarvin.HLP"},
        {"bare name without folder", "tarvin", "tarvin.HLP"},
        {"bare name with extension", "prog.exe", "prog.HLP"},
        {"folder path ending in a slash", "/usr/bin/", "/usr/bin/.HLP"},
        {"empty path", "", ".HLP"},
        {"backslash is part of the name", "/x/C:\\dir.d\\prog", "/x/C:\\dir.HLP"},
        {"blanks in folder and name", "/my apps.v2/my calc", "/my apps.v2/my calc.HLP"},
    };
    for (const NameRow& row : rows)
        QTest::newRow(row.name) << QString(row.executable) << QString(row.helpFile);
}

void HelpFileNameTest::namesTheHelpFile() {
    QFETCH(QString, executable);
    QFETCH(QString, helpFile);
    const std::string path = executable.toStdString();
    QCOMPARE(QString::fromStdString(HelpFilePathFor(path)), helpFile);
}

QTEST_APPLESS_MAIN(HelpFileNameTest)
#include "HelpFileNameTest.moc"
