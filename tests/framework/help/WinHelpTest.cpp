// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinHelp.h"
#include "HelpFileName.h"
#include "HelpViewerRegistry.h"

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
    QTemporaryDir dir_;
    std::string mainFile_;
    std::string otherFile_;
};

void WinHelpTest::init() {
    QVERIFY(dir_.isValid());
    SetHelpViewerProgram(TARVIN_HELP_VIEWER);
    mainFile_ = TARVIN_SHIPPED_HELP_FILE;
    otherFile_ = dir_.filePath(QStringLiteral("other.HLP")).toStdString();
    QFile::copy(QString::fromStdString(mainFile_), QString::fromStdString(otherFile_));
}

void WinHelpTest::cleanup() {
    for (const std::string& file : {mainFile_, otherFile_}) {
        QPointer<QProcess> viewer = OpenHelpViewer(file);
        Help(file, HELP_QUIT, 0);
        if (viewer && viewer->state() != QProcess::NotRunning)
            viewer->waitForFinished(kViewerTimeoutMs);
    }
    SetHelpViewerProgram("");
}

void WinHelpTest::showsTopicOfContext_data() {
    QTest::addColumn<qulonglong>("context");
    QTest::addColumn<QByteArray>("state");
    QTest::newRow("main dialog") << qulonglong(kMainContext) << QByteArray("state 0x20066 visible");
    QTest::newRow("about box") << qulonglong(kAboutContext) << QByteArray("state 0x20064 visible");
    QTest::newRow("unknown context shows contents")
        << qulonglong(0x20000 + 999) << QByteArray("state contents visible");
}

void WinHelpTest::showsTopicOfContext() {
    QFETCH(qulonglong, context);
    QFETCH(QByteArray, state);
    QVERIFY(!OpenHelpViewer(mainFile_));
    QVERIFY(Help(mainFile_, HELP_CONTEXT, static_cast<unsigned long>(context)));
    QCOMPARE(ViewerState(OpenHelpViewer(mainFile_)), state);
}

void WinHelpTest::secondRequestSwitchesTopicInSameViewer() {
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kMainContext));
    QProcess* viewer = OpenHelpViewer(mainFile_);
    QCOMPARE(ViewerState(viewer), QByteArray("state 0x20066 visible"));
    const qint64 pid = viewer->processId();
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kAboutContext));
    QCOMPARE(OpenHelpViewer(mainFile_), viewer);
    QCOMPARE(viewer->processId(), pid);
    QCOMPARE(ViewerState(viewer), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::samePathSpelledOtherwiseSharesViewer() {
    QVERIFY(Help(otherFile_, HELP_CONTEXT, kMainContext));
    const std::string spelled = dir_.path().toStdString() + "/./sub/../other.HLP";
    QVERIFY(Help(spelled, HELP_CONTEXT, kAboutContext));
    QCOMPARE(OpenHelpViewer(spelled), OpenHelpViewer(otherFile_));
    QCOMPARE(ViewerState(OpenHelpViewer(otherFile_)), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::eachHelpFileHasItsOwnViewer() {
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kMainContext));
    QVERIFY(Help(otherFile_, HELP_CONTEXT, kAboutContext));
    QProcess* first = OpenHelpViewer(mainFile_);
    QProcess* second = OpenHelpViewer(otherFile_);
    QVERIFY(first && second && first != second);
    QCOMPARE(ViewerState(first), QByteArray("state 0x20066 visible"));
    QCOMPARE(ViewerState(second), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::quitClosesViewer() {
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kMainContext));
    QProcess* viewer = OpenHelpViewer(mainFile_);
    QVERIFY(viewer);
    QSignalSpy finished(viewer, &QProcess::finished);
    QVERIFY(Help(mainFile_, HELP_QUIT, 0));
    QVERIFY(!OpenHelpViewer(mainFile_));
    QVERIFY(finished.wait(kViewerTimeoutMs));
    QCOMPARE(finished.at(0).at(1).value<QProcess::ExitStatus>(), QProcess::NormalExit);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kAboutContext));
    QCOMPARE(ViewerState(OpenHelpViewer(mainFile_)), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::quitWithNothingOpenSucceeds() {
    QVERIFY(Help(mainFile_, HELP_QUIT, 0));
    QVERIFY(!OpenHelpViewer(mainFile_));
    QVERIFY(WinHelp(nullptr, nullptr, HELP_QUIT, 0));
    SetHelpViewerProgram("/nonexistent/viewer");
    QVERIFY(Help(mainFile_, HELP_QUIT, 0)); // starts nothing, so cannot fail to start
    QVERIFY(!OpenHelpViewer(mainFile_));
}

void WinHelpTest::quitLeavesOtherFilesOpen() {
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kMainContext));
    QVERIFY(Help(otherFile_, HELP_CONTEXT, kMainContext));
    QVERIFY(Help(mainFile_, HELP_QUIT, 0));
    QVERIFY(!OpenHelpViewer(mainFile_));
    QCOMPARE(ViewerState(OpenHelpViewer(otherFile_)), QByteArray("state 0x20066 visible"));
}

void WinHelpTest::viewerThatCannotStartFails_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("no such program") << dir_.filePath(QStringLiteral("no-viewer"));
    QTest::newRow("not executable") << QString::fromStdString(mainFile_);
    QTest::newRow("a folder") << dir_.path();
}

void WinHelpTest::viewerThatCannotStartFails() {
    QFETCH(QString, program);
    SetHelpViewerProgram(program.toStdString());
    QCOMPARE(HelpViewerProgram(), program.toStdString());
    QVERIFY(!Help(mainFile_, HELP_CONTEXT, kMainContext));
    QVERIFY(!OpenHelpViewer(mainFile_));
    QVERIFY(!Help(mainFile_, HELP_CONTEXT, kMainContext)); // and again: nothing was kept
    SetHelpViewerProgram(TARVIN_HELP_VIEWER);
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kMainContext));
}

void WinHelpTest::missingHelpFileIsTheViewersMessage() {
    const std::string missing = dir_.filePath(QStringLiteral("missing.HLP")).toStdString();
    QVERIFY(Help(missing, HELP_CONTEXT, kMainContext));
    QCOMPARE(ViewerState(OpenHelpViewer(missing)), QByteArray("state message visible"));
    QPointer<QProcess> viewer = OpenHelpViewer(missing);
    QVERIFY(Help(missing, HELP_QUIT, 0));
    QVERIFY(!viewer || viewer->waitForFinished(kViewerTimeoutMs));
}

void WinHelpTest::viewerThatDiedIsStartedAgain() {
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kMainContext));
    QProcess* viewer = OpenHelpViewer(mainFile_);
    const qint64 pid = viewer->processId();
    QSignalSpy finished(viewer, &QProcess::finished);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    QVERIFY(finished.wait(kViewerTimeoutMs));
    QVERIFY(Help(mainFile_, HELP_CONTEXT, kAboutContext));
    QProcess* restarted = OpenHelpViewer(mainFile_);
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
    QVERIFY(WinHelp(&owner, mainFile_.c_str(), HELP_CONTEXT, kAboutContext));
    QCOMPARE(ViewerState(OpenHelpViewer(mainFile_)), QByteArray("state 0x20064 visible"));
}

void WinHelpTest::unknownCommandFails() {
    QVERIFY(!Help(mainFile_, 0, 0));
    QVERIFY(!Help(mainFile_, 3, kMainContext));
    QVERIFY(!WinHelp(nullptr, nullptr, HELP_CONTEXT, kMainContext));
    QVERIFY(!WinHelp(nullptr, "", HELP_CONTEXT, kMainContext));
    QVERIFY(!OpenHelpViewer(mainFile_));
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
