// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinHelp.h"
#include "HelpFileName.h"
#include "HelpViewerRegistry.h"
#include "QtTestRows.h"

#include <QDialog>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

namespace {

constexpr unsigned long kMainContext = 0x20000 + 102;
constexpr unsigned long kAboutContext = 0x20000 + 100;
constexpr int kViewerTimeoutMs = 20000;

// Asks a running viewer what it shows; the reply without its line end.
QByteArray ViewerState(QProcess* viewer) {
    if (!viewer)
        return "no viewer";
    viewer->write("state\n");
    while (!viewer->canReadLine()) {
        if (!viewer->waitForReadyRead(kViewerTimeoutMs))
            return "no reply";
    }
    return viewer->readLine().trimmed();
}

bool Help(const std::string& file, unsigned int command, unsigned long data) {
    return WinHelp(nullptr, file.c_str(), command, data);
}

} // namespace

class WinHelpTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTopicOfContext_data();
    void showsTopicOfContext();
    void secondRequestSwitchesTopicInSameViewer();
    void samePathSpelledOtherwiseSharesViewer();
    void eachHelpFileHasItsOwnViewer();
    void quitClosesViewer();
    void quitWithNothingOpenSucceeds();
    void quitLeavesOtherFilesOpen();
    void viewerThatCannotStartFails_data();
    void viewerThatCannotStartFails();
    void missingHelpFileIsTheViewersMessage();
    void viewerThatDiedIsStartedAgain();
    void requestSucceedsWhileModalDialogRuns();
    void unknownCommandFails();
    void defaultViewerLiesBesideProgram();
    void shippedHelpFileHasTheProgramsHelpName();

private:
    QTemporaryDir m_dir;
    std::string m_mainFile;
    std::string m_otherFile;
};

void WinHelpTest::init() {
    QVERIFY(m_dir.isValid());
    SetHelpViewerProgram(TARVIN_HELP_VIEWER);
    m_mainFile = TARVIN_SHIPPED_HELP_FILE;
    m_otherFile = m_dir.filePath(QStringLiteral("other.HLP")).toStdString();
    QFile::copy(QString::fromStdString(m_mainFile), QString::fromStdString(m_otherFile));
}

void WinHelpTest::cleanup() {
    for (const std::string& file : {m_mainFile, m_otherFile}) {
        QPointer<QProcess> viewer = RunningHelpViewer(file);
        Help(file, HELP_QUIT, 0);
        if (viewer && viewer->state() != QProcess::NotRunning)
            viewer->waitForFinished(kViewerTimeoutMs);
    }
    SetHelpViewerProgram("");
}

void WinHelpTest::showsTopicOfContext_data() {
    QtTestRows<qulonglong, QByteArray> table({"context", "state"});
    table.Add({
        {"main dialog", kMainContext, "state 0x20066 visible"},
        {"about box", kAboutContext, "state 0x20064 visible"},
        {"unknown context shows contents", 0x20000 + 999, "state contents visible"},
    });
}

void WinHelpTest::showsTopicOfContext() {
    QFETCH(qulonglong, context);
    QFETCH(QByteArray, state);
    QVERIFY(!RunningHelpViewer(m_mainFile));
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, static_cast<unsigned long>(context)));
    QCOMPARE(ViewerState(RunningHelpViewer(m_mainFile)), state);
}

void WinHelpTest::secondRequestSwitchesTopicInSameViewer() {
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kMainContext));
    QProcess* viewer = RunningHelpViewer(m_mainFile);
    QCOMPARE(ViewerState(viewer), QByteArray("state 0x20066 visible"));
    const qint64 pid = viewer->processId();
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kAboutContext));
    QCOMPARE(RunningHelpViewer(m_mainFile), viewer);
    QCOMPARE(viewer->processId(), pid);
    QCOMPARE(ViewerState(viewer), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::samePathSpelledOtherwiseSharesViewer() {
    QVERIFY(Help(m_otherFile, HELP_CONTEXT, kMainContext));
    const std::string spelled = m_dir.path().toStdString() + "/./sub/../other.HLP";
    QVERIFY(Help(spelled, HELP_CONTEXT, kAboutContext));
    QCOMPARE(RunningHelpViewer(spelled), RunningHelpViewer(m_otherFile));
    QCOMPARE(ViewerState(RunningHelpViewer(m_otherFile)), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::eachHelpFileHasItsOwnViewer() {
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kMainContext));
    QVERIFY(Help(m_otherFile, HELP_CONTEXT, kAboutContext));
    QProcess* first = RunningHelpViewer(m_mainFile);
    QProcess* second = RunningHelpViewer(m_otherFile);
    QVERIFY(first && second && first != second);
    QCOMPARE(ViewerState(first), QByteArray("state 0x20066 visible"));
    QCOMPARE(ViewerState(second), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::quitClosesViewer() {
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kMainContext));
    QProcess* viewer = RunningHelpViewer(m_mainFile);
    QVERIFY(viewer);
    QSignalSpy finished(viewer, &QProcess::finished);
    QVERIFY(Help(m_mainFile, HELP_QUIT, 0));
    QVERIFY(!RunningHelpViewer(m_mainFile));
    QVERIFY(finished.wait(kViewerTimeoutMs));
    QCOMPARE(finished.at(0).at(1).value<QProcess::ExitStatus>(), QProcess::NormalExit);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kAboutContext));
    QCOMPARE(ViewerState(RunningHelpViewer(m_mainFile)), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::quitWithNothingOpenSucceeds() {
    QVERIFY(Help(m_mainFile, HELP_QUIT, 0));
    QVERIFY(!RunningHelpViewer(m_mainFile));
    QVERIFY(WinHelp(nullptr, nullptr, HELP_QUIT, 0));
    SetHelpViewerProgram("/nonexistent/viewer");
    QVERIFY(Help(m_mainFile, HELP_QUIT, 0)); // starts nothing, so cannot fail to start
    QVERIFY(!RunningHelpViewer(m_mainFile));
}

void WinHelpTest::quitLeavesOtherFilesOpen() {
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kMainContext));
    QVERIFY(Help(m_otherFile, HELP_CONTEXT, kMainContext));
    QVERIFY(Help(m_mainFile, HELP_QUIT, 0));
    QVERIFY(!RunningHelpViewer(m_mainFile));
    QCOMPARE(ViewerState(RunningHelpViewer(m_otherFile)), QByteArray("state 0x20066 visible"));
}

void WinHelpTest::viewerThatCannotStartFails_data() {
    QtTestRows<QString> table({"program"});
    table.Add({
        {"no such program", m_dir.filePath(QStringLiteral("no-viewer"))},
        {"not executable", QString::fromStdString(m_mainFile)},
        {"a folder", m_dir.path()},
    });
}

void WinHelpTest::viewerThatCannotStartFails() {
    QFETCH(QString, program);
    SetHelpViewerProgram(program.toStdString());
    QCOMPARE(HelpViewerProgram(), program.toStdString());
    QVERIFY(!Help(m_mainFile, HELP_CONTEXT, kMainContext));
    QVERIFY(!RunningHelpViewer(m_mainFile));
    QVERIFY(!Help(m_mainFile, HELP_CONTEXT, kMainContext)); // and again: nothing was kept
    SetHelpViewerProgram(TARVIN_HELP_VIEWER);
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kMainContext));
}

void WinHelpTest::missingHelpFileIsTheViewersMessage() {
    const std::string missing = m_dir.filePath(QStringLiteral("missing.HLP")).toStdString();
    QVERIFY(Help(missing, HELP_CONTEXT, kMainContext));
    QCOMPARE(ViewerState(RunningHelpViewer(missing)), QByteArray("state message visible"));
    QPointer<QProcess> viewer = RunningHelpViewer(missing);
    QVERIFY(Help(missing, HELP_QUIT, 0));
    QVERIFY(!viewer || viewer->waitForFinished(kViewerTimeoutMs));
}

void WinHelpTest::viewerThatDiedIsStartedAgain() {
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kMainContext));
    QProcess* viewer = RunningHelpViewer(m_mainFile);
    const qint64 pid = viewer->processId();
    QSignalSpy finished(viewer, &QProcess::finished);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    QVERIFY(finished.wait(kViewerTimeoutMs));
    QVERIFY(Help(m_mainFile, HELP_CONTEXT, kAboutContext));
    QProcess* restarted = RunningHelpViewer(m_mainFile);
    QVERIFY(restarted);
    QVERIFY(restarted->processId() != pid);
    QCOMPARE(ViewerState(restarted), QByteArray("state 0x20064 visible"));
}

// The viewer is a process of its own: a modal run in the program, with the
// owner disabled, neither stops the request nor the viewer's answers.
void WinHelpTest::requestSucceedsWhileModalDialogRuns() {
    QWidget owner;
    owner.show();
    QDialog dialog(&owner);
    dialog.setModal(true);
    dialog.show();
    QVERIFY(!owner.isEnabled() || QApplication::activeModalWidget() == &dialog);
    QVERIFY(WinHelp(&owner, m_mainFile.c_str(), HELP_CONTEXT, kAboutContext));
    QCOMPARE(ViewerState(RunningHelpViewer(m_mainFile)), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::unknownCommandFails() {
    QVERIFY(!Help(m_mainFile, 0, 0));
    QVERIFY(!Help(m_mainFile, 3, kMainContext));
    QVERIFY(!WinHelp(nullptr, nullptr, HELP_CONTEXT, kMainContext));
    QVERIFY(!WinHelp(nullptr, "", HELP_CONTEXT, kMainContext));
    QVERIFY(!RunningHelpViewer(m_mainFile));
}

void WinHelpTest::defaultViewerLiesBesideProgram() {
    SetHelpViewerProgram("");
    const QFileInfo viewer(QString::fromStdString(HelpViewerProgram()));
    QCOMPARE(viewer.absolutePath(), QCoreApplication::applicationDirPath());
    QCOMPARE(viewer.fileName(), QStringLiteral("tarvin-help"));
    QVERIFY(viewer.isExecutable());
}

void WinHelpTest::shippedHelpFileHasTheProgramsHelpName() {
    const QString shipped = QFileInfo(QStringLiteral(TARVIN_SHIPPED_HELP_FILE)).absoluteFilePath();
    const QString program =
        QFileInfo(QStringLiteral(TARVIN_HELP_VIEWER)).absolutePath() + QStringLiteral("/tarvin");
    QCOMPARE(QString::fromStdString(HelpFilePathFor(program.toStdString())), shipped);
    QVERIFY(QFileInfo::exists(shipped));
}

QTEST_MAIN(WinHelpTest)
#include "WinHelpTest.moc"
