// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"
#include "HelpFindBar.h"
#include "HelpPageBrowser.h"
#include "HelpPlacement.h"
#include "HelpProtocol.h"
#include "QtTestRows.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

namespace {

constexpr unsigned long kMainContext = 0x20000 + 102;
constexpr unsigned long kAboutContext = 0x20000 + 100;

const QString kTwoTopics = QStringLiteral(
    "<html><head><title>Demo Help</title></head><body>"
    "<section id=\"0x20066\"><h1>Main</h1><p>main text <a href=\"#0x20064\">about</a></p>"
    "</section><section id=\"0x20064\"><h1>About</h1><p>about text</p></section>"
    "</body></html>");

// A main topic that holds "apple" three times, in any letter case, and one other topic.
const QString kFruitTopics = QStringLiteral(
    "<section id=\"0x20066\"><h1>Main</h1><p>apple pie, apple tart</p><p>an Apple</p>"
    "</section><section id=\"0x20064\"><h1>Fruit</h1><p>plums</p></section>");

QString ShownText(const HelpViewerWindow& window) {
    return window.Browser()->toPlainText();
}

// The window's button of that accessible name, or its text without the mnemonic mark.
QAbstractButton* Button(const HelpViewerWindow& window, const QString& name) {
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->accessibleName() == name || button->text().remove(u'&') == name)
            return button;
    }
    return nullptr;
}

} // namespace

class HelpViewerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTopicOfContext_data();
    void showsTopicOfContext();
    void secondRequestSwitchesTopic();
    void requestShowsHiddenWindowAgain();
    void unknownContextShowsContentsWithNote();
    void linkOpensTopic();
    void contentsButtonListsTopics();
    void escapeHidesWindow();
    void opensClearOfOwner_data();
    void opensClearOfOwner();
    void goesBackAndForward_data();
    void goesBackAndForward();
    void keysZoomThePage_data();
    void keysZoomThePage();
    void findBarFindsByKeys_data();
    void findBarFindsByKeys();
    void findBarSaysNotFoundAndEscapeReturnsToPage();
    void linksGoOnlyWhereAllowed_data();
    void linksGoOnlyWhereAllowed();
    void requestForPageShownKeepsIt();
    void missingFileShowsMessageNamingIt();

public slots:
    // What the desktop would have been asked to open.
    void Open(const QUrl& url) { m_opened << url; }

private:
    std::unique_ptr<HelpViewerWindow> m_window;
    QList<QUrl> m_opened;
};

void HelpViewerWindowTest::init() {
    m_window = std::make_unique<HelpViewerWindow>(
        ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kTwoTopics));
}

void HelpViewerWindowTest::cleanup() {
    m_window.reset();
}

void HelpViewerWindowTest::showsTopicOfContext_data() {
    QtTestRows<qulonglong, QString, QString, QString> table(
        {"context", "page", "text", "otherText"});
    table.Add({
        {"main dialog", kMainContext, "0x20066", "main text", "about text"},
        {"about box", kAboutContext, "0x20064", "about text", "main text"},
    });
}

void HelpViewerWindowTest::showsTopicOfContext() {
    QFETCH(qulonglong, context);
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(QString, otherText);
    QVERIFY(!m_window->isVisible());
    m_window->ShowContext(static_cast<unsigned long>(context));
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->PageName(), page);
    QVERIFY(ShownText(*m_window).contains(text));
    QVERIFY(!ShownText(*m_window).contains(otherText));
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("Demo Help - ")));
}

void HelpViewerWindowTest::secondRequestSwitchesTopic() {
    m_window->ShowContext(kMainContext);
    m_window->ShowContext(kAboutContext);
    QCOMPARE(m_window->PageName(), QStringLiteral("0x20064"));
    QVERIFY(ShownText(*m_window).contains(QStringLiteral("about text")));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Demo Help - About"));
}

void HelpViewerWindowTest::requestShowsHiddenWindowAgain() {
    m_window->ShowContext(kMainContext);
    m_window->close();
    QVERIFY(!m_window->isVisible());
    m_window->ShowContext(kMainContext);
    QVERIFY(m_window->isVisible());
    m_window->showMinimized();
    m_window->ShowContext(kAboutContext);
    QVERIFY(!m_window->isMinimized());
}

void HelpViewerWindowTest::unknownContextShowsContentsWithNote() {
    m_window->ShowContext(0x20065);
    QCOMPARE(m_window->PageName(), QString::fromLatin1(kHelpContentsPage));
    const QString text = ShownText(*m_window);
    QVERIFY(text.contains(QStringLiteral("0x20065")));
    QVERIFY(text.contains(QStringLiteral("Main")));
    QVERIFY(text.contains(QStringLiteral("About")));
    QVERIFY(m_window->isVisible());
}

void HelpViewerWindowTest::linkOpensTopic() {
    m_window->ShowContext(kMainContext);
    emit m_window->Browser()->anchorClicked(QUrl(QStringLiteral("#0x20064")));
    QCOMPARE(m_window->PageName(), QStringLiteral("0x20064"));
    emit m_window->Browser()->anchorClicked(QUrl(QStringLiteral("#0x99")));
    QCOMPARE(m_window->PageName(), QString::fromLatin1(kHelpContentsPage));
}

void HelpViewerWindowTest::contentsButtonListsTopics() {
    m_window->ShowContext(kMainContext);
    QPushButton* contents = nullptr;
    for (QPushButton* button : m_window->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("&Contents"))
            contents = button;
    QVERIFY(contents);
    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(m_window->PageName(), QString::fromLatin1(kHelpContentsPage));
    QVERIFY(!ShownText(*m_window).contains(QStringLiteral("no topic")));
}

void HelpViewerWindowTest::escapeHidesWindow() {
    m_window->ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTest::keyClick(m_window->Browser(), Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
}

// Frames in screen coordinates. The minimum is a frame about 40 characters wide and 8 lines
// high; the last rows are the calculator at 1280x800, and at scale 2 on 1920x1080 (960x540).
void HelpViewerWindowTest::opensClearOfOwner_data() {
    QtTestRows<QRect, QRect, QSize, QSize, QRect, QRect> table(
        {"owner", "keepClear", "preferred", "minimum", "work", "frame"});
    const QRect screen(0, 0, 1920, 1080);
    const QSize preferred(560, 620);
    const QSize minimum(300, 200);
    const QRect calculator(298, 251, 686, 319);
    const QRect fields(305, 290, 672, 30);
    table.Add({
        {"room on the right", QRect(100, 200, 400, 300), QRect(), preferred, minimum, screen,
         QRect(508, 200, 560, 620)},
        {"right side exactly wide enough", QRect(0, 0, 1352, 300), QRect(), preferred, minimum,
         screen, QRect(1360, 0, 560, 620)},
        {"no room on the right, room on the left", QRect(1300, 100, 400, 300), QRect(), preferred,
         minimum, screen, QRect(732, 100, 560, 620)},
        {"owner low on the screen: the window rises to fit", QRect(100, 900, 400, 150), QRect(),
         preferred, minimum, screen, QRect(508, 460, 560, 620)},
        {"owner as wide as the screen, nothing to keep clear: the side at the minimum width",
         screen, QRect(), preferred, minimum, screen, QRect(1620, 0, 300, 620)},
        {"owner as wide as the screen: below the region to keep clear", screen,
         QRect(0, 0, 1920, 100), preferred, minimum, screen, QRect(0, 108, 560, 620)},
        {"window wider than the screen: narrower beside", QRect(0, 0, 10, 10), QRect(),
         QSize(2000, 620), minimum, screen, QRect(18, 0, 1902, 620)},
        {"window taller than the screen: as tall as the screen", QRect(0, 0, 300, 200), QRect(),
         QSize(560, 1240), minimum, QRect(0, 0, 960, 540), QRect(308, 0, 560, 540)},
        {"narrower beside, on the side with more room", calculator, fields, preferred,
         QSize(280, 250), QRect(0, 0, 1280, 800), QRect(0, 180, 290, 620)},
        {"too narrow beside: above, where there is more room", calculator, fields, preferred,
         minimum, QRect(0, 0, 1280, 800), QRect(298, 0, 560, 243)},
        {"no room around the owner: below its fields", QRect(138, 121, 686, 309),
         QRect(145, 146, 670, 22), preferred, minimum, QRect(0, 0, 960, 540),
         QRect(145, 176, 560, 364)},
    });
}

void HelpViewerWindowTest::opensClearOfOwner() {
    QFETCH(QRect, owner);
    QFETCH(QRect, keepClear);
    QFETCH(QSize, preferred);
    QFETCH(QSize, minimum);
    QFETCH(QRect, work);
    QFETCH(QRect, frame);
    const QRect placed = HelpWindowFrame(owner, keepClear, preferred, minimum, work);
    QCOMPARE(placed, frame);
    QVERIFY(work.contains(placed));
    QVERIFY(!placed.intersects(keepClear.isEmpty() ? owner : keepClear) ||
            frame.width() == minimum.width());
}

// Each row goes back through three pages and forward again, by its keys or its buttons.
void HelpViewerWindowTest::goesBackAndForward_data() {
    QtTestRows<int, int, bool> table({"backKey", "forwardKey", "buttons"});
    table.Add({
        {"Alt+Left and Alt+Right", (Qt::ALT | Qt::Key_Left).toCombined(),
         (Qt::ALT | Qt::Key_Right).toCombined(), false},
        {"Backspace and Alt+Right", QKeyCombination(Qt::Key_Backspace).toCombined(),
         (Qt::ALT | Qt::Key_Right).toCombined(), false},
        {"the Back and Forward buttons", 0, 0, true},
    });
}

void HelpViewerWindowTest::goesBackAndForward() {
    QFETCH(int, backKey);
    QFETCH(int, forwardKey);
    QFETCH(bool, buttons);
    QAbstractButton* backButton = Button(*m_window, QStringLiteral("Back"));
    QAbstractButton* forwardButton = Button(*m_window, QStringLiteral("Forward"));
    QVERIFY(backButton && forwardButton);
    m_window->ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(!backButton->isEnabled() && !forwardButton->isEnabled());
    emit m_window->Browser()->anchorClicked(QUrl(QStringLiteral("#0x20064")));
    m_window->ShowContents();
    const auto go = [&](int key, QAbstractButton* button) {
        if (buttons)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(m_window->Browser(), QKeyCombination::fromCombined(key).key(),
                            QKeyCombination::fromCombined(key).keyboardModifiers());
        return m_window->PageName();
    };
    QCOMPARE(go(backKey, backButton), QStringLiteral("0x20064"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Demo Help - About"));
    QVERIFY(backButton->isEnabled() && forwardButton->isEnabled());
    QCOMPARE(go(backKey, backButton), QStringLiteral("0x20066"));
    QVERIFY(ShownText(*m_window).contains(QStringLiteral("main text")));
    QVERIFY(!backButton->isEnabled());
    if (!buttons) // nothing was shown before the first page
        QCOMPARE(go(backKey, backButton), QStringLiteral("0x20066"));
    QCOMPARE(go(forwardKey, forwardButton), QStringLiteral("0x20064"));
    QCOMPARE(go(forwardKey, forwardButton), QString::fromLatin1(kHelpContentsPage));
    QVERIFY(!forwardButton->isEnabled());
    QCOMPARE(go(backKey, backButton), QStringLiteral("0x20064"));
    emit m_window->Browser()->anchorClicked(QUrl(QStringLiteral("#0x20066")));
    QVERIFY(!forwardButton->isEnabled()); // a new page leaves nothing ahead
    QVERIFY(m_window->isVisible());
}

// Each row's keys, pressed in the page, leave the text at that size; another page keeps it.
void HelpViewerWindowTest::keysZoomThePage_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("percent");
    const int in = (Qt::CTRL | Qt::Key_Plus).toCombined();
    const int out = (Qt::CTRL | Qt::Key_Minus).toCombined();
    const int reset = (Qt::CTRL | Qt::Key_0).toCombined();
    QTest::newRow("Ctrl+Plus") << QList<int>{in} << 110;
    QTest::newRow("Ctrl+Equals, where plus needs Shift")
        << QList<int>{(Qt::CTRL | Qt::Key_Equal).toCombined()} << 110;
    QTest::newRow("Ctrl+Minus") << QList<int>{out} << 90;
    QTest::newRow("Ctrl+0 after zooming in") << QList<int>{in, in, reset} << 100;
    QTest::newRow("zooming out stops at the smallest size") << QList<int>(20, out) << 50;
    QTest::newRow("zooming in stops at the largest size") << QList<int>(20, in) << 300;
}

void HelpViewerWindowTest::keysZoomThePage() {
    QFETCH(QList<int>, keys);
    QFETCH(int, percent);
    m_window->ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const qreal unzoomed = m_window->Browser()->font().pointSizeF();
    for (const int key : keys)
        QTest::keyClick(m_window->Browser(), QKeyCombination::fromCombined(key).key(),
                        QKeyCombination::fromCombined(key).keyboardModifiers());
    QCOMPARE(m_window->Page()->ZoomPercent(), percent);
    QCOMPARE(m_window->Browser()->font().pointSizeF(), unzoomed * percent / 100);
    emit m_window->Browser()->anchorClicked(QUrl(QStringLiteral("#0x20064")));
    m_window->close();
    m_window->ShowContext(kMainContext);
    QCOMPARE(m_window->Page()->ZoomPercent(), percent);
    QCOMPARE(m_window->Browser()->document()->defaultFont().pointSizeF(), unzoomed * percent / 100);
}

// Each row types "apple" in the find bar, then its keys; the page holds it three times.
void HelpViewerWindowTest::findBarFindsByKeys_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("status");
    const int enter = QKeyCombination(Qt::Key_Return).toCombined();
    const int shiftEnter = (Qt::SHIFT | Qt::Key_Return).toCombined();
    const int f3 = QKeyCombination(Qt::Key_F3).toCombined();
    const int shiftF3 = (Qt::SHIFT | Qt::Key_F3).toCombined();
    QTest::newRow("typing finds the first match") << QList<int>{} << "Match 1 of 3";
    QTest::newRow("Enter goes to the next") << QList<int>{enter} << "Match 2 of 3";
    QTest::newRow("F3 goes to the next") << QList<int>{f3, f3} << "Match 3 of 3";
    QTest::newRow("past the last goes round to the first")
        << QList<int>{enter, f3, enter} << "Match 1 of 3";
    QTest::newRow("Shift+Enter from the first goes round to the last")
        << QList<int>{shiftEnter} << "Match 3 of 3";
    QTest::newRow("Shift+F3 goes back") << QList<int>{enter, enter, shiftF3} << "Match 2 of 3";
}

void HelpViewerWindowTest::findBarFindsByKeys() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, status);
    HelpViewerWindow window(ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kFruitTopics));
    window.ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.Browser(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(window.FindBar()->isVisible());
    QTRY_VERIFY(window.FindBar()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("apple"));
    for (const int key : keys)
        QTest::keyClick(QApplication::focusWidget(), QKeyCombination::fromCombined(key).key(),
                        QKeyCombination::fromCombined(key).keyboardModifiers());
    QCOMPARE(window.FindBar()->Status(), status);
    QCOMPARE(QApplication::focusWidget()->accessibleDescription(), status);
    QCOMPARE(window.Browser()->textCursor().selectedText().toLower(), QStringLiteral("apple"));
    QCOMPARE(window.Browser()->extraSelections().size(), 3);
}

void HelpViewerWindowTest::findBarSaysNotFoundAndEscapeReturnsToPage() {
    HelpViewerWindow window(ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kFruitTopics));
    window.ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.Browser(), Qt::Key_F3);
    QTRY_VERIFY(window.FindBar()->isAncestorOf(QApplication::focusWidget()));
    QWidget* field = QApplication::focusWidget();
    QTest::keyClicks(field, QStringLiteral("plum"));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY2(window.FindBar()->Status().startsWith(QStringLiteral("Not found")),
             qPrintable(window.FindBar()->Status()));
    QCOMPARE(field->accessibleDescription(), window.FindBar()->Status());
    QTest::mouseClick(Button(window, QStringLiteral("All Topics")), Qt::LeftButton);
    QCOMPARE(window.PageName(), QString::fromLatin1(kHelpSearchPage));
    QVERIFY(ShownText(window).contains(QStringLiteral("Fruit")));
    QVERIFY(!ShownText(window).contains(QStringLiteral("Main")));
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!window.FindBar()->isVisible());
    QVERIFY(window.isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), window.Browser());
    QVERIFY(window.Browser()->extraSelections().isEmpty());
    QTest::keyClick(window.Browser(), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

// Where a click on each link leads: the page shown after it, and whether the desktop was asked
// to open it.
void HelpViewerWindowTest::linksGoOnlyWhereAllowed_data() {
    QtTestRows<QString, QString, bool> table({"link", "page", "desktop"});
    table.Add({
        {"a topic", "#0x20064", "0x20064", false},
        {"a web address", "http://example.org/help", "0x20066", true},
        {"a secure web address", "https://example.org/a?b=c", "0x20066", true},
        {"a mail address", "mailto:someone@example.org", "0x20066", true},
        {"a local file", "file:///etc/passwd", kHelpMessagePage, false},
        {"a script", "javascript:alert(1)", kHelpMessagePage, false},
        {"a desktop entry by a relative path", "../../../../usr/share/applications/x.desktop",
         kHelpMessagePage, false},
        {"a program by its path", "/usr/bin/xterm", kHelpMessagePage, false},
        {"another scheme", "ftp://example.org/file", kHelpMessagePage, false},
        {"a topic id without its hash", "0x20064", kHelpMessagePage, false},
    });
}

void HelpViewerWindowTest::linksGoOnlyWhereAllowed() {
    QFETCH(QString, link);
    QFETCH(QString, page);
    QFETCH(bool, desktop);
    m_opened.clear();
    for (const char* scheme : {"", "http", "https", "mailto", "file", "javascript", "ftp"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    m_window->ShowContext(kMainContext);
    emit m_window->Browser()->anchorClicked(QUrl(link));
    for (const char* scheme : {"", "http", "https", "mailto", "file", "javascript", "ftp"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    QCOMPARE(m_window->PageName(), page);
    QCOMPARE(m_opened, desktop ? QList<QUrl>{QUrl(link)} : QList<QUrl>{});
    if (page == QLatin1String(kHelpMessagePage)) {
        QVERIFY2(ShownText(*m_window).contains(QStringLiteral("was not followed")),
                 qPrintable(ShownText(*m_window)));
        m_window->ShowPreviousPage();
        QCOMPARE(m_window->PageName(), QStringLiteral("0x20066"));
    }
}

// Each further request for the page shown leaves it as the user left it.
void HelpViewerWindowTest::requestForPageShownKeepsIt() {
    m_window->ShowContext(kMainContext);
    QTextCursor cursor = m_window->Browser()->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    m_window->Browser()->setTextCursor(cursor);
    for (int i = 0; i < 3; ++i)
        m_window->ShowContext(kMainContext);
    QCOMPARE(m_window->Browser()->textCursor().selectionStart(), 2);
    QCOMPARE(m_window->Browser()->textCursor().selectionEnd(), 6);
    m_window->ShowContext(kAboutContext);
    m_window->ShowPreviousPage();
    QCOMPARE(m_window->PageName(), QStringLiteral("0x20066"));
    m_window->ShowPreviousPage(); // the repeated requests added no page to go back to
    QCOMPARE(m_window->PageName(), QStringLiteral("0x20066"));
}

void HelpViewerWindowTest::missingFileShowsMessageNamingIt() {
    const QString path = QStringLiteral("/nonexistent/folder/tarvin.HLP");
    HelpViewerWindow window(LoadHelpDocument(path));
    window.ShowContext(kMainContext);
    QVERIFY(window.isVisible());
    QCOMPARE(window.PageName(), QString::fromLatin1(kHelpMessagePage));
    QVERIFY2(ShownText(window).contains(path), qPrintable(ShownText(window)));
}

QTEST_MAIN(HelpViewerWindowTest)
#include "HelpViewerWindowTest.moc"
