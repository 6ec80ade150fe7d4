// SPDX-License-Identifier: GPL-3.0-or-later
// The About box as the main window runs it: modal over the main window only,
// centred over it, a new box for every opening, and closing it changes nothing
// else. Input reaches the main window through the window system, as a user's
// clicks do, so the modal block is what is tested, not a flag.

#include "CalculatorDialogDriver.h"
#include "HelpRoutingApp.h"
#include "ResourceIds.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

QWidget* OpenAboutBox() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("IDD_ABOUT") && window->isVisible())
            return window;
    return nullptr;
}

} // namespace

class AboutModalTest : public CalculatorDialogFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mainWindowIsBlockedWhileAboutIsOpen();
    void mainWindowIsActiveAndUsableAfter();
    void boxIsCentredOverMainWindow();
    void eachOpeningBuildsANewBox();
    void closingTheBoxChangesNothingElse_data();
    void closingTheBoxChangesNothingElse();

private:
    // Opens the About box from the system menu and runs inside while it is open;
    // the box is closed with OK afterwards unless inside closed it.
    void WithAboutOpen(const std::function<void(QWidget*)>& inside);
    void ClickCalculateThroughWindowSystem();

    std::unique_ptr<HelpRoutingApp> m_app;
};

void AboutModalTest::init() {
    m_app = std::make_unique<HelpRoutingApp>();
    CalculatorDialogFixture::init();
    m_app->m_pMainWnd = &m_driver->Dialog();
}

void AboutModalTest::cleanup() {
    m_app->m_pMainWnd = nullptr;
    CalculatorDialogFixture::cleanup();
    m_app.reset();
}

void AboutModalTest::WithAboutOpen(const std::function<void(QWidget*)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = OpenAboutBox();
        if (!box)
            return;
        ran = true;
        inside(box);
        if (QWidget* still = OpenAboutBox())
            still->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    m_driver->Dialog().SendSysCommand(IDM_ABOUT, 0);
    QVERIFY(ran);
    QVERIFY(!OpenAboutBox());
}

void AboutModalTest::ClickCalculateThroughWindowSystem() {
    QPushButton* button = m_driver->CalculateButton();
    QPoint at = button->mapTo(m_driver->Window(), button->rect().center());
    QTest::mouseClick(m_driver->Window()->windowHandle(), Qt::LeftButton, {}, at);
}

void AboutModalTest::mainWindowIsBlockedWhileAboutIsOpen() {
    QTest::keyClicks(m_driver->Input(), "2*3");
    QString resultMeanwhile = "not run";
    bool boxIsTheModalWidget = false;
    WithAboutOpen([&](QWidget* box) {
        boxIsTheModalWidget = QApplication::activeModalWidget() == box;
        ClickCalculateThroughWindowSystem();
        QTest::keyClick(m_driver->Window()->windowHandle(), Qt::Key_Return);
        QCoreApplication::processEvents();
        resultMeanwhile = m_driver->Result()->text();
    });
    QVERIFY(boxIsTheModalWidget);
    QCOMPARE(resultMeanwhile, QString());
    QCOMPARE(m_driver->Result()->text(), QString());
}

void AboutModalTest::mainWindowIsActiveAndUsableAfter() {
    QTest::keyClicks(m_driver->Input(), "2*3");
    WithAboutOpen([](QWidget*) {});
    QVERIFY(!QApplication::activeModalWidget());
    QTRY_COMPARE(QApplication::activeWindow(), m_driver->Window());
    ClickCalculateThroughWindowSystem();
    QCOMPARE(m_driver->Result()->text(), QStringLiteral("6"));
}

void AboutModalTest::boxIsCentredOverMainWindow() {
    QPoint mainCentre = m_driver->Window()->frameGeometry().center();
    QPoint boxCentre;
    WithAboutOpen([&](QWidget* box) { boxCentre = box->frameGeometry().center(); });
    QVERIFY2((boxCentre - mainCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("box centre %1,%2, main centre %3,%4")
                            .arg(boxCentre.x())
                            .arg(boxCentre.y())
                            .arg(mainCentre.x())
                            .arg(mainCentre.y())));
}

// The first box is destroyed when it closes, so the second one is built anew.
void AboutModalTest::eachOpeningBuildsANewBox() {
    QPointer<QWidget> first;
    WithAboutOpen([&](QWidget* box) { first = box; });
    QVERIFY(first.isNull());
    QPointer<QWidget> second;
    WithAboutOpen([&](QWidget* box) {
        second = box;
        QCOMPARE(box->focusWidget(), box->findChild<QPushButton*>(QStringLiteral("IDOK")));
    });
    QVERIFY(second.isNull());
}

void AboutModalTest::closingTheBoxChangesNothingElse_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Enter key") << "enter";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("close box") << "close";
}

void AboutModalTest::closingTheBoxChangesNothingElse() {
    QFETCH(QString, how);
    m_driver->Press("a=5");
    QTest::keyClicks(m_driver->Input(), "b=");
    const std::string archive = m_driver->Text(IDC_ARCHIVE);
    const std::string variables = m_driver->Text(IDC_VARIABLES);
    WithAboutOpen([&](QWidget* box) {
        if (how == "ok")
            QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("IDOK")), Qt::LeftButton);
        else if (how == "enter")
            QTest::keyClick(box, Qt::Key_Return);
        else if (how == "escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->windowHandle()->close();
    });
    QVERIFY(!m_driver->Dialog().HasEnded());
    QVERIFY(m_driver->Window()->isVisible());
    QCOMPARE(m_driver->Input()->text(), QStringLiteral("b="));
    QCOMPARE(m_driver->Result()->text(), QStringLiteral("5"));
    QCOMPARE(m_driver->Text(IDC_ARCHIVE), archive);
    QCOMPARE(m_driver->Text(IDC_VARIABLES), variables);
}

QTEST_MAIN(AboutModalTest)
#include "AboutModalTest.moc"
