// SPDX-License-Identifier: GPL-3.0-or-later
// The help requests the window makes: which topic of which file the Help button
// and F1 ask for in each dialog, and the quit request when the main window
// closes. A stand-in viewer records every request it receives in a log file.

#include "CalculatorDialogDriver.h"
#include "HelpRoutingApp.h"
#include "HelpViewerRegistry.h"
#include "ResourceIds.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class HelpRequestTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void helpCommandAsksForTheTopicOfTheDialogInUse();
    void helpKeyInAboutBoxAsksForItsTopic();
    void closingTheWindowSendsTheQuitRequest();

private:
    QStringList LogLines() const;
    bool Logged(const QString& line) const { return LogLines().contains(line); }
    QString Topic(unsigned long context) const;

    QTemporaryDir m_dir;
    QString m_log;
    std::unique_ptr<HelpRoutingApp> m_app;
    std::unique_ptr<CalculatorDialogDriver> m_driver;
};

// The stand-in viewer writes its help file argument and then every line it reads.
void HelpRequestTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_log = m_dir.filePath("requests.log");
    const QString viewer = m_dir.filePath("recording-viewer");
    QFile script(viewer);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\nprintf 'file %s\\n' \"$1\" >> '%1'\n"
                       "while IFS= read -r line; do printf '%s\\n' \"$line\" >> '%1'; done\n")
            .arg(m_log)
            .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SetHelpViewerProgram(viewer.toStdString());
}

void HelpRequestTest::init() {
    QFile::remove(m_log);
    m_app = std::make_unique<HelpRoutingApp>();
    m_driver = std::make_unique<CalculatorDialogDriver>();
    QVERIFY(m_driver->IsCreated());
    m_app->m_pMainWnd = &m_driver->Dialog();
}

// Closing the dialog sends the quit request, so every test starts without a viewer.
void HelpRequestTest::cleanup() {
    m_driver.reset();
    m_app.reset();
}

QStringList HelpRequestTest::LogLines() const {
    QFile file(m_log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// A topic request carries the main window's frame, beside which the viewer opens, and the
// region of its input and result fields, which the viewer never covers.
QString HelpRequestTest::Topic(unsigned long context) const {
    const QRect frame = m_driver->Input()->window()->frameGeometry();
    QRect fields;
    for (const QLineEdit* field : {m_driver->Input(), m_driver->Result()})
        fields |= QRect(field->mapToGlobal(QPoint(0, 0)), field->size());
    QString line = QStringLiteral("topic %1").arg(context);
    for (const QRect& rect : {frame, fields})
        line += QStringLiteral(" %1 %2 %3 %4")
                    .arg(rect.x())
                    .arg(rect.y())
                    .arg(rect.width())
                    .arg(rect.height());
    return line;
}

void HelpRequestTest::helpCommandAsksForTheTopicOfTheDialogInUse() {
    const QString file = QStringLiteral("file ") + QString::fromStdString(AfxHelpFilePath());
    m_driver->HelpButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(Logged(Topic(HID_BASE_RESOURCE + IDD_CALCULATOR)), 5000);
    QVERIFY(Logged(file));
    QTest::keyClick(m_driver->Input(), Qt::Key_F1);
    QTRY_COMPARE_WITH_TIMEOUT(LogLines().count(Topic(HID_BASE_RESOURCE + IDD_CALCULATOR)), 2, 5000);
    QCOMPARE(LogLines().count(file), 1); // one viewer serves both requests
}

void HelpRequestTest::helpKeyInAboutBoxAsksForItsTopic() {
    bool opened = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QStringLiteral("IDD_ABOUT") || !window->isVisible())
                continue;
            opened = true;
            QTest::keyClick(window, Qt::Key_F1);
            if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("IDOK")))
                ok->click();
        }
    });
    m_driver->Dialog().SendSysCommand(IDM_ABOUT, 0);
    QVERIFY(opened);
    QTRY_VERIFY_WITH_TIMEOUT(Logged(Topic(HID_BASE_RESOURCE + IDD_ABOUT)), 5000);
    QVERIFY(!Logged(Topic(HID_BASE_RESOURCE + IDD_CALCULATOR)));
}

void HelpRequestTest::closingTheWindowSendsTheQuitRequest() {
    m_driver->HelpButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(Logged(Topic(HID_BASE_RESOURCE + IDD_CALCULATOR)), 5000);
    m_driver.reset();
    QTRY_VERIFY_WITH_TIMEOUT(Logged(QStringLiteral("quit")), 5000);
}

QTEST_MAIN(HelpRequestTest)
#include "HelpRequestTest.moc"
