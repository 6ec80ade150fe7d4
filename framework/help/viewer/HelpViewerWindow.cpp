// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"

#include "HelpPageAccessible.h"
#include "HelpProtocol.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kInitialWidth = 560;
constexpr int kInitialHeight = 620;

// The window's name: the file's <title>, or the file's own name.
QString WindowName(const HelpDocument& document) {
    if (!document.title.isEmpty())
        return document.title;
    return QFileInfo(document.path).fileName() + QStringLiteral(" - Help");
}

} // namespace

HelpViewerWindow::HelpViewerWindow(HelpDocument document, QWidget* parent)
    : QWidget(parent), m_document(std::move(document)), m_page{HelpPageKind::Message, {}, {}, {}},
      m_browser(new QTextBrowser(this)) {
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* close = new QPushButton(tr("C&lose"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    m_browser->setOpenLinks(false);
    MakeReadableDocument(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewerWindow::FollowLink);
    connect(contents, &QPushButton::clicked, this, &HelpViewerWindow::ShowContents);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    setObjectName(QStringLiteral("HelpViewer"));
    resize(kInitialWidth, kInitialHeight);
}

void HelpViewerWindow::ShowContext(unsigned long context) {
    ShowPage(PageForContext(m_document, context));
    BringToFront();
}

void HelpViewerWindow::ShowContents() {
    ShowPage(ContentsPage(m_document, QString()));
}

QString HelpViewerWindow::PageName() const {
    switch (m_page.kind) {
    case HelpPageKind::Topic:
        return m_page.id;
    case HelpPageKind::Contents:
        return QString::fromLatin1(kHelpContentsPage);
    case HelpPageKind::Message:
        break;
    }
    return QString::fromLatin1(kHelpMessagePage);
}

void HelpViewerWindow::ShowPage(HelpPage page) {
    m_page = std::move(page);
    m_browser->setHtml(m_page.html);
    m_browser->setAccessibleName(m_page.title);
    setWindowTitle(WindowName(m_document) + QStringLiteral(" - ") + m_page.title);
}

// A link to "#id" opens that topic of the same file; any other link goes to
// the desktop's own handler.
void HelpViewerWindow::FollowLink(const QUrl& url) {
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
        ShowPage(PageForId(m_document, url.fragment()));
        return;
    }
    QDesktopServices::openUrl(url);
}

void HelpViewerWindow::BringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}
