// SPDX-License-Identifier: GPL-3.0-or-later
// The window under careless use: text pasted with NUL bytes and line breaks, lines at and past
// the line bound, presses that cannot get their memory, and standard output that nobody reads.

#include "CalculatorDialogDriver.h"
#include "LinePreparation.h"
#include "QtTestRows.h"

#include <QClipboard>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/resource.h>
#include <termios.h>
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

// A text with the NUL bytes that a string literal holds.
template <std::size_t N> QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

// Where standard output goes while a test runs: a pipe whose reading end is closed, as when the
// program was started as "tarvin | true"; a pipe that nobody reads; a terminal whose output is
// paused, as by Ctrl+S.
enum class Sink { ClosedPipe, UnreadPipe, PausedTerminal };

// Standard output on a sink, with SIGPIPE at its default; all is put back at the end, and a
// writer still waiting on the sink is let go.
class StalledOutput {
public:
    explicit StalledOutput(Sink sink) {
        const int fd = sink == Sink::PausedTerminal ? OpenPausedTerminal() : OpenPipe(sink);
        if (fd < 0)
            return;
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        dup2(fd, STDOUT_FILENO);
        close(fd);
        m_oldHandler = std::signal(SIGPIPE, SIG_DFL);
    }
    ~StalledOutput() {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        std::clearerr(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        std::signal(SIGPIPE, m_oldHandler);
        if (m_terminal >= 0)
            tcflow(m_terminal, TCOON);
        for (int fd : {m_terminal, m_farEnd})
            if (fd >= 0)
                close(fd);
    }
    StalledOutput(const StalledOutput&) = delete;
    StalledOutput& operator=(const StalledOutput&) = delete;

    bool IsSet() const { return m_saved >= 0; }

private:
    int OpenPipe(Sink sink) {
        int ends[2];
        if (pipe(ends) != 0)
            return -1;
        if (sink == Sink::ClosedPipe)
            close(ends[0]);
        else
            m_farEnd = ends[0];
        return ends[1];
    }

    // The terminal's own end, with its output stopped; the far end is the one a terminal
    // program would read.
    int OpenPausedTerminal() {
        m_farEnd = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_farEnd < 0 || grantpt(m_farEnd) != 0 || unlockpt(m_farEnd) != 0)
            return -1;
        m_terminal = open(ptsname(m_farEnd), O_RDWR | O_NOCTTY);
        if (m_terminal < 0 || tcflow(m_terminal, TCOOFF) != 0)
            return -1;
        return dup(m_terminal);
    }

    int m_saved = -1;
    int m_farEnd = -1;
    int m_terminal = -1;
    void (*m_oldHandler)(int) = SIG_DFL;
};

// The address sanitizer reserves far more address space than any cap here.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kCapsApply = false;
#else
constexpr bool kCapsApply = true;
#endif

// Caps the address space at what the process holds, and headroom more, while it lives.
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(rlim_t headroom) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        getrlimit(RLIMIT_AS, &m_old);
        rlimit cap = m_old;
        cap.rlim_cur =
            static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + headroom;
        m_set = pages > 0 && setrlimit(RLIMIT_AS, &cap) == 0;
    }
    ~AddressSpaceCap() {
        if (m_set)
            setrlimit(RLIMIT_AS, &m_old);
    }
    AddressSpaceCap(const AddressSpaceCap&) = delete;
    AddressSpaceCap& operator=(const AddressSpaceCap&) = delete;

    bool IsSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
};

constexpr rlim_t kMiB = rlim_t{1} << 20;

// Whether no test has run in this process yet: room that a test frees stays in the heap, where
// a press under a cap would find it.
bool g_heapUntouched = true;

} // namespace

class CarelessInputTest : public CalculatorDialogFixture {
    Q_OBJECT

public:
    CarelessInputTest() : CalculatorDialogFixture(Bring::Created) {}

private slots:
    void cleanup() {
        g_heapUntouched = false;
        CalculatorDialogFixture::cleanup();
    }

    void pressWithoutMemoryFailsVisibly_data();
    void pressWithoutMemoryFailsVisibly();
    void pastedTextRunsLineByLine_data();
    void pastedTextRunsLineByLine();
    void pastedLineRunsWholeOrIsRefused_data();
    void pastedLineRunsWholeOrIsRefused();
    void outputNobodyTakesLeavesTheWindowWorking_data();
    void outputNobodyTakesLeavesTheWindowWorking();

private:
    QByteArray Field(int id) const { return QByteArray::fromStdString(m_driver->Text(id)); }
    // The last text told to a screen reader as a notification.
    QString Announced() const {
        return m_driver->Window()
            ->findChild<QWidget*>(QStringLiteral("Announcer"))
            ->accessibleName();
    }
};

void CarelessInputTest::pastedTextRunsLineByLine_data() {
    QtTestRows<QByteArray, QString, QByteArray, QByteArray, QByteArray> table(
        {"pasted", "result", "archive", "variables", "left"});
    const QByteArray tooLong = Sum(kMaxLineLength + 2).toUtf8();
    table.Add({
        {"NUL refused, never cut", Bytes("q=1\0+5"), "NUL in line", "", "", Bytes("q=1\0+5")},
        {"LF parts two lines", "m=2\n+3", "3", "ans=+3\r\nm=2\r\n",
         "ans = 3.000000\r\nm = 2.000000\r\n", ""},
        {"two statements both run", "a=2\nb=3", "3", "b=3\r\na=2\r\n",
         "a = 2.000000\r\nb = 3.000000\r\n", ""},
        {"CR LF, CR and the Unicode line separator", "a=1\r\nb=2\rc=3\u2028d=4", "4",
         "d=4\r\nc=3\r\nb=2\r\na=1\r\n",
         "a = 1.000000\r\nb = 2.000000\r\nc = 3.000000\r\nd = 4.000000\r\n", ""},
        {"blank lines passed over", " \n\na=1\n\t\n", "1", "a=1\r\n", "a = 1.000000\r\n", ""},
        {"commands and bare expressions as typed", "a=1\nclear\n2*3", "6",
         "ans=2*3\r\nclear\r\na=1\r\n", "ans = 6.000000\r\n", ""},
        {"a failing line runs and is archived", "a=1\n1+", "Error", "ans=1+\r\na=1\r\n",
         "a = 1.000000\r\n", ""},
        {"a refused line stops none after it", Bytes("a=1\nq=\0\nb=2"), "NUL in line",
         "b=2\r\na=1\r\n", "a = 1.000000\r\nb = 2.000000\r\n", Bytes("q=\0")},
        {"over-long lines stay, one a line", "a=1\n" + tooLong + "\r\nb=2\n" + tooLong,
         "Line too long", "b=2\r\na=1\r\n", "a = 1.000000\r\nb = 2.000000\r\n",
         tooLong + "\n" + tooLong},
    });
}

// Pasted through the clipboard, then Enter: each line that is not blank runs as if typed and
// entered alone, in order; the archive shows only what the engine took, and a refused line is
// left in the input field with the reason in the result field.
void CarelessInputTest::pastedTextRunsLineByLine() {
    QFETCH(QByteArray, pasted);
    QFETCH(QString, result);
    QFETCH(QByteArray, archive);
    QFETCH(QByteArray, variables);
    QFETCH(QByteArray, left);
    QApplication::clipboard()->setText(QString::fromUtf8(pasted));
    QTest::keyClick(m_driver->Input(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Field(IDC_INPUT), pasted);
    QTest::keyClick(m_driver->Input(), Qt::Key_Return);
    QCOMPARE(m_driver->Result()->text(), result);
    QCOMPARE(Field(IDC_ARCHIVE), archive);
    QCOMPARE(Field(IDC_VARIABLES), variables);
    QCOMPARE(Field(IDC_INPUT), left);
    QApplication::clipboard()->clear();
}

void CarelessInputTest::pastedLineRunsWholeOrIsRefused_data() {
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QString>("result");
    const auto bound = static_cast<qsizetype>(kMaxLineLength);
    QTest::newRow("at the bound runs whole") << bound << QString::number(bound / 2 + 9);
    QTest::newRow("one over is refused") << bound + 2 << QString();
    QTest::newRow("four times the bound is refused, not cut") << 4 * bound << QString();
}

// A refused line leaves the archive and the variables as they were, the line in the field; the
// result field's description and the announcement name the bound.
void CarelessInputTest::pastedLineRunsWholeOrIsRefused() {
    QFETCH(qsizetype, length);
    QFETCH(QString, result);
    m_driver->Press("a=1");
    m_driver->Input()->insert(Sum(length));
    QTest::mouseClick(m_driver->CalculateButton(), Qt::LeftButton);
    const std::string archive = m_driver->Text(IDC_ARCHIVE);
    if (!result.isEmpty()) {
        QCOMPARE(m_driver->Result()->text(), result);
        QCOMPARE(archive.size(), kMaxLineLength + std::string("\r\na=1\r\n").size());
        return;
    }
    const QString reason = QString::fromStdString(LineTooLongReason());
    QCOMPARE(m_driver->Result()->text(), QStringLiteral("Line too long"));
    QVERIFY(m_driver->Result()->accessibleDescription().contains(reason));
    QVERIFY(Announced().contains(reason));
    QCOMPARE(archive, std::string("a=1\r\n"));
    QCOMPARE(m_driver->Text(IDC_VARIABLES), std::string("a = 1.000000\r\n"));
    QCOMPARE(m_driver->Input()->text().size(), length);
}

void CarelessInputTest::pressWithoutMemoryFailsVisibly_data() {
    QtTestRows<rlim_t, bool> table({"headroom", "engineTookIt"});
    table.Add({
        {"no room to read the line", 1 * kMiB, false},
        {"room for the window, none for the engine", 20 * kMiB, true},
    });
}

// A line at the bound, entered with the address space capped near what is in use: the press
// fails that line, says so, and changes no variable; the window goes on once memory is back.
// Each row needs a process of its own (careless_input.memory.*); run after another test, it is
// skipped.
void CarelessInputTest::pressWithoutMemoryFailsVisibly() {
    QFETCH(rlim_t, headroom);
    QFETCH(bool, engineTookIt);
    if (!kCapsApply)
        QSKIP("the address sanitizer's reserve is larger than any cap");
    if (!g_heapUntouched)
        QSKIP("needs a heap that no earlier test has grown");
    m_driver->Press("a=1");
    const QString line = Sum(static_cast<qsizetype>(kMaxLineLength));
    m_driver->Input()->setText(line);
    {
        AddressSpaceCap cap(headroom);
        QVERIFY(cap.IsSet());
        QTest::keyClick(m_driver->Input(), Qt::Key_Return);
    }
    QCOMPARE(m_driver->Result()->text(), QStringLiteral("Out of memory"));
    QVERIFY(m_driver->Result()->accessibleDescription().contains(std::strerror(ENOMEM)));
    QVERIFY(Announced().contains(std::strerror(ENOMEM)));
    QCOMPARE(m_driver->Text(IDC_VARIABLES), std::string("a = 1.000000\r\n"));
    const std::string archive = m_driver->Text(IDC_ARCHIVE);
    QCOMPARE(archive.size(), engineTookIt ? kMaxLineLength + 7 : 5);
    QCOMPARE(m_driver->Input()->text(), engineTookIt ? QString() : line);
    m_driver->Input()->clear();
    QCOMPARE(m_driver->Press("b=a*3"), QStringLiteral("3"));
}

void CarelessInputTest::outputNobodyTakesLeavesTheWindowWorking_data() {
    QtTestRows<int, QString, int> table({"sink", "line", "presses"});
    table.Add({
        {"error banner to a closed pipe", int(Sink::ClosedPipe), "a=#", 1},
        {"help text to a closed pipe", int(Sink::ClosedPipe), "pomoc=1", 1},
        {"error banner to a paused terminal", int(Sink::PausedTerminal), "a=#", 1},
        {"help text, 100 times, to a pipe nobody reads", int(Sink::UnreadPipe), "pomoc=1", 100},
    });
}

// The engine writes to standard output. A write there that fails must not end the window, and
// one that would wait must not stop it: the window keeps its variables and goes on calculating.
void CarelessInputTest::outputNobodyTakesLeavesTheWindowWorking() {
    QFETCH(int, sink);
    QFETCH(QString, line);
    QFETCH(int, presses);
    StalledOutput output(static_cast<Sink>(sink));
    QVERIFY(output.IsSet());
    m_driver.reset();
    m_driver = std::make_unique<CalculatorDialogDriver>();
    m_driver->Press("a=2");
    for (int i = 0; i < presses; ++i)
        QCOMPARE(m_driver->Press(line), QStringLiteral("Error"));
    QCOMPARE(m_driver->Press("b=a*3"), QStringLiteral("6"));
}

QTEST_MAIN(CarelessInputTest)
#include "CarelessInputTest.moc"
