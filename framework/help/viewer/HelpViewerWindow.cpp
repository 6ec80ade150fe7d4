// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"

#include "HelpPageAccessible.h"
#include "HelpProtocol.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kInitialWidth = 560;
constexpr int kInitialHeight = 620;
// Pages kept for going back; the oldest are forgotten first.
constexpr std::size_t kMaxPreviousPages = 32;

// The window's name: the file's <title>, or the file's own name.
QString WindowName(const HelpDocument& document) {
    if (!document.title.isEmpty())
        return document.title;
    return QFileInfo(document.path).fileName() + QStringLiteral(" - Help");
}

constexpr int kGapToOwner = 8;

} // namespace

std::optional<QPoint> PositionBeside(const QRect& owner, const QSize& frame, const QRect& screen) {
    if (frame.width() > screen.width() || frame.height() > screen.height())
        return std::nullopt;
    const int top = std::clamp(owner.top(), screen.top(), screen.bottom() + 1 - frame.height());
    const int right = owner.right() + 1 + kGapToOwner;
    if (right + frame.width() <= screen.right() + 1)
        return QPoint(right, top);
    const int left = owner.left() - kGapToOwner - frame.width();
    if (left >= screen.left())
        return QPoint(left, top);
    return std::nullopt;
}

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
    for (const QKeySequence& keys :
         {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Backspace)}) {
        auto* back = new QShortcut(keys, this);
        connect(back, &QShortcut::activated, this, &HelpViewerWindow::ShowPreviousPage);
    }
    setObjectName(QStringLiteral("HelpViewer"));
    resize(kInitialWidth, kInitialHeight);
}

void HelpViewerWindow::ShowContext(unsigned long context, const QRect& owner) {
    ShowPage(PageForContext(m_document, context));
    // Under Wayland the compositor places every window itself.
    if (!owner.isNull() && !isVisible() && QGuiApplication::platformName() != u"wayland")
        PlaceBeside(owner);
    BringToFront();
}

void HelpViewerWindow::PlaceBeside(const QRect& owner) {
    const QScreen* screen = QGuiApplication::screenAt(owner.center());
    if (screen == nullptr)
        return;
    const std::optional<QPoint> position =
        PositionBeside(owner, frameGeometry().size(), screen->availableGeometry());
    if (position)
        move(*position);
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

void HelpViewerWindow::ShowPreviousPage() {
    if (m_previousPages.empty())
        return;
    HelpPage previous = std::move(m_previousPages.back());
    m_previousPages.pop_back();
    m_page = std::move(previous);
    Display();
}

// The page shown before is kept for going back, unless nothing was shown yet.
void HelpViewerWindow::ShowPage(HelpPage page) {
    if (!m_page.html.isEmpty()) {
        if (m_previousPages.size() == kMaxPreviousPages)
            m_previousPages.erase(m_previousPages.begin());
        m_previousPages.push_back(std::move(m_page));
    }
    m_page = std::move(page);
    Display();
}

void HelpViewerWindow::Display() {
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
