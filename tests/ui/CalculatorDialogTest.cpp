// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBoxCloser.h"
#include "CalculatorDialogDriver.h"
#include "DialogGeometry.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

QWidget* PopupMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

} // namespace

class CalculatorDialogTest : public CalculatorDialogFixture {
    Q_OBJECT

private slots:
    void opensCentredWithEmptyFieldsAndFocusInInput();
    void isFixedSizeWithOwnTaskBarEntryAndIcon();
    void controlRectanglesComeFromDialogUnits_data();
    void controlRectanglesComeFromDialogUnits();
    void labelsNameTheirFields_data();
    void labelsNameTheirFields();
    void tabVisitsTabStopsInTemplateOrder();
    void backtabVisitsThemInReverse();
    void enterInEditFieldPressesCalculate_data();
    void enterInEditFieldPressesCalculate();
    void enterOnFocusedButtonPressesThatButton_data();
    void enterOnFocusedButtonPressesThatButton();
    void escapeInEveryControlCancels_data();
    void escapeInEveryControlCancels();
    void closeBoxCancels();
    void calculateShowsOutcome_data();
    void calculateShowsOutcome();
    void archiveListsLinesNewestFirst_data();
    void archiveListsLinesNewestFirst();
    void userEditsInArchiveSurvive();
    void userEditsElsewhereAreOverwritten_data();
    void userEditsElsewhereAreOverwritten();
    void unchangedShortTextKeepsCaret_data();
    void unchangedShortTextKeepsCaret();
    void rightClickOnSurfaceOpensSystemMenu();
    void rightClickOnControlDoesNot_data();
    void rightClickOnControlDoesNot();
    void altSpaceOpensSystemMenu();
    void choosingSystemMenuItem_data();
    void choosingSystemMenuItem();
    void systemCommands_data();
    void systemCommands();
    void dragIconIsProgramIcon();
};

void CalculatorDialogTest::opensCentredWithEmptyFieldsAndFocusInInput() {
    QWidget* window = m_driver->Window();
    QCOMPARE(window->objectName(), QStringLiteral("IDD_CALCULATOR"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarvin"));
    QRect area = window->screen()->availableGeometry();
    QVERIFY(qAbs(window->frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(window->frameGeometry().center().y() - area.center().y()) <= 1);
    for (int id : {IDC_INPUT, IDC_RESULT, IDC_ARCHIVE, IDC_VARIABLES})
        QCOMPARE(m_driver->Text(id), std::string());
    QCOMPARE(QApplication::focusWidget(), m_driver->Input());
    QVERIFY(m_driver->CalculateButton()->isDefault());
}

void CalculatorDialogTest::isFixedSizeWithOwnTaskBarEntryAndIcon() {
    QWidget* window = m_driver->Window();
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(window->size(), ExpectedPixels(QRect(0, 0, 391, 170)).size());
    Qt::WindowFlags flags = window->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QList<QSize> sizes = window->windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
}

void CalculatorDialogTest::controlRectanglesComeFromDialogUnits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("units");
    QTest::newRow("input field") << "IDC_INPUT" << QRect(7, 7, 287, 14);
    QTest::newRow("result field") << "IDC_RESULT" << QRect(315, 7, 66, 14);
    QTest::newRow("archive pane") << "IDC_ARCHIVE" << QRect(7, 33, 267, 130);
    QTest::newRow("Calculate 13 high at 150") << "IDC_CALCULATE" << QRect(281, 150, 48, 13);
    QTest::newRow("Help 14 high at 149") << "ID_HELP" << QRect(334, 149, 50, 14);
    QTest::newRow("variables pane") << "IDC_VARIABLES" << QRect(281, 33, 103, 113);
    QTest::newRow("equals label") << "=" << QRect(301, 10, 8, 8);
    QTest::newRow("variables label") << "Variables:" << QRect(281, 24, 58, 8);
    QTest::newRow("archive label") << "Archive:" << QRect(9, 22, 27, 8);
}

void CalculatorDialogTest::controlRectanglesComeFromDialogUnits() {
    QFETCH(QString, name);
    QFETCH(QRect, units);
    QWidget* control = m_driver->Window()->findChild<QWidget*>(name);
    if (!control)
        control = LabelWithText(m_driver->Window(), name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), ExpectedPixels(units));
}

// Each label stands beside its field as its buddy; assistive technology reads
// the field by a name of its own, not by the label's text.
void CalculatorDialogTest::labelsNameTheirFields_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("equals names the result") << "="
                                             << "IDC_RESULT"
                                             << "Result";
    QTest::newRow("Variables: names its pane") << "Variables:"
                                               << "IDC_VARIABLES"
                                               << "Variables";
    QTest::newRow("Archive: names its pane") << "Archive:"
                                             << "IDC_ARCHIVE"
                                             << "Archive";
}

void CalculatorDialogTest::labelsNameTheirFields() {
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(QString, accessibleName);
    QLabel* text = LabelWithText(m_driver->Window(), label);
    QVERIFY(text);
    QCOMPARE(text->buddy()->objectName(), field);
    QCOMPARE(text->buddy()->accessibleName(), accessibleName);
}

static const char* const kTabOrder[] = {"IDC_INPUT",     "IDC_RESULT", "IDC_ARCHIVE",
                                        "IDC_CALCULATE", "ID_HELP",    "IDC_VARIABLES"};

void CalculatorDialogTest::tabVisitsTabStopsInTemplateOrder() {
    for (int step = 1; step <= 6; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(),
                 QString::fromLatin1(kTabOrder[step % 6]));
    }
}

void CalculatorDialogTest::backtabVisitsThemInReverse() {
    for (int step = 5; step >= 0; --step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(kTabOrder[step]));
    }
}

void CalculatorDialogTest::enterInEditFieldPressesCalculate_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("key");
    QTest::newRow("Return in input") << IDC_INPUT << int(Qt::Key_Return);
    QTest::newRow("keypad Enter in input") << IDC_INPUT << int(Qt::Key_Enter);
    QTest::newRow("Return in result") << IDC_RESULT << int(Qt::Key_Return);
    QTest::newRow("Return in archive") << IDC_ARCHIVE << int(Qt::Key_Return);
    QTest::newRow("keypad Enter in archive") << IDC_ARCHIVE << int(Qt::Key_Enter);
    QTest::newRow("Return in variables") << IDC_VARIABLES << int(Qt::Key_Return);
}

// One press happened and no line break reached the fields: a Return taken by
// a pane would have been saved into the archive or the listing first.
void CalculatorDialogTest::enterInEditFieldPressesCalculate() {
    QFETCH(int, field);
    QFETCH(int, key);
    QTest::keyClicks(m_driver->Input(), "a=7");
    QWidget* control = m_driver->Dialog().GetDlgItem(field);
    control->setFocus();
    Qt::KeyboardModifiers mods = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(control, Qt::Key(key), mods);
    QCOMPARE(m_driver->Text(IDC_ARCHIVE), std::string("a=7\r\n"));
    QCOMPARE(m_driver->Text(IDC_RESULT), std::string("7"));
    QCOMPARE(m_driver->Text(IDC_VARIABLES), std::string("a = 7.000000\r\n"));
    QCOMPARE(m_driver->Text(IDC_INPUT), std::string());
}

void CalculatorDialogTest::enterOnFocusedButtonPressesThatButton_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("calculates");
    QTest::newRow("Enter on Calculate calculates") << IDC_CALCULATE << true;
    QTest::newRow("Enter on Help presses Help only") << ID_HELP << false;
}

void CalculatorDialogTest::enterOnFocusedButtonPressesThatButton() {
    QFETCH(int, button);
    QFETCH(bool, calculates);
    auto* focused = qobject_cast<QPushButton*>(m_driver->Dialog().GetDlgItem(button));
    QSignalSpy clicks(focused, &QPushButton::clicked);
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(m_driver->Text(IDC_ARCHIVE), std::string(calculates ? "ans=\r\n" : ""));
    QVERIFY(!m_driver->Dialog().HasEnded());
}

void CalculatorDialogTest::escapeInEveryControlCancels_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : kTabOrder)
        QTest::newRow(name) << QString::fromLatin1(name);
}

void CalculatorDialogTest::escapeInEveryControlCancels() {
    QFETCH(QString, name);
    QWidget* control = m_driver->Window()->findChild<QWidget*>(name);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Escape);
    QVERIFY(m_driver->Dialog().HasEnded());
    QCOMPARE(m_driver->Dialog().GetEndValue(), IDCANCEL);
    QVERIFY(!m_driver->Window()->isVisible());
}

void CalculatorDialogTest::closeBoxCancels() {
    m_driver->Window()->windowHandle()->close();
    QVERIFY(m_driver->Dialog().HasEnded());
    QCOMPARE(m_driver->Dialog().GetEndValue(), IDCANCEL);
}

namespace {

// One press after the lines earlier: what the result field, the archive's top line and the
// variables pane then show.
struct OutcomeRow {
    const char* name;
    const char* earlier; // the lines pressed first, one a line
    const char* line;
    const char* result;
    const char* archiveTop;
    const char* variables;
};

const OutcomeRow kOutcomeRows[] = {
    {"assignment reaches engine unchanged", "", "a=5", "5", "a=5", "a = 5.000000\r\n"},
    {"bare number becomes ans", "", "5", "5", "ans=5", "ans = 5.000000\r\n"},
    {"six significant digits", "", "1/3", "0.333333", "ans=1/3", "ans = 0.333333\r\n"},
    {"exponent form from 1e6 up", "", "2^20", "1.04858e+06", "ans=2^20",
     "ans = 1048576.000000\r\n"},
    {"exponent form below 1e-4", "", "1/20000", "5e-05", "ans=1/20000", "ans = 0.000050\r\n"},
    {"trailing zeros dropped", "", "5/2", "2.5", "ans=5/2", "ans = 2.500000\r\n"},
    {"division by zero is inf", "", "1/0", "inf", "ans=1/0", "ans = inf\r\n"},
    {"negative infinity", "", "-1/0", "-inf", "ans=-1/0", "ans = -inf\r\n"},
    {"root of -1 is the library's nan", "", "kor(-1)", "-nan", "ans=kor(-1)", "ans = -nan\r\n"},
    {"empty line becomes ans= and fails", "", "", "Error", "ans=", ""},
    {"var lists and shows Error", "a=1", "var", "Error", "var", "a = 1.000000\r\n"},
    {"clear empties memory", "a=1\nb=2", "clear", "Error", "clear", ""},
    {"brisi empties memory", "a=1", "brisi", "Error", "brisi", ""},
    {"Clear in capitals is a variable", "", "Clear", "0", "ans=Clear",
     "Clear = 0.000000\r\nans = 0.000000\r\n"},
    {"var after a blank is a variable", "", " var", "0", "ans= var",
     "ans = 0.000000\r\nvar = 0.000000\r\n"},
    {"var before a blank is a variable", "", "var ", "0", "ans=var ",
     "ans = 0.000000\r\nvar = 0.000000\r\n"},
    {"var x is rejected", "", "var x", "Error", "ans=var x", ""},
    {"help alone is a variable", "", "help", "0", "ans=help",
     "ans = 0.000000\r\nhelp = 0.000000\r\n"},
    {"kraj alone is a variable", "", "kraj", "0", "ans=kraj",
     "ans = 0.000000\r\nkraj = 0.000000\r\n"},
    {"kraj=1 is the quit command and changes nothing", "a=1", "kraj=1", "Error", "kraj=1",
     "a = 1.000000\r\n"},
    {"help=2 is the help command", "", "help=2", "Error", "help=2", ""},
    {"var = 5 is the listing command", "", "var = 5", "Error", "var = 5", ""},
    {"a==b holds = and is rejected", "", "a==b", "Error", "a==b", ""},
    {"x<=3 holds = and is rejected", "", "x<=3", "Error", "x<=3", ""},
    {"x+=1 creates x", "", "x+=1", "1", "x+=1", "x = 1.000000\r\n"},
    {"variables live on", "a=2", "b=a*3", "6", "b=a*3", "a = 2.000000\r\nb = 6.000000\r\n"},
    {"failed line keeps variables", "a=2", "a=(1", "Error", "a=(1", "a = 2.000000\r\n"},
    {"result after a failure is fresh", "a=(1", "4", "4", "ans=4", "ans = 4.000000\r\n"},
};

} // namespace

void CalculatorDialogTest::calculateShowsOutcome_data() {
    QTest::addColumn<QStringList>("earlier");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("archiveTop");
    QTest::addColumn<QString>("variables");
    for (const OutcomeRow& row : kOutcomeRows)
        QTest::newRow(row.name) << QString(row.earlier).split('\n', Qt::SkipEmptyParts)
                                << QString(row.line) << QString(row.result)
                                << QString(row.archiveTop) << QString(row.variables);
}

void CalculatorDialogTest::calculateShowsOutcome() {
    QFETCH(QStringList, earlier);
    QFETCH(QString, line);
    QFETCH(QString, result);
    QFETCH(QString, archiveTop);
    QFETCH(QString, variables);
    for (const QString& before : earlier)
        m_driver->Press(before);
    QCOMPARE(m_driver->Press(line), result);
    std::string archive = m_driver->Text(IDC_ARCHIVE);
    QCOMPARE(QString::fromStdString(archive.substr(0, archive.find("\r\n"))), archiveTop);
    QCOMPARE(archive.size() - QString(archive.c_str()).remove("\r\n").toStdString().size(),
             std::size_t(2 * (earlier.size() + 1)));
    QCOMPARE(QString::fromStdString(m_driver->Text(IDC_VARIABLES)), variables);
    QCOMPARE(m_driver->Text(IDC_INPUT), std::string());
    QVERIFY(!m_driver->Dialog().HasEnded());
}

void CalculatorDialogTest::archiveListsLinesNewestFirst_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("archive");
    QTest::newRow("two bare numbers") << QStringList{"5", "6"} << "ans=6\r\nans=5\r\n";
    QTest::newRow("clear keeps earlier lines") << QStringList{"a=1", "clear"} << "clear\r\na=1\r\n";
    QTest::newRow("failures are recorded")
        << QStringList{"", "a=(", "b=1"} << "b=1\r\na=(\r\nans=\r\n";
}

void CalculatorDialogTest::archiveListsLinesNewestFirst() {
    QFETCH(QStringList, lines);
    QFETCH(QString, archive);
    for (const QString& line : lines)
        m_driver->Enter(line);
    QCOMPARE(QString::fromStdString(m_driver->Text(IDC_ARCHIVE)), archive);
}

void CalculatorDialogTest::userEditsInArchiveSurvive() {
    m_driver->Press("5");
    QPlainTextEdit* archive = m_driver->Archive();
    archive->moveCursor(QTextCursor::Start);
    QTest::keyClicks(archive, "note ");
    m_driver->Press("6");
    QCOMPARE(m_driver->Text(IDC_ARCHIVE), std::string("ans=6\r\nnote ans=5\r\n"));
}

void CalculatorDialogTest::userEditsElsewhereAreOverwritten_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("result field") << IDC_RESULT << "1";
    QTest::newRow("variables pane") << IDC_VARIABLES << "a = 1.000000\r\n";
}

void CalculatorDialogTest::userEditsElsewhereAreOverwritten() {
    QFETCH(int, field);
    QFETCH(QString, shown);
    QTest::keyClicks(m_driver->Dialog().GetDlgItem(field), "typed by the user");
    m_driver->Press("a=1");
    QCOMPARE(QString::fromStdString(m_driver->Text(field)), shown);
}

void CalculatorDialogTest::unchangedShortTextKeepsCaret_data() {
    QTest::addColumn<int>("variableCount");
    QTest::addColumn<bool>("kept");
    // Each listing line of a three-letter name is 16 bytes.
    QTest::newRow("listing of 240 bytes is left alone") << 15 << true;
    QTest::newRow("listing of 256 bytes is written anew") << 16 << false;
}

void CalculatorDialogTest::unchangedShortTextKeepsCaret() {
    QFETCH(int, variableCount);
    QFETCH(bool, kept);
    for (int i = 0; i < variableCount; ++i)
        m_driver->Press(QStringLiteral("v%1=0").arg(10 + i));
    QCOMPARE(m_driver->Text(IDC_VARIABLES).size(), std::size_t(16 * variableCount));
    QPlainTextEdit* pane = m_driver->Variables();
    pane->moveCursor(QTextCursor::End);
    int end = pane->textCursor().position();
    m_driver->Press("var");
    QCOMPARE(pane->textCursor().position(), kept ? end : 0);
}

void CalculatorDialogTest::rightClickOnSurfaceOpensSystemMenu() {
    // Between the input field and the archive pane, right of the label.
    QPoint surface = ExpectedPixels(QRect(150, 27, 0, 0)).topLeft();
    QVERIFY(!m_driver->Window()->childAt(surface));
    QTest::mouseClick(m_driver->Window()->windowHandle(), Qt::RightButton, {}, surface);
    QWidget* popup = PopupMenu();
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), QStringLiteral("SystemMenu"));
    QCOMPARE(MenuTexts(qobject_cast<QMenu*>(popup)),
             (QStringList{"&Close\tAlt+F4", "", "&About Tarvin"}));
}

void CalculatorDialogTest::rightClickOnControlDoesNot_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("Calculate button") << "IDC_CALCULATE";
    QTest::newRow("Archive label") << "Archive:";
    QTest::newRow("input field") << "IDC_INPUT";
}

void CalculatorDialogTest::rightClickOnControlDoesNot() {
    QFETCH(QString, control);
    QWidget* target = m_driver->Window()->findChild<QWidget*>(control);
    if (!target)
        target = LabelWithText(m_driver->Window(), control);
    QVERIFY(target);
    QPoint centre = target->geometry().center();
    QTest::mouseClick(m_driver->Window()->windowHandle(), Qt::RightButton, {}, centre);
    QWidget* popup = PopupMenu();
    QVERIFY(!popup || popup->objectName() != QStringLiteral("SystemMenu"));
}

void CalculatorDialogTest::altSpaceOpensSystemMenu() {
    QTest::keyClick(m_driver->Input(), Qt::Key_Space, Qt::AltModifier);
    QWidget* popup = PopupMenu();
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), QStringLiteral("SystemMenu"));
    QCOMPARE(m_driver->Text(IDC_INPUT), std::string());
}

void CalculatorDialogTest::choosingSystemMenuItem_data() {
    QTest::addColumn<int>("accessKey");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("about");
    QTest::newRow("Close ends the dialog") << int(Qt::Key_C) << true << false;
    QTest::newRow("About opens the box and leaves the window open")
        << int(Qt::Key_A) << false << true;
}

void CalculatorDialogTest::choosingSystemMenuItem() {
    QFETCH(int, accessKey);
    QFETCH(bool, ends);
    QFETCH(bool, about);
    QTest::keyClick(m_driver->Input(), Qt::Key_Space, Qt::AltModifier);
    QWidget* popup = PopupMenu();
    QVERIFY(popup);
    AboutBoxCloser closer;
    QTest::keyClick(popup, Qt::Key(accessKey));
    QCOMPARE(closer.opened(), about);
    QCOMPARE(m_driver->Dialog().HasEnded(), ends);
    if (ends)
        QCOMPARE(m_driver->Dialog().GetEndValue(), IDCANCEL);
}

void CalculatorDialogTest::systemCommands_data() {
    QTest::addColumn<unsigned>("command");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("about");
    QTest::newRow("About command 16 opens the box") << 16u << false << true;
    QTest::newRow("31 counts as About") << 31u << false << true;
    QTest::newRow("15 is no About") << 15u << false << false;
    QTest::newRow("32 is no command of the window") << 32u << false << false;
    QTest::newRow("Close ends it") << SC_CLOSE << true << false;
    QTest::newRow("Close with low bits set ends it") << (SC_CLOSE | 0x3u) << true << false;
}

void CalculatorDialogTest::systemCommands() {
    QFETCH(unsigned, command);
    QFETCH(bool, ends);
    QFETCH(bool, about);
    AboutBoxCloser closer;
    m_driver->Dialog().SendSysCommand(command, 0);
    QCoreApplication::processEvents();
    QCOMPARE(closer.opened(), about);
    QCOMPARE(m_driver->Dialog().HasEnded(), ends);
    QCOMPARE(m_driver->Window()->isVisible(), !ends);
}

void CalculatorDialogTest::dragIconIsProgramIcon() {
    HICON icon = m_driver->Dialog().SendQueryDragIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QImage image = icon.pixmap(32, 32).toImage();
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
}

QTEST_MAIN(CalculatorDialogTest)
#include "CalculatorDialogTest.moc"
