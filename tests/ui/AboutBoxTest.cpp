// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDlg.h"
#include "DialogGeometry.h"
#include "ProgramResources.h"
#include "TarvinVersion.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

// The version line as the version CMake defines makes it: major and minor only.
QString ExpectedVersionLine() {
    return QStringLiteral("Tarvin Version %1.%2")
        .arg(TARVIN_VERSION_MAJOR)
        .arg(TARVIN_VERSION_MINOR);
}

} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsCaptionVersionCreditsAndDefaultOk();
    void iconTakesItsOwnSize();
    void layoutComesFromDialogUnits_data();
    void layoutComesFromDialogUnits();
    void eachWayOfClosingEndsIt_data();
    void eachWayOfClosingEndsIt();

private:
    std::unique_ptr<CAboutDlg> m_box;
};

void AboutBoxTest::init() {
    UseProgramResources();
    m_box = std::make_unique<CAboutDlg>();
    QVERIFY(m_box->Create());
    m_box->GetSafeHwnd()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box->GetSafeHwnd()));
}

void AboutBoxTest::cleanup() {
    m_box.reset();
}

void AboutBoxTest::showsCaptionVersionCreditsAndDefaultOk() {
    QWidget* window = m_box->GetSafeHwnd();
    QCOMPARE(window->objectName(), QStringLiteral("IDD_ABOUT"));
    QCOMPARE(window->windowTitle(), QStringLiteral("About Tarvin"));
    QVERIFY(LabelWithText(window, ExpectedVersionLine()));
    int twoLines = 0;
    for (QLabel* label : window->findChildren<QLabel*>())
        twoLines += label->text().count(QLatin1Char('\n')) == 1;
    QCOMPARE(twoLines, 1);
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("IDOK"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
}

void AboutBoxTest::iconTakesItsOwnSize() {
    for (QLabel* label : m_box->GetSafeHwnd()->findChildren<QLabel*>()) {
        if (label->pixmap().isNull())
            continue;
        QCOMPARE(label->size(), label->pixmap().size());
        return;
    }
    QFAIL("no icon control");
}

// The icon control keeps only its position from the template; its size is the icon's.
void AboutBoxTest::layoutComesFromDialogUnits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("units");
    QTest::newRow("whole box 235 by 55") << "" << QRect(0, 0, 235, 55);
    QTest::newRow("icon placed at 11,17") << "icon" << QRect(11, 17, 0, 0);
    QTest::newRow("version line") << ExpectedVersionLine() << QRect(40, 10, 119, 8);
    QTest::newRow("credits two lines high")
        << "Statements over named variables.\nBy the Tarvin developers." << QRect(40, 25, 119, 23);
    QTest::newRow("OK button top right") << "OK" << QRect(178, 7, 50, 14);
}

void AboutBoxTest::layoutComesFromDialogUnits() {
    QFETCH(QString, text);
    QFETCH(QRect, units);
    QWidget* window = m_box->GetSafeHwnd();
    const QRect expected = ExpectedPixels(units);
    if (text.isEmpty()) {
        QCOMPARE(window->size(), expected.size());
        return;
    }
    QWidget* control = nullptr;
    if (text == "OK")
        control = window->findChild<QPushButton*>(QStringLiteral("IDOK"));
    else if (text == "icon") {
        for (QLabel* label : window->findChildren<QLabel*>())
            if (!label->pixmap().isNull())
                control = label;
    } else
        control = LabelWithText(window, text);
    QVERIFY(control);
    if (text == "icon")
        QCOMPARE(control->pos(), expected.topLeft());
    else
        QCOMPARE(control->geometry(), expected);
}

void AboutBoxTest::eachWayOfClosingEndsIt_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("endValue");
    QTest::newRow("OK button gives IDOK") << "ok" << IDOK;
    QTest::newRow("Enter gives IDOK") << "enter" << IDOK;
    QTest::newRow("Escape cancels") << "escape" << IDCANCEL;
    QTest::newRow("close box cancels") << "close" << IDCANCEL;
}

void AboutBoxTest::eachWayOfClosingEndsIt() {
    QFETCH(QString, how);
    QFETCH(int, endValue);
    QWidget* window = m_box->GetSafeHwnd();
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("IDOK"));
    if (how == "ok")
        QTest::mouseClick(ok, Qt::LeftButton);
    else if (how == "enter")
        QTest::keyClick(window, Qt::Key_Return);
    else if (how == "escape")
        QTest::keyClick(ok, Qt::Key_Escape);
    else
        window->windowHandle()->close();
    QVERIFY(m_box->HasEnded());
    QCOMPARE(m_box->GetEndValue(), endValue);
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
