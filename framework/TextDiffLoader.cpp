// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextDiffLoader.h"

#include "ControlText.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Name of the record a multi-line edit's document carries of its last load.
constexpr char kRecordName[] = "tarvin-loaded-text";

// What the data exchange last loaded into a multi-line edit: the field's text
// and the text the control gives back for it. Any change to the document
// after that load, by the user or by anyone else, marks the record edited;
// only an unedited record stands for the control's text.
class LoadedTextRecord : public QObject {
public:
    explicit LoadedTextRecord(QTextDocument* document) : QObject(document) {
        setObjectName(QString::fromLatin1(kRecordName));
        connect(document, &QTextDocument::contentsChanged, this, [this] { m_edited = true; });
    }

    std::string m_field;   // the field's text as loaded
    std::string m_control; // the control's text since, when it differs from m_field
    bool m_controlIsField = true;
    bool m_edited = true;

    const std::string& ControlText() const { return m_controlIsField ? m_field : m_control; }
};

LoadedTextRecord* FindRecord(const QPlainTextEdit* edit) {
    QObject* child = edit->document()->findChild<QObject*>(QString::fromLatin1(kRecordName),
                                                           Qt::FindDirectChildrenOnly);
    return dynamic_cast<LoadedTextRecord*>(child);
}

LoadedTextRecord* UnchangedRecord(const QPlainTextEdit* edit) {
    LoadedTextRecord* record = FindRecord(edit);
    return record && !record->m_edited ? record : nullptr;
}

// After a load the caret stands at the start, nothing is selected, the view
// shows the top, and there is nothing to undo.
void ShowFromStart(QPlainTextEdit* edit) {
    edit->setTextCursor(QTextCursor(edit->document()));
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->minimum());
    edit->horizontalScrollBar()->setValue(edit->horizontalScrollBar()->minimum());
}

// Ends a load that changed only some lines: the record stands for value again
// and the edit shows it as after any load.
void FinishPartialLoad(QPlainTextEdit* edit, LoadedTextRecord& record, const CString& value) {
    record.m_field = value.Text();
    ShowFromStart(edit);
    record.m_edited = false;
}

// Records a full load: the field's text and what the control now gives back.
void RecordFullLoad(QPlainTextEdit* edit, const CString& value) {
    LoadedTextRecord* record = FindRecord(edit);
    if (!record)
        record = new LoadedTextRecord(edit->document());
    std::string control = WithCarriageReturns(edit->document()->toRawText());
    record->m_controlIsField = control == value.Text();
    record->m_control = record->m_controlIsField ? std::string() : std::move(control);
    record->m_field = value.Text();
    record->m_edited = false;
}

// The text in front of the last load that value adds, when value is that
// text with whole lines put before it: a prefix ending in a line feed cannot
// join a character or a CR LF with the old text, so the old text reads as
// before. Empty when value is the old text itself.
bool FindAddedLines(const LoadedTextRecord& record, const std::string& value,
                    std::string_view* added) {
    const std::string& old = record.m_field;
    if (value.size() < old.size())
        return false;
    std::size_t addedLength = value.size() - old.size();
    if (addedLength > 0 && value[addedLength - 1] != '\n')
        return false;
    if (std::memcmp(value.data() + addedLength, old.data(), old.size()) != 0)
        return false;
    *added = std::string_view(value.data(), addedLength);
    return true;
}

// Replaces the document's text between two positions as one change that
// cannot be undone, and returns the control's text of what now stands there.
std::string ReplaceRange(QPlainTextEdit* edit, int start, int end, std::string_view lines) {
    QTextDocument* document = edit->document();
    bool undoRedo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(WithoutCarriageReturns(lines));
    document->setUndoRedoEnabled(undoRedo);
    document->setModified(false);
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    return WithCarriageReturns(cursor.selectedText());
}

// Brings an edit that still holds its last load up to value by putting only
// the added lines in front; false, with the edit untouched, when value is not
// the old text with lines added.
bool LoadAddedLines(QPlainTextEdit* edit, const CString& value) {
    LoadedTextRecord* record = UnchangedRecord(edit);
    std::string_view added;
    if (!record || edit->maximumBlockCount() > 0 || !FindAddedLines(*record, value.Text(), &added))
        return false;
    std::string addedControl = ReplaceRange(edit, 0, 0, added);
    if (!record->m_controlIsField || addedControl != added) {
        record->m_control = addedControl + record->ControlText();
        record->m_controlIsField = false;
    }
    FinishPartialLoad(edit, *record, value);
    return true;
}

// Where value differs from the last load, in whole lines: both share their
// first `first` bytes and everything from oldEnd (in the old text) and newEnd
// (in value) on; each of those bounds stands at the start of a line.
struct ChangedLines {
    std::size_t first;
    std::size_t oldEnd;
    std::size_t newEnd;
};

// Length of the common leading text, cut back to just after its last LF.
std::size_t CommonLeadingLines(std::string_view a, std::string_view b) {
    std::size_t limit = std::min(a.size(), b.size());
    std::size_t same = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(limit), b.begin()).first -
        a.begin());
    std::size_t lineFeed = a.substr(0, same).rfind('\n');
    return lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
}

bool StartsLine(std::string_view text, std::size_t tail) {
    return tail == text.size() || text[text.size() - tail - 1] == '\n';
}

// Length of the common trailing text that starts a line in both a and b,
// whose own starts are line starts.
std::size_t CommonTrailingLines(std::string_view a, std::string_view b) {
    std::size_t limit = std::min(a.size(), b.size());
    std::size_t same = static_cast<std::size_t>(
        std::mismatch(a.rbegin(), a.rbegin() + static_cast<std::ptrdiff_t>(limit), b.rbegin())
            .first -
        a.rbegin());
    if (StartsLine(a, same) && StartsLine(b, same))
        return same;
    std::size_t lineFeed = a.substr(a.size() - same).find('\n');
    return lineFeed == std::string_view::npos ? 0 : same - lineFeed - 1;
}

ChangedLines FindChangedLines(std::string_view old, std::string_view value) {
    std::size_t first = CommonLeadingLines(old, value);
    std::size_t tail = CommonTrailingLines(old.substr(first), value.substr(first));
    return {first, old.size() - tail, value.size() - tail};
}

// The document position where the line starting at byte offset of text
// begins; text is the control's text, one CR LF between paragraphs.
int PositionOfLine(const QTextDocument* document, std::string_view text, std::size_t offset) {
    if (offset == text.size() && (offset == 0 || text[offset - 1] != '\n'))
        return document->characterCount() - 1;
    auto lines = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
    return document->findBlockByNumber(static_cast<int>(lines)).position();
}

// Brings an edit that still holds its last load, shown exactly as the field
// was, up to value by replacing only the lines that differ. When the new
// lines do not read back as they were given, the edit is loaded in full.
bool LoadChangedLines(QPlainTextEdit* edit, const CString& value) {
    LoadedTextRecord* record = UnchangedRecord(edit);
    if (!record || !record->m_controlIsField || edit->maximumBlockCount() > 0)
        return false;
    std::string_view old = record->m_field;
    std::string_view text = value.Text();
    ChangedLines changed = FindChangedLines(old, text);
    int start = PositionOfLine(edit->document(), old, changed.first);
    int end = PositionOfLine(edit->document(), old, changed.oldEnd);
    std::string_view lines = text.substr(changed.first, changed.newEnd - changed.first);
    if (ReplaceRange(edit, start, end, lines) != lines)
        return false;
    FinishPartialLoad(edit, *record, value);
    return true;
}

} // namespace

const std::string* LoadedControlText(const QPlainTextEdit* edit) {
    const LoadedTextRecord* record = UnchangedRecord(edit);
    return record ? &record->ControlText() : nullptr;
}

// A load that memory ran out in may have left the document part changed: its record no longer
// stands for it, and the next load replaces the whole text.
void LoadMultiLineText(QPlainTextEdit* edit, const CString& value) {
    LoadedTextRecord* record = FindRecord(edit);
    try {
        if (LoadAddedLines(edit, value) || LoadChangedLines(edit, value))
            return;
        SetControlText(edit, value);
        RecordFullLoad(edit, value);
    } catch (const std::bad_alloc&) {
        if (record)
            record->m_edited = true;
        throw;
    }
}
