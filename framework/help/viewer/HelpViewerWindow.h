// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpDocument.h"
#include "HelpPages.h"

#include <QWidget>

class QTextBrowser;
class QUrl;

// The help viewer's window: one help file, one page at a time. Closing the
// window only hides it; the viewer goes on waiting for the next request.
class HelpViewerWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewerWindow(HelpDocument document, QWidget* parent = nullptr);

    // Shows the topic of the help context and brings the window to the front.
    void ShowContext(unsigned long context);

    // Shows the list of the file's topics.
    void ShowContents();

    // The page shown, for the state reply: the topic's id, "contents" or "message".
    QString PageName() const;
    const HelpPage& CurrentPage() const { return m_page; }
    QTextBrowser* Browser() const { return m_browser; }

private:
    void ShowPage(HelpPage page);
    void FollowLink(const QUrl& url);
    void BringToFront();

    HelpDocument m_document;
    HelpPage m_page;
    QTextBrowser* m_browser;
};
