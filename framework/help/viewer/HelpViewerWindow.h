// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpDocument.h"
#include "HelpPages.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>

#include <vector>

class QTextBrowser;
class QUrl;

// Where a window of the frame size opens beside the owner's frame on the screen's free area:
// to its right where that leaves the window whole on the screen, else to its left, level with
// the owner's top as far as the screen allows; nothing when neither side has room.
std::optional<QPoint> PositionBeside(const QRect& owner, const QSize& frame, const QRect& screen);

// The help viewer's window: one help file, one page at a time. Closing the
// window only hides it; the viewer goes on waiting for the next request.
class HelpViewerWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewerWindow(HelpDocument document, QWidget* parent = nullptr);

    // Shows the topic of the help context and brings the window to the front. A window that
    // opens (was hidden) is placed beside the owner's frame, when one is given and the
    // platform lets a window place itself.
    void ShowContext(unsigned long context, const QRect& owner = QRect());

    // Shows the list of the file's topics.
    void ShowContents();

    // Shows the page shown before the present one, if any (Alt+Left, Backspace).
    void ShowPreviousPage();

    // The page shown, for the state reply: the topic's id, "contents" or "message".
    QString PageName() const;
    const HelpPage& CurrentPage() const { return m_page; }
    QTextBrowser* Browser() const { return m_browser; }

private:
    void ShowPage(HelpPage page);
    void Display();
    void FollowLink(const QUrl& url);
    void BringToFront();
    void PlaceBeside(const QRect& owner);

    HelpDocument m_document;
    HelpPage m_page;
    std::vector<HelpPage> m_previousPages; // oldest first
    QTextBrowser* m_browser;
};
