// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleLineEdit.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

namespace {

// A label's text names the field when it is the field's name, a closing
// colon aside ("Archive:" names Archive; "=" does not name Result).
bool LabelNames(const QAccessibleInterface* label, const QString& name) {
    QString text = label->text(QAccessible::Name).trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed() == name;
}

} // namespace

CAccessibleLineEdit::CAccessibleLineEdit(QLineEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit* CAccessibleLineEdit::Edit() const {
    return static_cast<QLineEdit*>(widget());
}

QString CAccessibleLineEdit::Shown() const {
    switch (Edit()->echoMode()) {
    case QLineEdit::Normal:
        return Edit()->text();
    case QLineEdit::NoEcho:
        return QString();
    default:
        return QString(Edit()->text().size(), QLatin1Char('*'));
    }
}

QString CAccessibleLineEdit::text(QAccessible::Text t) const {
    QString str = t == QAccessible::Value ? Shown() : QString();
    if (str.isEmpty())
        str = QAccessibleWidget::text(t);
    if (str.isEmpty() && t == QAccessible::Description)
        str = Edit()->placeholderText();
    return str;
}

void CAccessibleLineEdit::setText(QAccessible::Text t, const QString& text) {
    if (t != QAccessible::Value) {
        QAccessibleWidget::setText(t, text);
        return;
    }
    QString value = text;
    int pos = 0;
    if (Edit()->validator() && Edit()->validator()->validate(value, pos) != QValidator::Acceptable)
        return;
    Edit()->setText(value);
}

QAccessible::State CAccessibleLineEdit::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.readOnly = Edit()->isReadOnly();
    state.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
    state.selectableText = true;
    return state;
}

QList<std::pair<QAccessibleInterface*, QAccessible::Relation>>
CAccessibleLineEdit::relations(QAccessible::Relation match) const {
    auto all = QAccessibleWidget::relations(match);
    const QString name = widget()->accessibleName();
    if (name.isEmpty())
        return all;
    all.removeIf([&name](const std::pair<QAccessibleInterface*, QAccessible::Relation>& rel) {
        return (rel.second & QAccessible::Label) && !LabelNames(rel.first, name);
    });
    return all;
}

void* CAccessibleLineEdit::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void CAccessibleLineEdit::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !Edit()->hasSelectedText())
        return;
    *startOffset = Edit()->selectionStart();
    *endOffset = Edit()->selectionEnd();
}

int CAccessibleLineEdit::selectionCount() const {
    return Edit()->hasSelectedText() ? 1 : 0;
}

void CAccessibleLineEdit::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void CAccessibleLineEdit::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        Edit()->deselect();
}

void CAccessibleLineEdit::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        Edit()->setSelection(startOffset, endOffset - startOffset);
}

int CAccessibleLineEdit::cursorPosition() const {
    return Edit()->cursorPosition();
}

void CAccessibleLineEdit::setCursorPosition(int position) {
    Edit()->setCursorPosition(position);
}

QString CAccessibleLineEdit::text(int startOffset, int endOffset) const {
    if (startOffset > endOffset)
        return QString();
    return Shown().mid(startOffset, endOffset - startOffset);
}

// One line: its line is the whole text; words and characters as the
// interface finds them in the text.
QString CAccessibleLineEdit::textBeforeOffset(int offset,
                                              QAccessible::TextBoundaryType boundaryType,
                                              int* startOffset, int* endOffset) const {
    if (boundaryType == QAccessible::LineBoundary) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
}

QString CAccessibleLineEdit::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    if (boundaryType == QAccessible::LineBoundary) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
}

QString CAccessibleLineEdit::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const {
    if (boundaryType == QAccessible::LineBoundary) {
        *startOffset = 0;
        *endOffset = characterCount();
        return Shown();
    }
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
}

int CAccessibleLineEdit::characterCount() const {
    return int(Shown().size());
}

// The caret's rectangle gives where the shown text starts, scrolling
// included; the character's own advance gives its width.
QRect CAccessibleLineEdit::characterRect(int offset) const {
    const QString shown = Shown();
    if (offset < 0 || offset >= shown.size())
        return QRect();
    const QFontMetrics metrics(Edit()->font());
    const QRect caret = Edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int caretAt = Edit()->cursorPosition();
    const int x = caret.x() + metrics.horizontalAdvance(shown.left(offset)) -
                  metrics.horizontalAdvance(shown.left(caretAt));
    const int width = metrics.horizontalAdvance(shown.mid(offset, 1));
    if (width == 0)
        return QRect();
    QRect rect(x, caret.y(), width, metrics.height());
    rect.moveTo(Edit()->mapToGlobal(rect.topLeft()));
    return rect;
}

int CAccessibleLineEdit::offsetAtPoint(const QPoint& point) const {
    return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
}

void CAccessibleLineEdit::scrollToSubstring(int startIndex, int endIndex) {
    Edit()->setCursorPosition(endIndex);
    Edit()->setCursorPosition(startIndex);
}

// A line edit has one font and colour throughout: one run, the whole text.
QString CAccessibleLineEdit::attributes(int offset, int* startOffset, int* endOffset) const {
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    *startOffset = 0;
    *endOffset = count;
    return QString();
}

void CAccessibleLineEdit::deleteText(int startOffset, int endOffset) {
    Edit()->setText(Edit()->text().remove(startOffset, endOffset - startOffset));
}

void CAccessibleLineEdit::insertText(int offset, const QString& text) {
    Edit()->setText(Edit()->text().insert(offset, text));
}

void CAccessibleLineEdit::replaceText(int startOffset, int endOffset, const QString& text) {
    Edit()->setText(Edit()->text().replace(startOffset, endOffset - startOffset, text));
}
