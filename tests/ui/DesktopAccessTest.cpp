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

#include <algorithm>

namespace {

QString ExposedText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    return node ? node->text(kind) : QString();
}

// The texts of the controls that label this one, as a screen reader reads them
// in place of its name.
QStringList LabelTexts(QWidget* widget) {
    QStringList texts;
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    for (const auto& [other, relation] : node->relations(QAccessible::Label))
        texts << other->text(QAccessible::Name);
    return texts;
}

// The stretch of text a screen reader reads, joining the attribute runs from
// the start as Orca does: each run from its start to its end, the next asked
// at the end or one further.
int ReadUpTo(QAccessibleTextInterface* text) {
    int offset = 0;
    int readTo = 0;
    while (offset < text->characterCount()) {
        int start = 0;
        int end = 0;
        text->attributes(offset, &start, &end);
        readTo = end;
        offset = std::max(end, offset + 1);
    }
    return readTo;
}

// Records, in order, the accessible names that a watched object has each time
// it is shown.
class ShowRecorder : public QObject {
public:
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(watched);
            if (node && node->role() == QAccessible::Notification)
                shown << node->text(QAccessible::Name);
        }
        return false;
    }
};

} // namespace

class DesktopAccessTest : public CalculatorDialogFixture {
    Q_OBJECT

private slots:
    void controlsHaveNamesAndDescriptions_data();
    void controlsHaveNamesAndDescriptions();
    void outcomeIsToldWhereTheFocusIs();
    void everyOutcomeIsShownAsNotification();
    void resultIsReadWhole_data();
    void resultIsReadWhole();
    void contextMenuKeyReachesSystemMenuItems_data();
    void contextMenuKeyReachesSystemMenuItems();
};

void DesktopAccessTest::controlsHaveNamesAndDescriptions_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("described");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("input") << IDC_INPUT << "Statement"
                           << "Enter calculates" << QStringList();
    QTest::newRow("result, not labelled by =") << IDC_RESULT << "Result"
                                               << "or Error" << QStringList();
    QTest::newRow("archive") << IDC_ARCHIVE << "Archive"
                             << "newest first" << QStringList{"Archive:"};
    QTest::newRow("Calculate, by its text") << IDC_CALCULATE << "Calculate"
                                            << "Enter" << QStringList();
    QTest::newRow("Help, by its text") << int(ID_HELP) << "Help"
                                       << "F1" << QStringList();
    QTest::newRow("variables") << IDC_VARIABLES << "Variables"
                               << "name order" << QStringList{"Variables:"};
}

void DesktopAccessTest::controlsHaveNamesAndDescriptions() {
    QFETCH(int, id);
    QFETCH(QString, name);
    QFETCH(QString, described);
    QFETCH(QStringList, labels);
    QWidget* control = m_driver->Dialog().GetDlgItem(id);
    QVERIFY(control);
    QCOMPARE(ExposedText(control, QAccessible::Name), name);
    QCOMPARE(LabelTexts(control), labels);
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

// Each press shows the notification anew, so a screen reader that speaks it as
// it appears hears every outcome, a repeat included, from any field.
void DesktopAccessTest::everyOutcomeIsShownAsNotification() {
    QWidget* announcer = m_driver->Window()->findChild<QWidget*>(QStringLiteral("Announcer"));
    QVERIFY(announcer);
    ShowRecorder recorder;
    announcer->installEventFilter(&recorder);
    m_driver->Enter("2*21");
    m_driver->Enter("6*7");
    m_driver->Archive()->setFocus();
    QTest::keyClick(m_driver->Archive(), Qt::Key_Return);
    const QString last = m_driver->Press("1/0");
    QCOMPARE(recorder.shown,
             (QStringList{"Result: 42", "Result: 42", "Result: Error", "Result: " + last}));
}

// The result field is read to its last character: its text attributes form
// runs that a reader joining them from the start ends at the text's end.
void DesktopAccessTest::resultIsReadWhole_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("two digits") << "2*21";
    QTest::newRow("Error") << "1+";
    QTest::newRow("exponent form") << "2^20";
    QTest::newRow("one digit") << "7";
}

void DesktopAccessTest::resultIsReadWhole() {
    QFETCH(QString, line);
    const QString shown = m_driver->Enter(line);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(m_driver->Result());
    QAccessibleTextInterface* text = node->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), shown.size());
    QCOMPARE(ReadUpTo(text), shown.size());
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(0, QAccessible::LineBoundary, &start, &end), shown);
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
    const QStringList texts = MenuTexts(popup);
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
