// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"
#include "HelpProtocol.h"
#include "QtTestRows.h"

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
    void opensBesideOwner_data();
    void opensBesideOwner();
    void keyGoesBackToPreviousPage_data();
    void keyGoesBackToPreviousPage();
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

void HelpViewerWindowTest::opensBesideOwner_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("position"); // a null point: no room on either side
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("room on the right")
        << QRect(100, 200, 400, 300) << QSize(560, 620) << QPoint(508, 200);
    QTest::newRow("right side exactly wide enough")
        << QRect(0, 0, 1352, 300) << QSize(560, 620) << QPoint(1360, 0);
    QTest::newRow("no room on the right, room on the left")
        << QRect(1300, 100, 400, 300) << QSize(560, 620) << QPoint(732, 100);
    QTest::newRow("owner low on the screen: the window rises to fit")
        << QRect(100, 900, 400, 150) << QSize(560, 620) << QPoint(508, 460);
    QTest::newRow("owner as wide as the screen") << screen << QSize(560, 620) << QPoint();
    QTest::newRow("window larger than the screen")
        << QRect(0, 0, 10, 10) << QSize(2000, 620) << QPoint();
}

void HelpViewerWindowTest::opensBesideOwner() {
    QFETCH(QRect, owner);
    QFETCH(QSize, frame);
    QFETCH(QPoint, position);
    const std::optional<QPoint> placed = PositionBeside(owner, frame, QRect(0, 0, 1920, 1080));
    QCOMPARE(placed.value_or(QPoint()), position);
    QCOMPARE(placed.has_value(), !position.isNull());
}

void HelpViewerWindowTest::keyGoesBackToPreviousPage_data() {
    QtTestRows<int, int> table({"key", "modifiers"});
    table.Add({
        {"Alt+Left", int(Qt::Key_Left), int(Qt::AltModifier)},
        {"Backspace", int(Qt::Key_Backspace), int(Qt::NoModifier)},
    });
}

void HelpViewerWindowTest::keyGoesBackToPreviousPage() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    m_window->ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    emit m_window->Browser()->anchorClicked(QUrl(QStringLiteral("#0x20064")));
    m_window->ShowContents();
    const auto back = [&] {
        QTest::keyClick(m_window->Browser(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        return m_window->PageName();
    };
    QCOMPARE(back(), QStringLiteral("0x20064"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Demo Help - About"));
    QCOMPARE(back(), QStringLiteral("0x20066"));
    QVERIFY(ShownText(*m_window).contains(QStringLiteral("main text")));
    QCOMPARE(back(), QStringLiteral("0x20066")); // nothing was shown before the first page
    QVERIFY(m_window->isVisible());
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
