// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How much lighter than the selection the other matches are drawn, in percent.
constexpr int kMatchLightness = 160;

QString NotFoundText() {
    return HelpFindBar::tr("Not found on this page; All Topics searches every topic");
}

QString CountText(std::size_t matches) {
    if (matches == 1)
        return HelpFindBar::tr("1 match on this page");
    return HelpFindBar::tr(matches >= std::size_t(HelpFindBar::kMaxMatches)
                               ? "At least %1 matches on this page"
                               : "%1 matches on this page")
        .arg(matches);
}

// A small button of the bar: its name is what a screen reader says, its tip names its keys.
QToolButton* AddButton(QHBoxLayout* row, const QString& name, const QString& keys,
                       QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAccessibleName(name);
    button->setAccessibleDescription(keys);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(name, keys));
    button->setFocusPolicy(Qt::TabFocus);
    row->addWidget(button);
    return button;
}

} // namespace

// The bar is two rows, the field with its buttons and below them what the bar says, so that it
// fits a window as narrow as the viewer gets.
HelpFindBar::HelpFindBar(QTextBrowser* page, QWidget* parent)
    : QWidget(parent), m_page(page), m_field(new QLineEdit(this)), m_status(new QLabel(this)) {
    auto* label = new QLabel(tr("Find:"), this);
    label->setBuddy(m_field);
    m_field->setAccessibleName(tr("Find"));
    m_field->setClearButtonEnabled(true);
    m_status->setWordWrap(true);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_field, 1);
    QToolButton* previous = AddButton(row, tr("Previous match"), tr("Shift+Enter, Shift+F3"), this);
    previous->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    QToolButton* next = AddButton(row, tr("Next match"), tr("Enter, F3"), this);
    next->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    QToolButton* all = AddButton(row, tr("All Topics"), tr("Alt+T"), this);
    all->setText(tr("All &Topics"));
    QToolButton* close = AddButton(row, tr("Close the find bar"), tr("Escape"), this);
    close->setText(QStringLiteral("\u00d7"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addLayout(row);
    rows->addWidget(m_status);
    connect(m_field, &QLineEdit::textChanged, this, &HelpFindBar::FindAsTyped);
    connect(previous, &QToolButton::clicked, this, &HelpFindBar::FindPrevious);
    connect(next, &QToolButton::clicked, this, &HelpFindBar::FindNext);
    connect(all, &QToolButton::clicked, this, [this] { emit searchAllTopics(Text()); });
    connect(close, &QToolButton::clicked, this, &HelpFindBar::Close);
    hide();
}

void HelpFindBar::Open() {
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    Refresh();
}

void HelpFindBar::Close() {
    hide();
    m_matches.clear();
    m_marks.clear();
    m_page->setExtraSelections({});
    m_page->setFocus(Qt::OtherFocusReason);
}

QString HelpFindBar::Text() const {
    return m_field->text();
}

QString HelpFindBar::Status() const {
    return m_status->text();
}

void HelpFindBar::FindNext() {
    Find(Direction::Next);
}

void HelpFindBar::FindPrevious() {
    Find(Direction::Previous);
}

// The line edit leaves Enter to its parent; Shift turns it round.
void HelpFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    Find(event->modifiers().testFlag(Qt::ShiftModifier) ? Direction::Previous : Direction::Next);
}

void HelpFindBar::Refresh() {
    Highlight();
    if (!isVisible() || Text().isEmpty())
        m_status->clear();
    else if (m_matches.empty())
        Tell(NotFoundText());
    else
        Tell(CountText(m_matches.size()));
}

// Typing finds the first match from where the page's selection starts, so the match found
// grows with the text as long as it can.
void HelpFindBar::FindAsTyped() {
    Find(Direction::Here);
}

// The match at or after the caret, after or before the selected one (going round at either
// end), as the direction says.
void HelpFindBar::Find(Direction direction) {
    Highlight();
    if (Text().isEmpty()) {
        m_status->clear();
        return;
    }
    if (m_matches.empty()) {
        Tell(NotFoundText());
        return;
    }
    const QTextCursor caret = m_page->textCursor();
    const int from = caret.selectionStart();
    const auto starts = [](const QTextCursor& match) { return match.selectionStart(); };
    std::size_t index = 0;
    if (direction == Direction::Previous) {
        const auto before = std::find_if(m_matches.rbegin(), m_matches.rend(),
                                         [&](const QTextCursor& m) { return starts(m) < from; });
        index = before == m_matches.rend() ? m_matches.size() - 1
                                           : std::size_t(m_matches.rend() - before) - 1;
    } else {
        const int first = direction == Direction::Next && caret.hasSelection() ? from + 1 : from;
        const auto after = std::find_if(m_matches.begin(), m_matches.end(),
                                        [&](const QTextCursor& m) { return starts(m) >= first; });
        index = after == m_matches.end() ? 0 : std::size_t(after - m_matches.begin());
    }
    Select(index);
}

void HelpFindBar::Select(std::size_t index) {
    m_marks[qsizetype(index)].format.setBackground(palette().color(QPalette::Highlight));
    m_marks[qsizetype(index)].format.setForeground(palette().color(QPalette::HighlightedText));
    m_page->setExtraSelections(m_marks);
    m_page->setTextCursor(m_matches[index]);
    m_page->ensureCursorVisible();
    Tell(tr("Match %1 of %2")
             .arg(index + 1)
             .arg(m_matches.size() >= std::size_t(kMaxMatches)
                      ? tr("at least %1").arg(kMaxMatches)
                      : QString::number(m_matches.size())));
}

void HelpFindBar::Highlight() {
    m_matches.clear();
    m_marks.clear();
    QTextDocument* document = m_page->document();
    QTextCursor at = Text().isEmpty() || !isVisible() ? QTextCursor() : QTextCursor(document);
    while (!at.isNull() && m_matches.size() < std::size_t(kMaxMatches)) {
        at = document->find(Text(), at);
        if (at.isNull())
            break;
        m_matches.push_back(at);
        QTextEdit::ExtraSelection mark{at, {}};
        mark.format.setBackground(palette().color(QPalette::Highlight).lighter(kMatchLightness));
        m_marks.append(mark);
    }
    m_page->setExtraSelections(m_marks);
}

// The description is emptied first, so that the same words said twice are told twice.
void HelpFindBar::Tell(const QString& status) {
    m_status->setText(status);
    m_field->setAccessibleDescription(QString());
    m_field->setAccessibleDescription(status);
}
