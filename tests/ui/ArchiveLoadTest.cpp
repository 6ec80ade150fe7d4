// SPDX-License-Identifier: GPL-3.0-or-later
// A multi-line pane that still holds its last load gets only the new lines
// put in front of it; these cases prove that it then ends exactly as a pane
// whose whole text was replaced, whatever the user did to it in between.

#include "CString.h"
#include "DataExchange.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

#include <memory>

namespace {

enum class UserEdit {
    None,
    ScrollAndMoveCaret,
    TypeAtTop,
    TypeInMiddle,
    DeleteEverything,
    Paste,
    TypeThenUndo,
    UndoAfterLoad,
};

// Lines as the calculator writes them, each ended by CR LF.
QByteArray Lines(int count, const char* name) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(name) + QByteArray::number(i) + "=" + QByteArray::number(i * 7) + "\r\n";
    return text;
}

const QByteArray kOld = Lines(300, "a");

// kOld with its lines from `from` to `to` (counted from 0, `to` excluded)
// replaced by replacement.
QByteArray ReplacedLines(int from, int to, const QByteArray& replacement) {
    QList<QByteArray> lines = kOld.split('\n');
    QByteArray text;
    for (int i = 0; i < static_cast<int>(lines.size()) - 1; ++i) {
        if (i == from)
            text += replacement;
        if (i < from || i >= to)
            text += lines[i] + '\n';
    }
    if (from >= static_cast<int>(lines.size()) - 1)
        text += replacement;
    return text;
}

// Everything the user can see or reach of a pane after a load.
struct PaneState {
    std::string text;
    QString plain;
    int blocks;
    int position;
    int anchor;
    int vertical;
    int horizontal;
    int verticalRange;
    int horizontalRange;
    bool undo;
    bool redo;
    bool modified;
};

PaneState StateOf(QPlainTextEdit* edit) {
    QTextCursor cursor = edit->textCursor();
    return {GetControlText(edit),
            edit->toPlainText(),
            edit->blockCount(),
            cursor.position(),
            cursor.anchor(),
            edit->verticalScrollBar()->value(),
            edit->horizontalScrollBar()->value(),
            edit->verticalScrollBar()->maximum(),
            edit->horizontalScrollBar()->maximum(),
            edit->document()->isUndoAvailable(),
            edit->document()->isRedoAvailable(),
            edit->document()->isModified()};
}

// The load as it was before lines could be put in front: a short text equal
// to the control's stays, every other text replaces the whole content.
void FullReset(QPlainTextEdit* edit, const CString& value) {
    if (value.GetLength() <= 255 && GetControlText(edit) == value.Text())
        return;
    SetControlText(edit, value);
}

void ApplyEdit(QPlainTextEdit* edit, UserEdit how) {
    QTextCursor cursor = edit->textCursor();
    switch (how) {
    case UserEdit::None:
        return;
    case UserEdit::ScrollAndMoveCaret:
        cursor.setPosition(edit->document()->characterCount() / 2);
        edit->setTextCursor(cursor);
        edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum() / 2);
        return;
    case UserEdit::TypeAtTop:
        QTest::keyClicks(edit, QStringLiteral("note "));
        return;
    case UserEdit::TypeInMiddle:
        cursor.setPosition(edit->document()->characterCount() / 2);
        edit->setTextCursor(cursor);
        QTest::keyClicks(edit, QStringLiteral("x"));
        QTest::keyClick(edit, Qt::Key_Return);
        return;
    case UserEdit::DeleteEverything:
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        return;
    case UserEdit::Paste:
        QApplication::clipboard()->setText(QString::fromUtf8(kOld.left(40)));
        edit->paste();
        return;
    case UserEdit::TypeThenUndo:
        QTest::keyClicks(edit, QStringLiteral("z"));
        edit->undo();
        return;
    case UserEdit::UndoAfterLoad:
        edit->undo();
        return;
    }
}

} // namespace

class ArchiveLoadTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadEndsAsFullReset_data();
    void loadEndsAsFullReset();
    void readingBackGivesWhatThePaneShows_data();
    void readingBackGivesWhatThePaneShows();

private:
    void LoadBoth(const QByteArray& value);
    void CompareBoth();

    std::unique_ptr<QWidget> m_window;
    QPlainTextEdit* m_added = nullptr;
    QPlainTextEdit* m_reset = nullptr;
};

void ArchiveLoadTest::init() {
    m_window = std::make_unique<QWidget>();
    m_added = new QPlainTextEdit(m_window.get());
    m_reset = new QPlainTextEdit(m_window.get());
    for (QPlainTextEdit* edit : {m_added, m_reset}) {
        edit->resize(200, 120);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    m_reset->move(0, 130);
    m_window->resize(220, 260);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void ArchiveLoadTest::cleanup() {
    m_window.reset();
}

void ArchiveLoadTest::LoadBoth(const QByteArray& value) {
    CString field(value.toStdString());
    LoadControlText(m_added, field);
    FullReset(m_reset, field);
    QApplication::processEvents();
}

void ArchiveLoadTest::CompareBoth() {
    PaneState added = StateOf(m_added);
    PaneState reset = StateOf(m_reset);
    QCOMPARE(added.text, reset.text);
    QCOMPARE(added.plain, reset.plain);
    QCOMPARE(added.blocks, reset.blocks);
    QCOMPARE(added.position, reset.position);
    QCOMPARE(added.anchor, reset.anchor);
    QCOMPARE(added.vertical, reset.vertical);
    QCOMPARE(added.horizontal, reset.horizontal);
    QCOMPARE(added.verticalRange, reset.verticalRange);
    QCOMPARE(added.horizontalRange, reset.horizontalRange);
    QCOMPARE(added.undo, reset.undo);
    QCOMPARE(added.redo, reset.redo);
    QCOMPARE(added.modified, reset.modified);
}

void ArchiveLoadTest::loadEndsAsFullReset_data() {
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<UserEdit>("edit");
    QTest::addColumn<QByteArray>("second");

    QByteArray line = "ans=5\r\n";
    QTest::newRow("untouched, one line in front") << kOld << UserEdit::None << line + kOld;
    QTest::newRow("untouched, many lines in front")
        << kOld << UserEdit::None << Lines(50, "b") + kOld;
    QTest::newRow("untouched, same long text") << kOld << UserEdit::None << kOld;
    QTest::newRow("untouched, text shortened") << kOld << UserEdit::None << kOld.mid(7);
    QTest::newRow("untouched, other text") << kOld << UserEdit::None << Lines(300, "c");
    QTest::newRow("untouched, emptied") << kOld << UserEdit::None << QByteArray();
    QTest::newRow("untouched, from empty to long") << QByteArray() << UserEdit::None << kOld;
    QTest::newRow("untouched, short grows past compared length")
        << Lines(3, "s") << UserEdit::None << kOld + Lines(3, "s");
    QTest::newRow("untouched, prefix without line end") << kOld << UserEdit::None << "ans=5" + kOld;
    QTest::newRow("untouched, prefix ends in lone CR")
        << kOld << UserEdit::None << "ans=5\r" + kOld;
    QTest::newRow("untouched, old text starts with LF")
        << "\n" + kOld << UserEdit::None << "ans=5\r\n\n" + kOld;
    QTest::newRow("untouched, prefix with lone LF")
        << kOld << UserEdit::None << "a=1\nb=2\n" + kOld;
    QTest::newRow("untouched, prefix with non-ASCII")
        << kOld << UserEdit::None << QByteArray("\xc5\xa1=1\r\n") + kOld;
    QTest::newRow("untouched, prefix with invalid byte")
        << kOld << UserEdit::None << QByteArray("\xff=1\r\n") + kOld;
    QTest::newRow("untouched, old text with invalid byte")
        << QByteArray("\xc5=1\r\n") + kOld << UserEdit::None
        << line + QByteArray("\xc5=1\r\n") + kOld;
    QTest::newRow("untouched, prefix with paragraph separator")
        << kOld << UserEdit::None << QByteArray("p\xe2\x80\xa9q\r\n") + kOld;
    QTest::newRow("untouched, one line changed in the middle")
        << kOld << UserEdit::None << ReplacedLines(150, 151, "a150=1\r\n");
    QTest::newRow("untouched, line inserted in the middle")
        << kOld << UserEdit::None << ReplacedLines(150, 150, "a1495=0\r\n");
    QTest::newRow("untouched, lines removed from the middle")
        << kOld << UserEdit::None << ReplacedLines(100, 200, "");
    QTest::newRow("untouched, first line changed")
        << kOld << UserEdit::None << ReplacedLines(0, 1, "a0=-1\r\n");
    QTest::newRow("untouched, last line changed")
        << kOld << UserEdit::None << ReplacedLines(299, 300, "a299=1\r\n");
    QTest::newRow("untouched, line appended at the end")
        << kOld << UserEdit::None << ReplacedLines(300, 300, "z=1\r\n");
    QTest::newRow("untouched, last line end removed") << kOld << UserEdit::None << kOld.chopped(2);
    QTest::newRow("untouched, text added after a last line without end")
        << kOld.chopped(2) << UserEdit::None << kOld + "z=1";
    QTest::newRow("untouched, changed line joins the next")
        << kOld << UserEdit::None << ReplacedLines(150, 151, "a150=10");
    QTest::newRow("untouched, widest line removed")
        << ReplacedLines(150, 150, QByteArray(400, 'w') + "\r\n") << UserEdit::None << kOld;
    QTest::newRow("untouched, middle line with lone LF")
        << kOld << UserEdit::None << ReplacedLines(150, 151, "p\nq\r\n");
    QTest::newRow("untouched, middle line with lone CR")
        << kOld << UserEdit::None << ReplacedLines(150, 151, "p\rq\r\n");
    QTest::newRow("untouched, middle line with invalid byte")
        << kOld << UserEdit::None << ReplacedLines(150, 151, "\xff=1\r\n");
    QTest::newRow("untouched, middle line with line separator")
        << kOld << UserEdit::None << ReplacedLines(150, 151, "l\xe2\x80\xa8m\r\n");
    QTest::newRow("untouched, old text shown otherwise, middle changed")
        << "a\rb\r\n" + kOld << UserEdit::None << "a\rb\r\n" + ReplacedLines(150, 151, "");
    QTest::newRow("typed in the middle, then a middle line changed")
        << kOld << UserEdit::TypeInMiddle << ReplacedLines(10, 11, "");
    QTest::newRow("scrolled and caret moved")
        << kOld << UserEdit::ScrollAndMoveCaret << line + kOld;
    QTest::newRow("typed at the top") << kOld << UserEdit::TypeAtTop << line + kOld;
    QTest::newRow("typed in the middle") << kOld << UserEdit::TypeInMiddle << line + kOld;
    QTest::newRow("deleted everything") << kOld << UserEdit::DeleteEverything << line + kOld;
    QTest::newRow("pasted") << kOld << UserEdit::Paste << line + kOld;
    QTest::newRow("typed then undone") << kOld << UserEdit::TypeThenUndo << line + kOld;
    QTest::newRow("undo asked right after load") << kOld << UserEdit::UndoAfterLoad << line + kOld;
}

// Both panes see the same loads and the same user actions; one takes the
// loads as they come, the other has its whole text replaced every time.
void ArchiveLoadTest::loadEndsAsFullReset() {
    QFETCH(QByteArray, first);
    QFETCH(UserEdit, edit);
    QFETCH(QByteArray, second);

    LoadBoth(first);
    ApplyEdit(m_added, edit);
    ApplyEdit(m_reset, edit);
    CompareBoth();
    LoadBoth(second);
    CompareBoth();
    LoadBoth("ans=6\r\n" + QByteArray::fromStdString(GetControlText(m_reset)));
    CompareBoth();
    ApplyEdit(m_added, UserEdit::UndoAfterLoad);
    ApplyEdit(m_reset, UserEdit::UndoAfterLoad);
    CompareBoth();
}

void ArchiveLoadTest::readingBackGivesWhatThePaneShows_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("calculator lines") << kOld;
    QTest::newRow("lone line feeds") << "a\nb\n" + kOld;
    QTest::newRow("lone carriage returns") << "a\rb\r\n" + kOld;
    QTest::newRow("invalid bytes") << QByteArray("\xff\xfe\r\n") + kOld;
    QTest::newRow("line separator") << QByteArray("l\xe2\x80\xa8m\r\n") + kOld;
}

// Reading a pane back before and after lines are put in front gives what its
// document holds, even where that differs from the field that was loaded.
void ArchiveLoadTest::readingBackGivesWhatThePaneShows() {
    QFETCH(QByteArray, value);
    LoadBoth(value);
    QCOMPARE(GetControlText(m_added), GetControlText(m_reset));
    LoadBoth(value + "x=1\r\n");
    LoadBoth("y\n=2\r\n" + value + "x=1\r\n");
    LoadBoth("z=3\r\ny\n=2\r\n" + value + "x=1\r\n");
    QString raw = m_added->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    raw.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    QCOMPARE(GetControlText(m_added), raw.toStdString());
    QCOMPARE(GetControlText(m_added), GetControlText(m_reset));
}

QTEST_MAIN(ArchiveLoadTest)
#include "ArchiveLoadTest.moc"
