// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpFileSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Places under the test's temporary folder: "bin" beside the program, "xdg1"
// and "xdg2" data folders, "inst" the installation's own data folder.
class HelpFileSearchTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() { dir_.reset(); }
    void listsDataFolders_data();
    void listsDataFolders();
    void findsHelpFile_data();
    void findsHelpFile();

private:
    QString Place(const QString& relative) const { return dir_->filePath(relative); }
    void MakeFiles(const QStringList& files) const;
    std::unique_ptr<QTemporaryDir> dir_; // a fresh one for every row
};

void HelpFileSearchTest::MakeFiles(const QStringList& files) const {
    for (const QString& file : files) {
        QVERIFY(QDir().mkpath(QFileInfo(Place(file)).path()));
        QFile out(Place(file));
        QVERIFY(out.open(QIODevice::WriteOnly));
    }
}

void HelpFileSearchTest::listsDataFolders_data() {
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QStringList>("folders");
    const QStringList defaults{"/usr/local/share/tarvin", "/usr/share/tarvin"};
    QTest::newRow("unset or empty gives the default")
        << ""
        << "/p/share/tarvin" << defaults + QStringList{"/p/share/tarvin"};
    QTest::newRow("in order, installed last")
        << "/b:/a"
        << "/p/share/tarvin" << QStringList{"/b/tarvin", "/a/tarvin", "/p/share/tarvin"};
    QTest::newRow("trailing slashes and empty entries")
        << ":/a/::/b//:"
        << "/p/share/tarvin/" << QStringList{"/a/tarvin", "/b/tarvin", "/p/share/tarvin"};
    QTest::newRow("relative entries are ignored")
        << "share:./x:/a"
        << "/p/share/tarvin" << QStringList{"/a/tarvin", "/p/share/tarvin"};
    QTest::newRow("only relative entries leave the installed folder")
        << "share"
        << "/p/share/tarvin" << QStringList{"/p/share/tarvin"};
    QTest::newRow("installed folder is cleaned")
        << "/a"
        << "/usr/bin/../share/tarvin" << QStringList{"/a/tarvin", "/usr/share/tarvin"};
}

void HelpFileSearchTest::listsDataFolders() {
    QFETCH(QString, xdg);
    QFETCH(QString, installed);
    QFETCH(QStringList, folders);
    QCOMPARE(HelpDataFolders(xdg, installed), folders);
}

void HelpFileSearchTest::findsHelpFile_data() {
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("found");
    const QStringList everywhere{"bin/tarvin.HLP", "xdg1/tarvin.HLP", "xdg2/tarvin.HLP",
                                 "inst/tarvin.HLP"};
    QTest::newRow("beside the program comes first")
        << "bin/tarvin.HLP" << everywhere << "bin/tarvin.HLP";
    QTest::newRow("first data folder that has it")
        << "bin/tarvin.HLP" << QStringList{"xdg2/tarvin.HLP", "inst/tarvin.HLP"}
        << "xdg2/tarvin.HLP";
    QTest::newRow("data folders before the installed one")
        << "bin/tarvin.HLP" << QStringList{"xdg1/tarvin.HLP", "inst/tarvin.HLP"}
        << "xdg1/tarvin.HLP";
    QTest::newRow("installed folder last")
        << "bin/tarvin.HLP" << QStringList{"inst/tarvin.HLP"} << "inst/tarvin.HLP";
    QTest::newRow("found nowhere names the request")
        << "bin/tarvin.HLP" << QStringList{"xdg1/other.HLP"} << "bin/tarvin.HLP";
    QTest::newRow("the name asked for, not the program's")
        << "bin/prog.HLP" << QStringList{"xdg1/tarvin.HLP", "xdg2/prog.HLP"} << "xdg2/prog.HLP";
    QTest::newRow("a folder beside the program is no file")
        << "bin/tarvin.HLP" << QStringList{"bin/tarvin.HLP/x", "inst/tarvin.HLP"}
        << "inst/tarvin.HLP";
    QTest::newRow("a folder in a data folder is no file")
        << "bin/tarvin.HLP" << QStringList{"xdg1/tarvin.HLP/x", "xdg2/tarvin.HLP"}
        << "xdg2/tarvin.HLP";
    QTest::newRow("a path without a file name")
        << "bin/" << QStringList{"xdg1/tarvin.HLP"} << "bin/";
}

void HelpFileSearchTest::findsHelpFile() {
    QFETCH(QString, requested);
    QFETCH(QStringList, files);
    QFETCH(QString, found);
    QVERIFY(dir_->isValid());
    MakeFiles(files);
    const QStringList folders{Place("xdg1"), Place("xdg2"), Place("inst")};
    QCOMPARE(FindHelpFile(Place(requested), folders), Place(found));
}

QTEST_MAIN(HelpFileSearchTest)
#include "HelpFileSearchTest.moc"
