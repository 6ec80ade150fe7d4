// SPDX-License-Identifier: GPL-3.0-or-later
// The input field's recall of archive lines with Up and Down, and the copy of
// the full value from the result field's menu and from the keyboard, all
// driven by real key presses on the real dialog.

#include "CalculatorDialogDriver.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

namespace {

QMenu* PopupMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Presses the keys of steps in the input field: U for Up, D for Down.
void PressSteps(QWidget* input, const QString& steps) {
    for (QChar step : steps)
        QTest::keyClick(input, step == QLatin1Char('U') ? Qt::Key_Up : Qt::Key_Down);
}

QAction* ActionNamed(QMenu* menu, const QString& prefix) {
    for (QAction* action : menu->actions())
        if (action->text().startsWith(prefix))
            return action;
    return nullptr;
}

const QString kCopyItem = QStringLiteral("Copy &Full Value");
const QString kUntouched = QStringLiteral("held before");

} // namespace

class RecallAndCopyTest : public CalculatorDialogFixture {
    Q_OBJECT

private slots:
    void init();

    void upAndDownRecallArchiveLines_data();
    void upAndDownRecallArchiveLines();
    void recalledLineRunsOnlyOnEnter();
    void recallFollowsEditsOfTheArchive();
    void copyFullValueFromAnyControl_data();
    void copyFullValueFromAnyControl();
    void copyFromResultMenu_data();
    void copyFromResultMenu();
};

void RecallAndCopyTest::init() {
    CalculatorDialogFixture::init();
    if (QTest::currentTestFailed())
        return;
    QApplication::clipboard()->setText(kUntouched);
}

void RecallAndCopyTest::upAndDownRecallArchiveLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    const QStringList two{"a=1", "b=2"};
    QTest::newRow("up shows the newest line") << two << ""
                                              << "U"
                                              << "b=2";
    QTest::newRow("up again shows the older") << two << ""
                                              << "UU"
                                              << "a=1";
    QTest::newRow("up past the oldest stays on it") << two << ""
                                                    << "UUU"
                                                    << "a=1";
    QTest::newRow("down steps back toward the newest") << two << ""
                                                       << "UUUD"
                                                       << "b=2";
    QTest::newRow("down past the newest brings back the typing") << two << "c=a+"
                                                                 << "UUDD"
                                                                 << "c=a+";
    QTest::newRow("down with nothing recalled keeps the typing") << two << "x"
                                                                 << "D"
                                                                 << "x";
    QTest::newRow("up on an empty archive keeps the typing") << QStringList() << "x"
                                                             << "U"
                                                             << "x";
    QTest::newRow("bare expression comes back as run") << QStringList{"2*3"} << ""
                                                       << "U"
                                                       << "ans=2*3";
    QTest::newRow("failed line is recalled too") << QStringList{"a=1", "a=("} << ""
                                                 << "U"
                                                 << "a=(";
    QTest::newRow("after a run up starts from the newest") << QStringList{"a=1", "b=2", "a=1"} << ""
                                                           << "U"
                                                           << "a=1";
}

// The field shows the line with the caret at its end; the archive, the result
// and the variables stay as the last run left them.
void RecallAndCopyTest::upAndDownRecallArchiveLines() {
    QFETCH(QStringList, lines);
    QFETCH(QString, typed);
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    for (const QString& line : lines)
        m_driver->Enter(line);
    const std::string archive = m_driver->Text(IDC_ARCHIVE);
    const std::string result = m_driver->Text(IDC_RESULT);
    const std::string variables = m_driver->Text(IDC_VARIABLES);
    QLineEdit* input = m_driver->Input();
    QTest::keyClicks(input, typed);
    PressSteps(input, steps);
    QCOMPARE(input->text(), shown);
    QCOMPARE(input->cursorPosition(), static_cast<int>(shown.size()));
    QCOMPARE(m_driver->Text(IDC_ARCHIVE), archive);
    QCOMPARE(m_driver->Text(IDC_RESULT), result);
    QCOMPARE(m_driver->Text(IDC_VARIABLES), variables);
}

void RecallAndCopyTest::recalledLineRunsOnlyOnEnter() {
    m_driver->Enter("x+=1");
    PressSteps(m_driver->Input(), "U");
    QCOMPARE(m_driver->Result()->text(), QString("1"));
    QTest::keyClick(m_driver->Input(), Qt::Key_Return);
    QCOMPARE(m_driver->Result()->text(), QString("2"));
    QCOMPARE(m_driver->Text(IDC_ARCHIVE), std::string("x+=1\r\nx+=1\r\n"));
}

// Lines the user typed into the archive are recalled, blank lines passed over.
void RecallAndCopyTest::recallFollowsEditsOfTheArchive() {
    m_driver->Enter("a=1");
    QPlainTextEdit* archive = m_driver->Archive();
    archive->moveCursor(QTextCursor::Start);
    archive->insertPlainText("b=7\n\n");
    PressSteps(m_driver->Input(), "U");
    QCOMPARE(m_driver->Input()->text(), QString("b=7"));
    PressSteps(m_driver->Input(), "U");
    QCOMPARE(m_driver->Input()->text(), QString("a=1"));
}

void RecallAndCopyTest::copyFullValueFromAnyControl_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("copied");
    QTest::newRow("whole number in full") << "2^40" << IDC_INPUT << "1.09951e+12"
                                          << "1099511627776";
    QTest::newRow("shortest text that reads back") << "0.1+0.2" << IDC_RESULT << "0.3"
                                                   << "0.30000000000000004";
    QTest::newRow("from the archive pane") << "1/3" << IDC_ARCHIVE << "0.333333"
                                           << "0.3333333333333333";
    QTest::newRow("from the variables pane") << "-1/3" << IDC_VARIABLES << "-0.333333"
                                             << "-0.3333333333333333";
    QTest::newRow("from the Calculate button") << "1e300*10" << IDC_CALCULATE << "1e+301"
                                               << "1e+301";
    QTest::newRow("infinity as printf writes it") << "1/0" << IDC_INPUT << "inf"
                                                  << "inf";
    QTest::newRow("failed line leaves the clipboard")
        << "a=(" << IDC_INPUT << "Error" << kUntouched;
    QTest::newRow("command word leaves the clipboard")
        << "var" << IDC_INPUT << "Error" << kUntouched;
}

// Ctrl+Shift+C copies wherever the focus is; the result field keeps its "%g" text.
void RecallAndCopyTest::copyFullValueFromAnyControl() {
    QFETCH(QString, line);
    QFETCH(int, focus);
    QFETCH(QString, shown);
    QFETCH(QString, copied);
    m_driver->Enter(line);
    QWidget* control = m_driver->Dialog().GetDlgItem(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QCOMPARE(m_driver->Result()->text(), shown);
}

void RecallAndCopyTest::copyFromResultMenu_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("offered");
    QTest::newRow("result field offers it") << IDC_RESULT << true;
    QTest::newRow("input field does not") << IDC_INPUT << false;
    QTest::newRow("archive pane does not") << IDC_ARCHIVE << false;
}

// The menu key opens the field's menu; the item copies as the shortcut does.
void RecallAndCopyTest::copyFromResultMenu() {
    QFETCH(int, field);
    QFETCH(bool, offered);
    m_driver->Enter("2^40");
    QWidget* control = m_driver->Dialog().GetDlgItem(field);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(PopupMenu() != nullptr);
    QAction* item = ActionNamed(PopupMenu(), kCopyItem);
    QCOMPARE(item != nullptr, offered);
    if (!item)
        return;
    QVERIFY(ActionNamed(PopupMenu(), "&Copy") != nullptr); // the standard Copy stays
    // Its key shows beside it wherever the desktop hides keys in context menus, and a screen
    // reader hears it as the item's key, not as part of its name.
    QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    QVERIFY(item->isShortcutVisibleInContextMenu());
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(PopupMenu());
    QAccessibleInterface* entry = menu->child(int(PopupMenu()->actions().indexOf(item)));
    QCOMPARE(entry->text(QAccessible::Name), QStringLiteral("Copy Full Value"));
    QCOMPARE(entry->text(QAccessible::Accelerator), QStringLiteral("Ctrl+Shift+C"));
    item->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString("1099511627776"));
}

QTEST_MAIN(RecallAndCopyTest)
#include "RecallAndCopyTest.moc"
