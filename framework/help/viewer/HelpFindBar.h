// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QTextBrowser;

// The bar that finds text in the page shown: every match is highlighted, and Enter (or Next)
// selects the next one after the page's selection or caret, Shift+Enter (or Previous) the one
// before, going round at either end. What it finds, or that it finds nothing, it says in the
// bar and in the accessible description of its text field, which has the focus, so a screen
// reader speaks it. All Topics hands the text on, to list the topics that hold it.
class HelpFindBar : public QWidget {
    Q_OBJECT

public:
    // At most this many matches are highlighted and counted.
    static constexpr int kMaxMatches = 1000;

    HelpFindBar(QTextBrowser* page, QWidget* parent);

    // Shows the bar with the focus in its field and the field's text selected, its matches
    // highlighted.
    void Open();
    // Hides the bar, takes its highlighting away and gives the focus to the page, whose
    // selection stays on the match last found.
    void Close();

    void FindNext();
    void FindPrevious();
    // Highlights the matches again, for a page that has just been shown.
    void Refresh();

    QString Text() const;
    QString Status() const; // what the bar said last

signals:
    void searchAllTopics(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Direction { Here, Next, Previous };

    void FindAsTyped();
    void Find(Direction direction);
    void Select(std::size_t index);
    void Highlight();
    void Tell(const QString& status);

    QTextBrowser* m_page;
    QLineEdit* m_field;
    QLabel* m_status;
    std::vector<QTextCursor> m_matches;       // in page order
    QList<QTextEdit::ExtraSelection> m_marks; // one for each match
};
