// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplaylessRun.h"
#include "HelpCommandReader.h"
#include "HelpProtocol.h"
#include "QtTestRows.h"
#include "TarvinVersion.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <climits>

#include <unistd.h>

namespace {

// Both ends of a pipe, closed on destruction unless closed before.
struct Pipe {
    int m_fds[2] = {-1, -1};
    Pipe() { QVERIFY(::pipe(m_fds) == 0); }
    ~Pipe() {
        CloseWriteEnd();
        if (m_fds[0] >= 0)
            ::close(m_fds[0]);
    }
    void Write(const QByteArray& bytes) const {
        QCOMPARE(::write(m_fds[1], bytes.constData(), std::size_t(bytes.size())),
                 ssize_t(bytes.size()));
    }
    void CloseWriteEnd() {
        if (m_fds[1] >= 0)
            ::close(m_fds[1]);
        m_fds[1] = -1;
    }
};

QList<QByteArray> Lines(const QSignalSpy& spy) {
    QList<QByteArray> lines;
    for (const QList<QVariant>& arguments : spy)
        lines << arguments.at(0).toByteArray();
    return lines;
}

} // namespace

class HelpViewerInputTest : public QObject {
    Q_OBJECT

private slots:
    void parsesCommands_data();
    void parsesCommands();
    void parsesOwnerFrame_data();
    void parsesOwnerFrame();
    void parsesRegionToKeepClear_data();
    void parsesRegionToKeepClear();
    void readsLines_data();
    void readsLines();
    void dropsOverlongLine_data();
    void dropsOverlongLine();
    void reportsEndOfInput();
    void viewerObeysItsInput_data();
    void viewerObeysItsInput();
    void viewerAnswersWithoutDisplay_data();
    void viewerAnswersWithoutDisplay();
};

void HelpViewerInputTest::parsesCommands_data() {
    QtTestRows<QByteArray, int, qulonglong> table({"line", "kind", "context"});
    table.Add({
        {"topic", "topic 131174", int(HelpCommandKind::Topic), 131174},
        {"topic zero", "topic 0", int(HelpCommandKind::Topic), 0},
        {"blanks and carriage return around", " topic 5 \r", int(HelpCommandKind::Topic), 5},
        {"state", "state", int(HelpCommandKind::State), 0},
        {"quit", "quit", int(HelpCommandKind::Quit), 0},
        {"topic without context", "topic", int(HelpCommandKind::Unknown), 0},
        {"negative context", "topic -1", int(HelpCommandKind::Unknown), 0},
        {"signed context", "topic +1", int(HelpCommandKind::Unknown), 0},
        {"hexadecimal context", "topic 0x20066", int(HelpCommandKind::Unknown), 0},
        {"context too large", "topic 999999999999999999999999", int(HelpCommandKind::Unknown), 0},
        {"two contexts", "topic 1 2", int(HelpCommandKind::Unknown), 0},
        {"quit with argument", "quit now", int(HelpCommandKind::Unknown), 0},
        {"command in upper case", "QUIT", int(HelpCommandKind::Unknown), 0},
        {"empty line", "", int(HelpCommandKind::Unknown), 0},
        {"NUL byte inside the context", QByteArray("topic 12\0x34", 12),
         int(HelpCommandKind::Unknown), 0},
        {"written topic, context zero", HelpTopicLine(0), int(HelpCommandKind::Topic), 0},
        {"written topic, largest context", HelpTopicLine(ULONG_MAX), int(HelpCommandKind::Topic),
         ULONG_MAX},
        {"written topic with a frame keeps its context",
         HelpTopicLine(131174, QRect(10, 20, 300, 400)), int(HelpCommandKind::Topic), 131174},
    });
}

void HelpViewerInputTest::parsesCommands() {
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(qulonglong, context);
    const HelpCommand command = ParseHelpCommand(line);
    QCOMPARE(int(command.kind), kind);
    QCOMPARE(qulonglong(command.context), context);
}

void HelpViewerInputTest::parsesOwnerFrame_data() {
    QtTestRows<QByteArray, int, QRect> table({"line", "kind", "owner"});
    table.Add({
        {"no frame", "topic 5", int(HelpCommandKind::Topic), QRect()},
        {"frame", "topic 5 10 20 300 400", int(HelpCommandKind::Topic), QRect(10, 20, 300, 400)},
        {"frame left of and above the first screen", "topic 5 -1920 -8 300 400",
         int(HelpCommandKind::Topic), QRect(-1920, -8, 300, 400)},
        {"empty frame", "topic 5 10 20 0 400", int(HelpCommandKind::Unknown), QRect()},
        {"negative size", "topic 5 10 20 300 -4", int(HelpCommandKind::Unknown), QRect()},
        {"three numbers of four", "topic 5 10 20 300", int(HelpCommandKind::Unknown), QRect()},
        {"number beyond an int", "topic 5 10 20 300 9999999999", int(HelpCommandKind::Unknown),
         QRect()},
        {"signed with plus", "topic 5 +10 20 300 400", int(HelpCommandKind::Unknown), QRect()},
        {"bad context with a frame", "topic x 10 20 300 400", int(HelpCommandKind::Unknown),
         QRect()},
        {"written frame at the int limits",
         HelpTopicLine(5, QRect(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX)),
         int(HelpCommandKind::Topic), QRect(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX)},
        {"frame at the least int", "topic 5 -2147483648 0 300 400", int(HelpCommandKind::Unknown),
         QRect()},
        {"frame whose right edge passes the int range", "topic 5 2147483000 0 1000 400",
         int(HelpCommandKind::Unknown), QRect()},
        {"written frame left of and above the first screen",
         HelpTopicLine(5, QRect(-1920, -8, 300, 400)), int(HelpCommandKind::Topic),
         QRect(-1920, -8, 300, 400)},
        {"written empty frame is left out, the topic still shown",
         HelpTopicLine(5, QRect(10, 20, 0, 400)), int(HelpCommandKind::Topic), QRect()},
    });
}

void HelpViewerInputTest::parsesRegionToKeepClear_data() {
    QtTestRows<QByteArray, int, QRect> table({"line", "kind", "keepClear"});
    table.Add({
        {"frame without a region", "topic 5 10 20 300 400", int(HelpCommandKind::Topic), QRect()},
        {"frame and region", "topic 5 10 20 300 400 15 30 200 25", int(HelpCommandKind::Topic),
         QRect(15, 30, 200, 25)},
        {"empty region", "topic 5 10 20 300 400 15 30 0 25", int(HelpCommandKind::Unknown),
         QRect()},
        {"three numbers of the region", "topic 5 10 20 300 400 15 30 200",
         int(HelpCommandKind::Unknown), QRect()},
        {"a number too many", "topic 5 10 20 300 400 15 30 200 25 1", int(HelpCommandKind::Unknown),
         QRect()},
        {"region with a bad frame", "topic 5 10 20 0 400 15 30 200 25",
         int(HelpCommandKind::Unknown), QRect()},
        {"written frame and region",
         HelpTopicLine(5, QRect(-8, 20, 300, 400), QRect(-1, 30, 200, 25)),
         int(HelpCommandKind::Topic), QRect(-1, 30, 200, 25)},
        {"written empty region is left out", HelpTopicLine(5, QRect(10, 20, 300, 400), QRect()),
         int(HelpCommandKind::Topic), QRect()},
        {"written region without a frame is left out", HelpTopicLine(5, QRect(), QRect(1, 2, 3, 4)),
         int(HelpCommandKind::Topic), QRect()},
    });
}

void HelpViewerInputTest::parsesRegionToKeepClear() {
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(QRect, keepClear);
    const HelpCommand command = ParseHelpCommand(line);
    QCOMPARE(int(command.kind), kind);
    QCOMPARE(command.keepClear, keepClear);
}

void HelpViewerInputTest::parsesOwnerFrame() {
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(QRect, owner);
    const HelpCommand command = ParseHelpCommand(line);
    QCOMPARE(int(command.kind), kind);
    QCOMPARE(command.owner, owner);
}

void HelpViewerInputTest::readsLines_data() {
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("one line") << QList<QByteArray>{"topic 1\n"} << QList<QByteArray>{"topic 1"};
    QTest::newRow("two lines in one write")
        << QList<QByteArray>{"topic 1\nstate\n"} << QList<QByteArray>{"topic 1", "state"};
    QTest::newRow("line split over writes")
        << QList<QByteArray>{"to", "pic ", "7\n"} << QList<QByteArray>{"topic 7"};
    QTest::newRow("empty line is a line")
        << QList<QByteArray>{"\nquit\n"} << QList<QByteArray>{"", "quit"};
    QTest::newRow("unfinished line waits for its end")
        << QList<QByteArray>{"state\nqui"} << QList<QByteArray>{"state"};
}

void HelpViewerInputTest::readsLines() {
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QList<QByteArray>, lines);
    Pipe pipe;
    HelpCommandReader reader(pipe.m_fds[0]);
    QSignalSpy received(&reader, &HelpCommandReader::lineReceived);
    for (const QByteArray& bytes : writes) {
        pipe.Write(bytes);
        QTest::qWait(1); // gives the reader a chance to read each write on its own
    }
    pipe.Write("end\n");
    QTRY_COMPARE(Lines(received).size(), lines.size() + 1);
    QCOMPARE(Lines(received).mid(0, lines.size()), lines);
}

// Each row's writes end with "quit", the last line read.
void HelpViewerInputTest::dropsOverlongLine_data() {
    constexpr qsizetype kBound = HelpCommandReader::kMaxLineBytes;
    const QByteArray longest = "state" + QByteArray(kBound - 5, ' ');
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("over-long line, then a command in the same write")
        << QList<QByteArray>{QByteArray(20000, 'x'), "topic 1\nquit\n"}
        << QList<QByteArray>{"quit"};
    QTest::newRow("line at the bound is a command")
        << QList<QByteArray>{longest + "\nquit\n"} << QList<QByteArray>{longest, "quit"};
    QTest::newRow("line one byte over the bound, ended in the next read")
        << QList<QByteArray>{longest + " \nquit\n"} << QList<QByteArray>{"quit"};
    QTest::newRow("line of 8191 bytes, ended in the next read")
        << QList<QByteArray>{"state" + QByteArray(8186, ' ') + "\nquit\n"}
        << QList<QByteArray>{"quit"};
}

void HelpViewerInputTest::dropsOverlongLine() {
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QList<QByteArray>, lines);
    Pipe pipe;
    HelpCommandReader reader(pipe.m_fds[0]);
    QSignalSpy received(&reader, &HelpCommandReader::lineReceived);
    for (const QByteArray& bytes : writes)
        pipe.Write(bytes);
    QTRY_VERIFY(!received.isEmpty() && Lines(received).last() == "quit");
    QCOMPARE(Lines(received), lines);
}

void HelpViewerInputTest::reportsEndOfInput() {
    Pipe pipe;
    HelpCommandReader reader(pipe.m_fds[0]);
    QSignalSpy received(&reader, &HelpCommandReader::lineReceived);
    QSignalSpy ended(&reader, &HelpCommandReader::endOfInput);
    pipe.Write("quit\n");
    pipe.CloseWriteEnd();
    QVERIFY(ended.wait(5000));
    QCOMPARE(Lines(received), QList<QByteArray>{"quit"});
    QTest::qWait(10);
    QCOMPARE(ended.size(), 1);
}

// The viewer program itself, given its input in one write, with its standard input closed or
// its standard output a pipe that nobody reads.
void HelpViewerInputTest::viewerObeysItsInput_data() {
    QtTestRows<QByteArray, QByteArray, int, QByteArray, QByteArray> table(
        {"closed", "input", "status", "output", "errorText"});
    table.Add({
        {"a command after quit is not obeyed", "", "quit\nstate\n", 0, QByteArray(), QByteArray()},
        {"commands before quit are obeyed", "", "state\nquit\n", 0, "state message hidden\n",
         QByteArray()},
        {"an unknown command is echoed escaped, past a NUL", "",
         QByteArray("x\x1b[31m\\red\0z\x9b\nquit\n", 19), 0, QByteArray(),
         "unknown command: x\\x1b[31m\\\\red\\x00z\\x9b\n"},
        {"closed standard input ends the viewer at once", "input", QByteArray(), 2, QByteArray(),
         "standard input is closed"},
        {"a state reply nobody reads does not end the viewer", "output", "state\nstate\nquit\n", 0,
         QByteArray(), QByteArray()},
    });
}

void HelpViewerInputTest::viewerObeysItsInput() {
    QFETCH(QByteArray, closed);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errorText);
    const bool inputClosed = closed == "input";
    QProcess viewer;
    if (inputClosed)
        viewer.setChildProcessModifier([] { ::close(STDIN_FILENO); });
    if (closed == "output") {
        viewer.setChildProcessModifier([] {
            int fds[2];
            if (::pipe(fds) == 0 && ::dup2(fds[1], STDOUT_FILENO) == STDOUT_FILENO)
                ::close(fds[0]); // the reading end gone: a write gets EPIPE, or SIGPIPE
        });
    }
    viewer.start(QStringLiteral(TARVIN_HELP_VIEWER), {QStringLiteral(TARVIN_SHIPPED_HELP_FILE)},
                 inputClosed ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    QVERIFY(viewer.waitForStarted());
    if (!inputClosed)
        viewer.write(input); // the viewer keeps its input open: only quit ends it
    QVERIFY(viewer.waitForFinished(20000));
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), status);
    QCOMPARE(viewer.readAllStandardOutput(), output);
    const QByteArray errors = viewer.readAllStandardError();
    QVERIFY2(errors.contains(errorText), errors.constData());
}

// --help and --version are answered before any display is opened, so with none to open they
// still succeed; a help file without a display is the toolkit's failure, as it was.
void HelpViewerInputTest::viewerAnswersWithoutDisplay_data() {
    DisplaylessRows table({"arguments", "succeeds", "output"});
    AddInformationOptionRows(table, "tarvin-help", "Usage: tarvin-help HELP-FILE\n");
    table.Add({
        {"a help file", {TARVIN_SHIPPED_HELP_FILE}, false, ""},
    });
}

void HelpViewerInputTest::viewerAnswersWithoutDisplay() {
    CheckDisplaylessRow(QStringLiteral(TARVIN_HELP_VIEWER));
}

QTEST_GUILESS_MAIN(HelpViewerInputTest)
#include "HelpViewerInputTest.moc"
