// SPDX-License-Identifier: GPL-3.0-or-later
// Ten thousand presses on one dialog: the archive holds every line in order
// and nothing more, and nothing else the dialog keeps grows with the presses.

#include "CalculatorDialogDriver.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>

#include <set>

namespace {

constexpr int kPresses = 10000;

// One generated line as typed, and as the archive records it.
struct Press {
    QString typed;
    QString recorded;
};

// A seeded mix of assignments, bare expressions, rejected lines and command
// words over a small pool of names.
Press Generate(QRandomGenerator& random, std::set<QString>& names) {
    QString a = QChar(u'a' + random.bounded(12));
    QString b = QChar(u'a' + random.bounded(12));
    names.insert(a);
    names.insert(b);
    int n = random.bounded(1000);
    switch (random.bounded(6)) {
    case 0:
        return {a + "=" + QString::number(n), a + "=" + QString::number(n)};
    case 1:
        return {a + "+=" + b + "*2", a + "+=" + b + "*2"};
    case 2:
        names.insert(QStringLiteral("ans"));
        return {b + "+" + QString::number(n), "ans=" + b + "+" + QString::number(n)};
    case 3:
        return {a + "==" + b, a + "==" + b};
    case 4:
        return {QStringLiteral("var"), QStringLiteral("var")};
    default:
        names.insert(QStringLiteral("ans"));
        return {"sin(" + a + ")/(" + b + "-" + b + ")", "ans=sin(" + a + ")/(" + b + "-" + b + ")"};
    }
}

// What a pane's document shows, with CR LF between its lines, read from the
// document itself rather than from what the dialog reads back.
std::string Shown(const QPlainTextEdit* pane) {
    QString shown = pane->document()->toPlainText();
    shown.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return shown.toStdString();
}

int ObjectCount(QWidget* window) {
    return static_cast<int>(window->findChildren<QObject*>().size());
}

} // namespace

class WindowSoakTest : public CalculatorDialogFixture {
    Q_OBJECT

public:
    WindowSoakTest() : CalculatorDialogFixture(Bring::Exposed) {}

private slots:
    void archiveHoldsEveryLineAndNothingGrows();
};

void WindowSoakTest::archiveHoldsEveryLineAndNothingGrows() {
    QRandomGenerator random(20261208);
    std::set<QString> names;
    QStringList recorded;
    m_driver->Press(QStringLiteral("1"));
    recorded.prepend(QStringLiteral("ans=1"));
    int objects = ObjectCount(m_driver->Window());
    for (int i = 1; i < kPresses; ++i) {
        Press press = Generate(random, names);
        m_driver->Input()->setText(press.typed);
        m_driver->CalculateButton()->click();
        recorded.prepend(press.recorded);
        if (i % 1000 == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();

    std::string expected = (recorded.join(QStringLiteral("\r\n")) + "\r\n").toStdString();
    QCOMPARE(m_driver->Text(IDC_ARCHIVE).size(), expected.size());
    QVERIFY(m_driver->Text(IDC_ARCHIVE) == expected);
    QVERIFY(Shown(m_driver->Archive()) == expected);
    QCOMPARE(m_driver->Archive()->blockCount(), kPresses + 1);
    QCOMPARE(Shown(m_driver->Variables()), m_driver->Text(IDC_VARIABLES));
    QCOMPARE(ObjectCount(m_driver->Window()), objects);
    int listed =
        static_cast<int>(QString::fromStdString(m_driver->Text(IDC_VARIABLES)).count('\n'));
    QVERIFY(listed >= 1);
    QVERIFY2(listed <= static_cast<int>(names.size()), qPrintable(QString::number(listed)));
    QVERIFY(m_driver->Input()->text().isEmpty());
}

QTEST_MAIN(WindowSoakTest)
#include "WindowSoakTest.moc"
