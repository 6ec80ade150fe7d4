// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculatorDialogDriver.h"
#include "HelpRoutingApp.h"
#include "HelpViewerRegistry.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace {

QList<QMessageBox*> OpenMessageBoxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            boxes << box;
    return boxes;
}

} // namespace

class HelpFailureTest : public CalculatorDialogFixture {
    Q_OBJECT

public:
    HelpFailureTest() : CalculatorDialogFixture(Bring::Created) {}

private slots:
    void init();
    void cleanup();
    void failureIsShownOnceAndRepeatIgnored_data();
    void failureIsShownOnceAndRepeatIgnored();
    void helpKeyWithModifierDoesNothing_data();
    void helpKeyWithModifierDoesNothing();

private:
    std::unique_ptr<HelpRoutingApp> m_app;
};

void HelpFailureTest::init() {
    m_app = std::make_unique<HelpRoutingApp>();
    CalculatorDialogFixture::init();
    m_app->m_pMainWnd = &m_driver->Dialog();
    SetHelpViewerProgram("/nonexistent/tarvin-help");
}

void HelpFailureTest::cleanup() {
    SetHelpViewerProgram("");
    m_app->m_pMainWnd = nullptr;
    CalculatorDialogFixture::cleanup();
    m_app.reset();
}

void HelpFailureTest::failureIsShownOnceAndRepeatIgnored_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Help button") << false;
    QTest::newRow("F1 in the input field") << true;
}

void HelpFailureTest::failureIsShownOnceAndRepeatIgnored() {
    QFETCH(bool, byKey);
    int shown = 0;
    int openDuringRepeat = 0;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        QList<QMessageBox*> boxes = OpenMessageBoxes();
        shown = int(boxes.size());
        if (boxes.isEmpty())
            return;
        text = boxes[0]->text();
        caption = boxes[0]->windowTitle();
        icon = boxes[0]->icon();
        m_driver->HelpButton()->click(); // a second help command while it is open
        openDuringRepeat = int(OpenMessageBoxes().size());
        boxes[0]->button(QMessageBox::Ok)->click();
    });
    if (byKey)
        QTest::keyClick(m_driver->Input(), Qt::Key_F1);
    else
        m_driver->HelpButton()->click();
    QCOMPARE(shown, 1);
    QCOMPARE(openDuringRepeat, 1);
    QCOMPARE(text, QStringLiteral("Failed to launch help."));
    QCOMPARE(caption, QStringLiteral("tarvin"));
    QCOMPARE(icon, QMessageBox::Warning);
    QVERIFY(OpenMessageBoxes().isEmpty());
}

// The failing engine answers every help command with a message box at once, so
// any help command the key sends shows up as a box.
void HelpFailureTest::helpKeyWithModifierDoesNothing_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("asksForHelp");
    QTest::newRow("plain F1 asks, the baseline") << int(Qt::NoModifier) << IDC_INPUT << true;
    QTest::newRow("Shift+F1 in the input field") << int(Qt::ShiftModifier) << IDC_INPUT << false;
    QTest::newRow("Ctrl+F1 on Calculate") << int(Qt::ControlModifier) << IDC_CALCULATE << false;
    QTest::newRow("Alt+F1 in the archive pane") << int(Qt::AltModifier) << IDC_ARCHIVE << false;
    QTest::newRow("Ctrl+Shift+F1 in the variables pane")
        << int(Qt::ControlModifier | Qt::ShiftModifier) << IDC_VARIABLES << false;
}

void HelpFailureTest::helpKeyWithModifierDoesNothing() {
    QFETCH(int, modifiers);
    QFETCH(int, target);
    QFETCH(bool, asksForHelp);
    int shown = -1;
    QTimer::singleShot(0, [&] {
        QList<QMessageBox*> boxes = OpenMessageBoxes();
        shown = int(boxes.size());
        for (QMessageBox* box : boxes)
            box->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(m_driver->Dialog().GetDlgItem(target), Qt::Key_F1,
                    Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(shown >= 0);
    QCOMPARE(shown, asksForHelp ? 1 : 0);
    QVERIFY(!m_driver->Dialog().HasEnded());
}

QTEST_MAIN(HelpFailureTest)
#include "HelpFailureTest.moc"
