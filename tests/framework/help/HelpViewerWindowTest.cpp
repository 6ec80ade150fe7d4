// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"
#include "HelpProtocol.h"

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

QString ShownText(const HelpViewerWindow& window) {
    return window.Browser()->toPlainText();
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
    void missingFileShowsMessageNamingIt();

private:
    std::unique_ptr<HelpViewerWindow> m_window;
};

void HelpViewerWindowTest::init() {
    m_window = std::make_unique<HelpViewerWindow>(
        ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kTwoTopics));
}

void HelpViewerWindowTest::cleanup() {
    m_window.reset();
}

void HelpViewerWindowTest::showsTopicOfContext_data() {
    QTest::addColumn<qulonglong>("context");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("otherText");
    QTest::newRow("main dialog") << qulonglong(kMainContext) << "0x20066"
                                 << "main text"
                                 << "about text";
    QTest::newRow("about box") << qulonglong(kAboutContext) << "0x20064"
                               << "about text"
                               << "main text";
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
