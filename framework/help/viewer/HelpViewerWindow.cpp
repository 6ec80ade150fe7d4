// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"

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
    : QWidget(parent), document_(std::move(document)), page_{HelpPageKind::Message, {}, {}, {}},
      browser_(new QTextBrowser(this)) {
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* close = new QPushButton(tr("C&lose"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewerWindow::FollowLink);
    connect(contents, &QPushButton::clicked, this, &HelpViewerWindow::ShowContents);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    setObjectName(QStringLiteral("HelpViewer"));
    resize(kInitialWidth, kInitialHeight);
}

void HelpViewerWindow::ShowContext(unsigned long context) {
    ShowPage(PageForContext(document_, context));
    BringToFront();
}

void HelpViewerWindow::ShowContents() {
    ShowPage(ContentsPage(document_, QString()));
}

QString HelpViewerWindow::PageName() const {
    switch (page_.kind) {
    case HelpPageKind::Topic:
        return page_.id;
    case HelpPageKind::Contents:
        return QString::fromLatin1(kHelpContentsPage);
    case HelpPageKind::Message:
        break;
    }
    return QString::fromLatin1(kHelpMessagePage);
}

void HelpViewerWindow::ShowPage(HelpPage page) {
    page_ = std::move(page);
    browser_->setHtml(page_.html);
    setWindowTitle(WindowName(document_) + QStringLiteral(" - ") + page_.title);
}

// A link to "#id" opens that topic of the same file; any other link goes to
// the desktop's own handler.
void HelpViewerWindow::FollowLink(const QUrl& url) {
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
        ShowPage(PageForId(document_, url.fragment()));
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
