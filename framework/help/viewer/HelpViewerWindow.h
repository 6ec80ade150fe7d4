// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpDocument.h"
#include "HelpHistory.h"
#include "HelpPages.h"

#include <QRect>
#include <QWidget>

#include <optional>

class HelpFindBar;
class HelpPageBrowser;
class QPushButton;
class QTextBrowser;
class QUrl;

// The help viewer's window: one help file, one page at a time, with Back and Forward through the
// pages shown, a find bar and a text size of its own. Closing the window only hides it; the
// viewer goes on waiting for the next request.
class HelpViewerWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewerWindow(HelpDocument document, QWidget* parent = nullptr);

    // Shows the topic of the help context and brings the window to the front; a request for the
    // page shown leaves the page as it is, scrolled and selected as it was. A window that opens
    // (was hidden) fits the work area of its screen, and is placed clear of the owner's frame
    // and never over the region to keep clear when they are given and the platform lets a
    // window place itself (see HelpWindowFrame).
    void ShowContext(unsigned long context, const QRect& owner = QRect(),
                     const QRect& keepClear = QRect());

    // Shows the list of the file's topics.
    void ShowContents();
    // Shows the list of the topics that hold the text.
    void SearchAllTopics(const QString& text);
    // Shows the page shown before the present one (Back, Alt+Left, Backspace), or the one
    // left by going back (Forward, Alt+Right); nothing when there is none.
    void ShowPreviousPage();
    void ShowNextPage();

    // The page shown, for the state reply: the topic's id, "contents", "search" or "message".
    QString PageName() const;
    const HelpPage& CurrentPage() const { return m_page; }
    QTextBrowser* Browser() const;
    HelpPageBrowser* Page() const { return m_browser; }
    HelpFindBar* FindBar() const { return m_findBar; }

protected:
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void AddShortcuts();
    void ShowPage(HelpPage page);
    void Display();
    void FollowLink(const QUrl& url);
    void BringToFront();
    void Place(const QRect& owner, const QRect& keepClear);
    QSize MinimumReadableSize() const;
    void EscapePressed();
    void FindAgain(void (HelpFindBar::*step)());

    HelpDocument m_document;
    HelpPage m_page;
    std::optional<unsigned long> m_pageContext; // the context whose page is shown, if any
    HelpHistory m_history;
    HelpPageBrowser* m_browser;
    HelpFindBar* m_findBar;
    QPushButton* m_back;
    QPushButton* m_forward;
    // The owner and the region to keep clear of a window placed before the window manager
    // framed it, placed again once the frame is known.
    std::optional<std::pair<QRect, QRect>> m_placeWhenFramed;
};
