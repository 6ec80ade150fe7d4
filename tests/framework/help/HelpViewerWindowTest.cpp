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
    std::unique_ptr<HelpViewerWindow> window_;
};

void HelpViewerWindowTest::init() {
    window_ = std::make_unique<HelpViewerWindow>(
        ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kTwoTopics));
}

void HelpViewerWindowTest::cleanup() {
    window_.reset();
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
    QVERIFY(!window_->isVisible());
    window_->ShowContext(static_cast<unsigned long>(context));
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->PageName(), page);
    QVERIFY(ShownText(*window_).contains(text));
    QVERIFY(!ShownText(*window_).contains(otherText));
    QVERIFY(window_->windowTitle().startsWith(QStringLiteral("Demo Help - ")));
}

void HelpViewerWindowTest::secondRequestSwitchesTopic() {
    window_->ShowContext(kMainContext);
    window_->ShowContext(kAboutContext);
    QCOMPARE(window_->PageName(), QStringLiteral("0x20064"));
    QVERIFY(ShownText(*window_).contains(QStringLiteral("about text")));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Demo Help - About"));
}

void HelpViewerWindowTest::requestShowsHiddenWindowAgain() {
    window_->ShowContext(kMainContext);
    window_->close();
    QVERIFY(!window_->isVisible());
    window_->ShowContext(kMainContext);
    QVERIFY(window_->isVisible());
    window_->showMinimized();
    window_->ShowContext(kAboutContext);
    QVERIFY(!window_->isMinimized());
}

void HelpViewerWindowTest::unknownContextShowsContentsWithNote() {
    window_->ShowContext(0x20065);
    QCOMPARE(window_->PageName(), QString::fromLatin1(kHelpContentsPage));
    const QString text = ShownText(*window_);
    QVERIFY(text.contains(QStringLiteral("0x20065")));
    QVERIFY(text.contains(QStringLiteral("Main")));
    QVERIFY(text.contains(QStringLiteral("About")));
    QVERIFY(window_->isVisible());
}

void HelpViewerWindowTest::linkOpensTopic() {
    window_->ShowContext(kMainContext);
    emit window_->Browser()->anchorClicked(QUrl(QStringLiteral("#0x20064")));
    QCOMPARE(window_->PageName(), QStringLiteral("0x20064"));
    emit window_->Browser()->anchorClicked(QUrl(QStringLiteral("#0x99")));
    QCOMPARE(window_->PageName(), QString::fromLatin1(kHelpContentsPage));
}

void HelpViewerWindowTest::contentsButtonListsTopics() {
    window_->ShowContext(kMainContext);
    QPushButton* contents = nullptr;
    for (QPushButton* button : window_->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("&Contents"))
            contents = button;
    QVERIFY(contents);
    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(window_->PageName(), QString::fromLatin1(kHelpContentsPage));
    QVERIFY(!ShownText(*window_).contains(QStringLiteral("no topic")));
}

void HelpViewerWindowTest::escapeHidesWindow() {
    window_->ShowContext(kMainContext);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTest::keyClick(window_->Browser(), Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
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
