// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class QTextBrowser;
class QTextDocument;

// The help page as assistive technology reads it: a read-only document named
// by its accessible name (the topic's title), whose text a screen reader
// reads by character, word, line (as laid out on the screen) and paragraph,
// following the caret that the arrow keys move. Its text is the page's plain
// text with the toolkit's frame, object and separator marks given as line
// breaks and blanks, so no private mark reaches the reader.
class CHelpPageAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CHelpPageAccessible(QTextBrowser* browser);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QTextBrowser* Browser() const;
    QTextDocument* Document() const;
    QString Plain() const;
    // The line or paragraph around offset; false when offset lies outside the text.
    bool Span(int offset, QAccessible::TextBoundaryType boundaryType, int* start, int* end) const;
};

// Makes a help page readable from the keyboard (it takes the focus when its
// window comes up, and the arrow keys move a caret through it) and puts CHelpPageAccessible in
// front of the toolkit's own interface for help pages.
void MakeReadableDocument(QTextBrowser* browser);
