// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataExchange.h"
#include "Dialog.h"
#include "MessageBox.h"
#include "QtTestRows.h"
#include "Resources.h"
#include "WinApp.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int IDD_FIELDS = 900;
constexpr int IDD_OWNED = 901;
constexpr int IDD_PLAIN = 902;
constexpr int IDC_LINE = 10;
constexpr int IDC_LINES = 11;
constexpr int IDC_NOTES = 12;
constexpr int IDC_PUSH = 13;
constexpr int IDC_APP_COMMAND = 14;

constexpr ControlTemplate kFieldControls[] = {
    {IDC_LINE, "IDC_LINE", ControlKind::Edit, "", 4, 4, 100, 12, ES_AUTOHSCROLL | WS_TABSTOP},
    {IDC_LINES, "IDC_LINES", ControlKind::Edit, "", 4, 20, 100, 40,
     ES_MULTILINE | ES_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP},
    {IDC_NOTES, "IDC_NOTES", ControlKind::Edit, "", 4, 64, 100, 40,
     ES_MULTILINE | ES_WANTRETURN | WS_TABSTOP},
    {IDC_PUSH, "IDC_PUSH", ControlKind::Button, "&Push", 110, 4, 40, 14, WS_TABSTOP},
    {IDC_APP_COMMAND, "IDC_APP_COMMAND", ControlKind::Button, "App", 110, 20, 40, 14, WS_TABSTOP},
};
const DialogTemplate kFields = {IDD_FIELDS,
                                "IDD_FIELDS",
                                "Fields",
                                8,
                                "MS Sans Serif",
                                0,
                                0,
                                160,
                                110,
                                WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                0,
                                CheckedControls(kFieldControls)};

constexpr ControlTemplate kOwnedControls[] = {
    {IDOK, "IDOK", ControlKind::Button, "OK", 10, 10, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kOwned = {IDD_OWNED,
                               "IDD_OWNED",
                               "Owned",
                               8,
                               "MS Sans Serif",
                               0,
                               0,
                               80,
                               40,
                               WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               0,
                               CheckedControls(kOwnedControls)};

const DialogTemplate kPlain = {
    IDD_PLAIN, "IDD_PLAIN", "Plain", 8,  "MS Sans Serif",
    10,        20,          80,      40, WS_POPUP | WS_VISIBLE | DS_ABSALIGN,
    0,         {}};

const DialogTemplate* const kDialogs[] = {&kFields, &kOwned, &kPlain};
const ResourceModule kModule = {kDialogs, {}, {}};

// A dialog with two exchanged fields, a button handler and a record of the
// messages that reached its table.
class FieldsDialog : public CDialog {
public:
    FieldsDialog() : CDialog(IDD_FIELDS) {}
    std::span<const MessageEntry> GetMessageMap() const override;

    CString m_line;
    CString m_lines;
    int m_pushes = 0;
    int m_destroys = 0;
    std::vector<unsigned> m_sysCommands;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_LINE, m_line);
        DDX_Text(pDX, IDC_LINES, m_lines);
    }
    void OnPush() { ++m_pushes; }
    void OnDestroy() {
        ++m_destroys;
        CDialog::OnDestroy();
    }
    void OnSysCommand(unsigned id, long param) {
        m_sysCommands.push_back(id);
        CDialog::OnSysCommand(id, param);
    }

private:
    static const MessageEntry kMessageMap[];
};

const MessageEntry FieldsDialog::kMessageMap[] = {
    OnControlNotify(BN_CLICKED, IDC_PUSH, &FieldsDialog::OnPush),
    OnMessage(WM_DESTROY, &FieldsDialog::OnDestroy),
    OnMessage(WM_SYSCOMMAND, &FieldsDialog::OnSysCommand),
};

std::span<const MessageEntry> FieldsDialog::GetMessageMap() const {
    return kMessageMap;
}

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("TestApp") {}
    std::span<const MessageEntry> GetMessageMap() const override;
    void OnAppCommand() { ++m_commands; }
    int m_commands = 0;

private:
    static const MessageEntry kMessageMap[];
};

const MessageEntry TestApp::kMessageMap[] = {
    OnCommand(IDC_APP_COMMAND, &TestApp::OnAppCommand),
};

std::span<const MessageEntry> TestApp::GetMessageMap() const {
    return kMessageMap;
}

QWidget* TopLevelNamed(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

class DialogFrameworkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AfxSetResourceModule(&kModule); }
    void init();
    void cleanup();

    void savingGivesCrLfBetweenLines();
    void loadingBreaksLinesAtCrLf();
    void loadLeavesEqualShortTextAlone_data();
    void loadLeavesEqualShortTextAlone();
    void savingAfterLoadGivesWhatThePaneShows_data();
    void savingAfterLoadGivesWhatThePaneShows();
    void enterWithoutDefaultButtonSavesAndEndsWithOk();
    void paneWithWantReturnTakesReturn();
    void commandsFindTheirHandlers();
    void destroyRunsOnDestroyOnce();
    void closeGoesThroughSysCommand();
    void systemMenuHoldsCloseFirst();
    void windowWithoutSysMenuHasNone();
    void templatePositionIsKept();
    void missingTemplateEndsModalRunAtOnce();
    void modalRunBlocksOnlyItsOwner_data();
    void modalRunBlocksOnlyItsOwner();
    void messageBoxAnswers_data();
    void messageBoxAnswers();

private:
    std::unique_ptr<FieldsDialog> m_dialog;
};

void DialogFrameworkTest::init() {
    m_dialog = std::make_unique<FieldsDialog>();
    QVERIFY(m_dialog->Create());
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog->GetSafeHwnd()));
}

void DialogFrameworkTest::cleanup() {
    m_dialog->DestroyWindow();
    m_dialog.reset();
}

void DialogFrameworkTest::savingGivesCrLfBetweenLines() {
    auto* lines = qobject_cast<QPlainTextEdit*>(m_dialog->GetDlgItem(IDC_LINES));
    lines->setPlainText(QString::fromUtf8("one\ntwo\n\nnbsp\u00a0kept"));
    QVERIFY(m_dialog->UpdateData(true));
    QCOMPARE(QByteArray(m_dialog->m_lines), QByteArray("one\r\ntwo\r\n\r\nnbsp\xc2\xa0kept"));
}

void DialogFrameworkTest::loadingBreaksLinesAtCrLf() {
    m_dialog->m_lines = "a = 1.000000\r\nb = 2.000000\r\n";
    m_dialog->UpdateData(false);
    auto* lines = qobject_cast<QPlainTextEdit*>(m_dialog->GetDlgItem(IDC_LINES));
    QCOMPARE(lines->blockCount(), 3);
    QCOMPARE(lines->toPlainText(), QStringLiteral("a = 1.000000\nb = 2.000000\n"));
}

void DialogFrameworkTest::loadLeavesEqualShortTextAlone_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<bool>("kept");
    const QByteArray ascii255(255, 'x');
    const QByteArray ascii256(256, 'x');
    const QByteArray twoByte255 = QByteArray(127 * 2, 'x').replace("xx", "\xc3\xa9") + "a";
    const QByteArray twoByte256 = QByteArray(128 * 2, 'x').replace("xx", "\xc3\xa9");
    const QByteArray crlf255 = QByteArray(126, 'x') + "\r\n" + QByteArray(127, 'y');
    const QByteArray crlf256 = QByteArray(126, 'x') + "\r\n" + QByteArray(128, 'y');
    QTest::newRow("line of 255 bytes kept") << IDC_LINE << ascii255 << ascii255 << true;
    QTest::newRow("line of 256 bytes rewritten") << IDC_LINE << ascii256 << ascii256 << false;
    QTest::newRow("different line rewritten")
        << IDC_LINE << QByteArray("abcdef") << QByteArray("abcdeg") << false;
    QTest::newRow("255 bytes of two-byte letters kept")
        << IDC_LINE << twoByte255 << twoByte255 << true;
    QTest::newRow("256 bytes of two-byte letters rewritten")
        << IDC_LINE << twoByte256 << twoByte256 << false;
    QTest::newRow("pane of 255 bytes with CR LF kept") << IDC_LINES << crlf255 << crlf255 << true;
    QTest::newRow("pane of 256 bytes with CR LF rewritten")
        << IDC_LINES << crlf256 << crlf256 << false;
}

// The caret is put inside the text; a rewrite puts it back at the start.
void DialogFrameworkTest::loadLeavesEqualShortTextAlone() {
    QFETCH(int, id);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArray, field);
    QFETCH(bool, kept);
    QWidget* control = m_dialog->GetDlgItem(id);
    SetControlText(control, shown.toStdString());
    (id == IDC_LINE ? m_dialog->m_line : m_dialog->m_lines) = field.toStdString();
    auto* line = qobject_cast<QLineEdit*>(control);
    auto* pane = qobject_cast<QPlainTextEdit*>(control);
    if (line) {
        line->setCursorPosition(5);
    } else {
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition(5);
        pane->setTextCursor(cursor);
    }
    m_dialog->UpdateData(false);
    int caret = line ? line->cursorPosition() : pane->textCursor().position();
    QCOMPARE(caret, kept ? 5 : 0);
    QCOMPARE(QByteArray::fromStdString(GetControlText(control)), field);
}

void DialogFrameworkTest::savingAfterLoadGivesWhatThePaneShows_data() {
    QTest::addColumn<QByteArray>("fieldBeforeSave");
    QTest::addColumn<bool>("typeIntoPane");
    QByteArray loaded;
    for (int i = 0; i < 400; ++i)
        loaded += "v" + QByteArray::number(i) + " = 1.000000\r\n";
    QByteArray sameLengthOther = loaded;
    sameLengthOther[300] = 'x';
    QTest::newRow("field unchanged") << loaded << false;
    QTest::newRow("field changed, same length") << sameLengthOther << false;
    QTest::newRow("field grown") << loaded + loaded << false;
    QTest::newRow("field shortened") << loaded.left(100) << false;
    QTest::newRow("field emptied") << QByteArray() << false;
    QTest::newRow("field unchanged, pane typed into") << loaded << true;
    QTest::newRow("field changed, pane typed into") << sameLengthOther << true;
}

// A long text is loaded into the pane; then the field changes behind the
// pane's back or the user types into it, and saving must still give exactly
// what the pane shows.
void DialogFrameworkTest::savingAfterLoadGivesWhatThePaneShows() {
    QFETCH(QByteArray, fieldBeforeSave);
    QFETCH(bool, typeIntoPane);
    auto* pane = qobject_cast<QPlainTextEdit*>(m_dialog->GetDlgItem(IDC_LINES));
    QByteArray loaded;
    for (int i = 0; i < 400; ++i)
        loaded += "v" + QByteArray::number(i) + " = 1.000000\r\n";
    m_dialog->m_lines = loaded.toStdString();
    m_dialog->UpdateData(false);
    m_dialog->m_lines = fieldBeforeSave.toStdString();
    if (typeIntoPane)
        QTest::keyClicks(pane, "typed ");
    QVERIFY(m_dialog->UpdateData(true));
    QString shown = pane->toPlainText();
    shown.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    QCOMPARE(QByteArray(m_dialog->m_lines), shown.toUtf8());
    QCOMPARE(QByteArray(m_dialog->m_lines).startsWith("typed "), typeIntoPane);
}

void DialogFrameworkTest::enterWithoutDefaultButtonSavesAndEndsWithOk() {
    QWidget* line = m_dialog->GetDlgItem(IDC_LINE);
    QTest::keyClicks(line, "typed");
    QTest::keyClick(line, Qt::Key_Return);
    QVERIFY(m_dialog->HasEnded());
    QCOMPARE(m_dialog->GetEndValue(), IDOK);
    QCOMPARE(QByteArray(m_dialog->m_line), QByteArray("typed"));
}

void DialogFrameworkTest::paneWithWantReturnTakesReturn() {
    QWidget* notes = m_dialog->GetDlgItem(IDC_NOTES);
    QTest::keyClicks(notes, "a");
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, "b");
    QVERIFY(!m_dialog->HasEnded());
    QCOMPARE(GetControlText(notes), std::string("a\r\nb"));
}

// A button with an entry in the dialog's table reaches it; a command the
// dialog does not handle goes on to the application's table.
void DialogFrameworkTest::commandsFindTheirHandlers() {
    TestApp app;
    QTest::mouseClick(m_dialog->GetDlgItem(IDC_PUSH), Qt::LeftButton);
    QTest::keyClick(m_dialog->GetDlgItem(IDC_PUSH), Qt::Key_Space);
    QTest::mouseClick(m_dialog->GetDlgItem(IDC_APP_COMMAND), Qt::LeftButton);
    QCOMPARE(m_dialog->m_pushes, 2);
    QCOMPARE(app.m_commands, 1);
    QVERIFY(!m_dialog->HasEnded());
}

void DialogFrameworkTest::destroyRunsOnDestroyOnce() {
    QVERIFY(m_dialog->DestroyWindow());
    QVERIFY(!m_dialog->DestroyWindow());
    QCOMPARE(m_dialog->m_destroys, 1);
    QVERIFY(!m_dialog->GetSafeHwnd());
    QVERIFY(!m_dialog->GetDlgItem(IDC_LINE));
    QVERIFY(!m_dialog->GetSystemMenu(false));
}

void DialogFrameworkTest::closeGoesThroughSysCommand() {
    m_dialog->GetSafeHwnd()->windowHandle()->close();
    QCOMPARE(m_dialog->m_sysCommands, std::vector<unsigned>{SC_CLOSE});
    QVERIFY(m_dialog->HasEnded());
    QCOMPARE(m_dialog->GetEndValue(), IDCANCEL);
    QVERIFY(m_dialog->GetSafeHwnd());
}

// The menu as it pops up: its items' texts, and the command each one sends.
void DialogFrameworkTest::systemMenuHoldsCloseFirst() {
    CMenu* menu = m_dialog->GetSystemMenu(false);
    QVERIFY(menu);
    QVERIFY(!menu->AppendMenu(MF_STRING, 20, nullptr));
    QVERIFY(menu->AppendMenu(MF_STRING, 20, "Item"));
    std::vector<unsigned> chosen;
    const std::unique_ptr<QMenu> popup(
        menu->BuildPopup(nullptr, [&chosen](unsigned id) { chosen.push_back(id); }));
    QStringList texts;
    for (QAction* action : popup->actions()) {
        texts << action->text();
        action->trigger();
    }
    QCOMPARE(texts, (QStringList{"&Close", "Item"}));
    QCOMPARE(chosen, (std::vector<unsigned>{SC_CLOSE, 20}));
}

void DialogFrameworkTest::windowWithoutSysMenuHasNone() {
    CDialog plain(IDD_PLAIN);
    QVERIFY(plain.Create());
    QVERIFY(!plain.GetSystemMenu(false));
    QVERIFY(!(plain.GetSafeHwnd()->windowFlags() & Qt::WindowCloseButtonHint));
    plain.DestroyWindow();
}

void DialogFrameworkTest::templatePositionIsKept() {
    CDialog plain(IDD_PLAIN);
    QVERIFY(plain.Create());
    QPoint expected = MapDialogRect(QRect(10, 20, 0, 0), plain.GetBaseUnits()).topLeft();
    QCOMPARE(plain.GetSafeHwnd()->frameGeometry().topLeft(), expected);
    plain.DestroyWindow();
}

void DialogFrameworkTest::missingTemplateEndsModalRunAtOnce() {
    CDialog missing(12345);
    QCOMPARE(missing.DoModal(), -1);
    QVERIFY(!missing.Create());
}

void DialogFrameworkTest::modalRunBlocksOnlyItsOwner_data() {
    QtTestRows<bool> table({"owned"});
    table.Add({
        {"owned run blocks its owner", true},
        {"unowned run blocks nothing", false},
    });
}

// While the run is on, a click reaches the owner only if the run has none;
// another window takes clicks either way.
void DialogFrameworkTest::modalRunBlocksOnlyItsOwner() {
    QFETCH(bool, owned);
    QPushButton other(QStringLiteral("Other"));
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QSignalSpy otherClicks(&other, &QPushButton::clicked);
    CDialog modal(IDD_OWNED, owned ? m_dialog.get() : nullptr);
    QWidget* ownerWindow = m_dialog->GetSafeHwnd();
    QPoint push = m_dialog->GetDlgItem(IDC_PUSH)->geometry().center();
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* window = modal.GetSafeHwnd();
        QCOMPARE(window->windowModality(), owned ? Qt::WindowModal : Qt::NonModal);
        if (owned)
            QVERIFY((window->frameGeometry().center() - ownerWindow->frameGeometry().center())
                        .manhattanLength() <= 2);
        QTest::mouseClick(ownerWindow->windowHandle(), Qt::LeftButton, {}, push);
        QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, other.rect().center());
        ran = true;
        QTest::keyClick(window->findChild<QWidget*>(QStringLiteral("IDOK")), Qt::Key_Return);
    });
    QCOMPARE(modal.DoModal(), IDOK);
    QVERIFY(ran);
    QVERIFY(!modal.GetSafeHwnd());
    QCOMPARE(m_dialog->m_pushes, owned ? 0 : 1);
    QCOMPARE(otherClicks.count(), 1);
}

void DialogFrameworkTest::messageBoxAnswers_data() {
    QtTestRows<unsigned, int, int, int> table({"type", "key", "answer", "icon"});
    table.Add({
        {"OK box answers OK to Escape", (MB_OK | MB_ICONEXCLAMATION), int(Qt::Key_Escape), IDOK,
         int(QMessageBox::Warning)},
        {"OK Cancel box answers Cancel to Escape", (MB_OKCANCEL | MB_ICONQUESTION),
         int(Qt::Key_Escape), IDCANCEL, int(QMessageBox::Question)},
        {"Yes No box answers Yes to Enter", (MB_YESNO | MB_ICONSTOP), int(Qt::Key_Return), IDYES,
         int(QMessageBox::Critical)},
    });
}

void DialogFrameworkTest::messageBoxAnswers() {
    QFETCH(unsigned, type);
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(int, icon);
    TestApp app;
    app.m_pMainWnd = m_dialog.get();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(TopLevelNamed(QStringLiteral("MessageBox")));
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("TestApp"));
        QCOMPARE(box->text(), QStringLiteral("Something happened."));
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        seen = true;
        QTest::keyClick(box, Qt::Key(key));
    });
    QCOMPARE(AfxMessageBox("Something happened.", type), answer);
    QVERIFY(seen);
}

QTEST_MAIN(DialogFrameworkTest)
#include "DialogFrameworkTest.moc"
