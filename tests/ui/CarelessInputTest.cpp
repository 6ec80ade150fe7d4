// SPDX-License-Identifier: GPL-3.0-or-later
// The window under careless use: lines pasted at and past the line bound, and standard output
// that nobody reads any more while the engine writes to it.

#include "CalculatorDialogDriver.h"
#include "LinePreparation.h"

#include <QTest>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

// "c=1+1+...+11", exactly length bytes long (length even).
QString Sum(qsizetype length) {
    QString line = "c=";
    line.reserve(length);
    while (line.size() + 2 < length)
        line += "1+";
    return line + "11";
}

// Standard output pointed at a pipe whose reading end is closed, and SIGPIPE at its default,
// as when the program was started as "tarvin | true"; both are put back at the end.
class BrokenOutput {
public:
    BrokenOutput() {
        int ends[2];
        if (pipe(ends) != 0)
            return;
        close(ends[0]);
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        dup2(ends[1], STDOUT_FILENO);
        close(ends[1]);
        m_oldHandler = std::signal(SIGPIPE, SIG_DFL);
    }
    ~BrokenOutput() {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        std::clearerr(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        std::signal(SIGPIPE, m_oldHandler);
    }
    BrokenOutput(const BrokenOutput&) = delete;
    BrokenOutput& operator=(const BrokenOutput&) = delete;

    bool IsSet() const { return m_saved >= 0; }

private:
    int m_saved = -1;
    void (*m_oldHandler)(int) = SIG_DFL;
};

} // namespace

class CarelessInputTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void pastedLineRunsWholeOrIsRefused_data();
    void pastedLineRunsWholeOrIsRefused();
    void brokenOutputLeavesTheWindowWorking_data();
    void brokenOutputLeavesTheWindowWorking();

private:
    std::unique_ptr<CalculatorDialogDriver> m_driver;
};

void CarelessInputTest::cleanup() {
    m_driver.reset();
}

void CarelessInputTest::pastedLineRunsWholeOrIsRefused_data() {
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QString>("result");
    const auto bound = static_cast<qsizetype>(kMaxLineLength);
    QTest::newRow("at the bound runs whole") << bound << QString::number(bound / 2 + 9);
    QTest::newRow("one over is refused") << bound + 2 << QString();
    QTest::newRow("four times the bound is refused, not cut") << 4 * bound << QString();
}

// A refused line leaves the archive and the variables as they were, the line in the field.
void CarelessInputTest::pastedLineRunsWholeOrIsRefused() {
    QFETCH(qsizetype, length);
    QFETCH(QString, result);
    m_driver = std::make_unique<CalculatorDialogDriver>();
    QVERIFY(m_driver->IsCreated());
    m_driver->Press("a=1");
    m_driver->Input()->insert(Sum(length));
    QTest::mouseClick(m_driver->CalculateButton(), Qt::LeftButton);
    const std::string archive = m_driver->Text(IDC_ARCHIVE);
    if (!result.isEmpty()) {
        QCOMPARE(m_driver->Result()->text(), result);
        QCOMPARE(archive.size(), kMaxLineLength + std::string("\r\na=1\r\n").size());
        return;
    }
    QCOMPARE(m_driver->Result()->text().toStdString(), "Error: " + LineTooLongReason());
    QCOMPARE(archive, std::string("a=1\r\n"));
    QCOMPARE(m_driver->Text(IDC_VARIABLES), std::string("a = 1.000000\r\n"));
    QVERIFY(!m_driver->Input()->text().isEmpty());
}

void CarelessInputTest::brokenOutputLeavesTheWindowWorking_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("error banner") << "a=#";
    QTest::newRow("help text") << "pomoc=1";
}

// The engine writes to standard output; a write that fails there must not end the window,
// which keeps its variables and goes on calculating.
void CarelessInputTest::brokenOutputLeavesTheWindowWorking() {
    QFETCH(QString, line);
    QString failed, next;
    {
        BrokenOutput output;
        QVERIFY(output.IsSet());
        m_driver = std::make_unique<CalculatorDialogDriver>();
        QVERIFY(m_driver->IsCreated());
        m_driver->Press("a=2");
        failed = m_driver->Press(line);
        next = m_driver->Press("b=a*3");
    }
    QCOMPARE(failed, QStringLiteral("Error"));
    QCOMPARE(next, QStringLiteral("6"));
}

QTEST_MAIN(CarelessInputTest)
#include "CarelessInputTest.moc"
