// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPageAccessible.h"

#include <QFontMetrics>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// The marks that the toolkit keeps in a document's text, one character each,
// so that offsets stay those of the document's own positions.
constexpr char16_t kBeginningOfFrame = 0xFDD0;
constexpr char16_t kEndOfFrame = 0xFDD1;

QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("QTextBrowser"))
        return new CHelpPageAccessible(static_cast<QTextBrowser*>(object));
    return nullptr;
}

} // namespace

CHelpPageAccessible::CHelpPageAccessible(QTextBrowser* browser)
    : QAccessibleWidget(browser, QAccessible::Document) {}

QTextBrowser* CHelpPageAccessible::Browser() const {
    return static_cast<QTextBrowser*>(widget());
}

QTextDocument* CHelpPageAccessible::Document() const {
    return Browser()->document();
}

// toPlainText gives frame marks and separators as line breaks already; what
// remains is an object's place (an image), given as a blank.
QString CHelpPageAccessible::Plain() const {
    QString plain = Document()->toPlainText();
    for (QChar& c : plain) {
        if (c == QChar::ObjectReplacementCharacter || c == QChar(kBeginningOfFrame) ||
            c == QChar(kEndOfFrame))
            c = QLatin1Char(c == QChar::ObjectReplacementCharacter ? ' ' : '\n');
    }
    return plain;
}

QString CHelpPageAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return Document()->metaInformation(QTextDocument::DocumentTitle);
    return QAccessibleWidget::text(t);
}

QAccessible::State CHelpPageAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

void* CHelpPageAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void CHelpPageAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = Browser()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int CHelpPageAccessible::selectionCount() const {
    return Browser()->textCursor().hasSelection() ? 1 : 0;
}

void CHelpPageAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void CHelpPageAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = Browser()->textCursor();
    cursor.clearSelection();
    Browser()->setTextCursor(cursor);
}

void CHelpPageAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const int count = characterCount();
    QTextCursor cursor(Document());
    cursor.setPosition(qBound(0, startOffset, count));
    cursor.setPosition(qBound(0, endOffset, count), QTextCursor::KeepAnchor);
    Browser()->setTextCursor(cursor);
}

int CHelpPageAccessible::cursorPosition() const {
    return Browser()->textCursor().position();
}

void CHelpPageAccessible::setCursorPosition(int position) {
    QTextCursor cursor(Document());
    cursor.setPosition(qBound(0, position, characterCount()));
    Browser()->setTextCursor(cursor);
}

QString CHelpPageAccessible::text(int startOffset, int endOffset) const {
    if (startOffset > endOffset)
        return QString();
    return Plain().mid(startOffset, endOffset - startOffset);
}

int CHelpPageAccessible::characterCount() const {
    return int(Plain().size());
}

// A line is as the page is laid out; its line break, at the end of a
// paragraph, belongs to it. A paragraph is a block of the document.
bool CHelpPageAccessible::Span(int offset, QAccessible::TextBoundaryType boundaryType, int* start,
                               int* end) const {
    const int count = characterCount();
    if (offset < 0 || offset >= count)
        return false;
    const QTextBlock block = Document()->findBlock(offset);
    if (!block.isValid())
        return false;
    *start = block.position();
    *end = block.position() + block.length();
    const QTextLayout* layout = block.layout();
    if (boundaryType == QAccessible::LineBoundary && layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(offset - block.position());
        if (line.isValid()) {
            *start = block.position() + line.textStart();
            if (line.lineNumber() + 1 < layout->lineCount())
                *end = *start + line.textLength();
        }
    }
    *end = qMin(*end, count);
    return true;
}

QString CHelpPageAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::LineBoundary && boundaryType != QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    // The end of the text belongs to the last line, where the caret rests.
    const int count = characterCount();
    if (!Span(offset == count ? offset - 1 : offset, boundaryType, startOffset, endOffset)) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return text(*startOffset, *endOffset);
}

QString CHelpPageAccessible::textBeforeOffset(int offset,
                                              QAccessible::TextBoundaryType boundaryType,
                                              int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::LineBoundary && boundaryType != QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset,
                                                          endOffset);
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (start <= 0 || !Span(start - 1, boundaryType, startOffset, endOffset)) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return text(*startOffset, *endOffset);
}

QString CHelpPageAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::LineBoundary && boundaryType != QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset,
                                                         endOffset);
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (end < 0 || !Span(end, boundaryType, startOffset, endOffset)) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return text(*startOffset, *endOffset);
}

QRect CHelpPageAccessible::characterRect(int offset) const {
    if (offset < 0 || offset >= characterCount())
        return QRect();
    QTextCursor cursor(Document());
    cursor.setPosition(offset);
    QRect rect = Browser()->cursorRect(cursor);
    const QFontMetrics metrics(cursor.charFormat().font());
    rect.setWidth(qMax(1, metrics.horizontalAdvance(text(offset, offset + 1))));
    rect.moveTo(Browser()->viewport()->mapToGlobal(rect.topLeft()));
    return rect;
}

int CHelpPageAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint inView = Browser()->viewport()->mapFromGlobal(point);
    if (!Browser()->viewport()->rect().contains(inView))
        return -1;
    return Browser()->cursorForPosition(inView).position();
}

void CHelpPageAccessible::scrollToSubstring(int startIndex, int endIndex) {
    setSelection(0, startIndex, endIndex);
    Browser()->ensureCursorVisible();
}

// No attributes are told; a run is the stretch of one character format, and
// never shorter than the character asked about.
QString CHelpPageAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    *startOffset = offset;
    *endOffset = qMin(offset + 1, count);
    const QTextBlock block = Document()->findBlock(offset);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(offset)) {
            *startOffset = fragment.position();
            *endOffset = fragment.position() + fragment.length();
            break;
        }
    }
    return QString();
}

void MakeReadableDocument(QTextBrowser* browser) {
    static const bool kInstalled = [] {
        QAccessible::installFactory(CreateInterface);
        return true;
    }();
    (void)kInstalled;
    browser->setTextInteractionFlags(browser->textInteractionFlags() |
                                     Qt::TextSelectableByKeyboard);
    browser->setFocus();
}
