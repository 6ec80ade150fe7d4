// SPDX-License-Identifier: GPL-3.0-or-later
// The shared table through the real main dialog, offscreen: each case's lines
// are typed into the input field and Calculate is clicked after each; the
// result field then shows the case's result.

#include "CalculatorDialogDriver.h"
#include "ParityTable.h"

#include <QTest>

class WindowParityTest : public QObject {
    Q_OBJECT

private slots:
    void resultFieldShowsTheResult_data();
    void resultFieldShowsTheResult();
};

void WindowParityTest::resultFieldShowsTheResult_data() {
    QTest::addColumn<int>("row");
    const std::vector<ParityCase>& table = ParityTable();
    for (size_t i = 0; i < table.size(); ++i)
        QTest::newRow(table[i].name.c_str()) << static_cast<int>(i);
}

void WindowParityTest::resultFieldShowsTheResult() {
    QFETCH(int, row);
    const ParityCase& parity = ParityTable()[static_cast<size_t>(row)];
    QVERIFY2(parity.problem.empty(), parity.problem.c_str());
    CalculatorDialogDriver driver;
    QVERIFY(driver.IsCreated());
    QString shown;
    for (const std::string& line : parity.lines)
        shown = driver.Press(QString::fromStdString(line));
    QCOMPARE(shown, QString::fromStdString(parity.result));
}

QTEST_MAIN(WindowParityTest)
#include "WindowParityTest.moc"
