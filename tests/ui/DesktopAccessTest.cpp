// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as assistive technology and a keyboard-only user meet it:
// what each control is called, where the outcome of a press is told, and the
// keyboard's way to the system menu's items.

#include "AboutBoxCloser.h"
#include "CalculatorDialogDriver.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <memory>

namespace {

QString ExposedText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    return node ? node->text(kind) : QString();
}

} // namespace

class DesktopAccessTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsHaveNamesAndDescriptions_data();
    void controlsHaveNamesAndDescriptions();
    void outcomeIsToldWhereTheFocusIs();
    void contextMenuKeyReachesSystemMenuItems_data();
    void contextMenuKeyReachesSystemMenuItems();

private:
    std::unique_ptr<CalculatorDialogDriver> m_driver;
};

void DesktopAccessTest::init() {
    m_driver = std::make_unique<CalculatorDialogDriver>();
    QVERIFY(m_driver->IsCreated());
    m_driver->Window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_driver->Window()));
}

void DesktopAccessTest::cleanup() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    m_driver.reset();
}

void DesktopAccessTest::controlsHaveNamesAndDescriptions_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("described");
    QTest::newRow("input") << IDC_INPUT << "Statement"
                           << "Enter calculates";
    QTest::newRow("result") << IDC_RESULT << "Result"
                            << "or Error";
    QTest::newRow("archive") << IDC_ARCHIVE << "Archive"
                             << "newest first";
    QTest::newRow("Calculate, by its text") << IDC_CALCULATE << "Calculate"
                                            << "Enter";
    QTest::newRow("Help, by its text") << int(ID_HELP) << "Help"
                                       << "F1";
    QTest::newRow("variables") << IDC_VARIABLES << "Variables"
                               << "name order";
}

void DesktopAccessTest::controlsHaveNamesAndDescriptions() {
    QFETCH(int, id);
    QFETCH(QString, name);
    QFETCH(QString, described);
    QWidget* control = m_driver->Dialog().GetDlgItem(id);
    QVERIFY(control);
    QCOMPARE(ExposedText(control, QAccessible::Name), name);
    QVERIFY2(ExposedText(control, QAccessible::Description).contains(described),
             qPrintable(ExposedText(control, QAccessible::Description)));
}

// Each press is told in the description of the control with the focus (that
// a repeated outcome is reported again is seen through AT-SPI, in the
// desktop.screen_reader test); a control that lost the focus gets its own
// description back when the next outcome goes elsewhere.
void DesktopAccessTest::outcomeIsToldWhereTheFocusIs() {
    QLineEdit* input = m_driver->Input();
    QPlainTextEdit* archive = m_driver->Archive();
    const QString inputOwn = input->accessibleDescription();
    const QString archiveOwn = archive->accessibleDescription();
    const QString resultOwn = m_driver->Result()->accessibleDescription();

    QCOMPARE(m_driver->Enter("2*21"), QStringLiteral("42"));
    QCOMPARE(input->accessibleDescription(), QStringLiteral("Result: 42"));
    QCOMPARE(m_driver->Enter("6*7"), QStringLiteral("42"));
    QCOMPARE(input->accessibleDescription(), QStringLiteral("Result: 42"));

    archive->setFocus();
    QTest::keyClicks(input, "1+");
    QTest::keyClick(archive, Qt::Key_Return);
    QCOMPARE(archive->accessibleDescription(), QStringLiteral("Result: Error"));
    QCOMPARE(input->accessibleDescription(), inputOwn);

    // A click gives the button the focus, and the outcome with it.
    QCOMPARE(m_driver->Press("x=2^20"), QStringLiteral("1.04858e+06"));
    QCOMPARE(m_driver->CalculateButton()->accessibleDescription(),
             QStringLiteral("Result: 1.04858e+06"));
    QCOMPARE(archive->accessibleDescription(), archiveOwn);
    QCOMPARE(m_driver->Result()->accessibleDescription(), resultOwn);
}

void DesktopAccessTest::contextMenuKeyReachesSystemMenuItems_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("menu");
    QTest::newRow("input: its own menu") << IDC_INPUT << "EditMenu";
    QTest::newRow("result: its own menu") << IDC_RESULT << "EditMenu";
    QTest::newRow("archive: its own menu") << IDC_ARCHIVE << "EditMenu";
    QTest::newRow("variables: its own menu") << IDC_VARIABLES << "EditMenu";
    QTest::newRow("Calculate: the system menu") << IDC_CALCULATE << "SystemMenu";
    QTest::newRow("Help: the system menu") << int(ID_HELP) << "SystemMenu";
}

// Shift+F10 opens a menu ending in the system menu's items; Up, Enter choose
// About Tarvin and the About box opens.
void DesktopAccessTest::contextMenuKeyReachesSystemMenuItems() {
    QFETCH(int, id);
    QFETCH(QString, menu);
    QWidget* control = m_driver->Dialog().GetDlgItem(id);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), menu);
    QStringList texts;
    for (QAction* action : popup->actions())
        texts << action->text();
    // An edit field's own items come first, then a separator.
    QStringList tail{"&Close\tAlt+F4", "", "&About Tarvin"};
    if (menu == QStringLiteral("EditMenu"))
        tail.prepend(QString());
    QVERIFY2(texts.size() > tail.size() || menu == QStringLiteral("SystemMenu"),
             qPrintable(texts.join('|')));
    QCOMPARE(texts.mid(texts.size() - tail.size()), tail);
    AboutBoxCloser closer;
    QTest::keyClick(popup, Qt::Key_Up);
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(closer.opened());
    QVERIFY(!m_driver->Dialog().HasEnded());
}

QTEST_MAIN(DesktopAccessTest)
#include "DesktopAccessTest.moc"
