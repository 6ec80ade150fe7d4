// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerWindow.h"

#include "HelpFindBar.h"
#include "HelpPageAccessible.h"
#include "HelpPageBrowser.h"
#include "HelpPlacement.h"
#include "HelpProtocol.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kInitialWidth = 560;
constexpr int kInitialHeight = 620;
// The narrowest a placed window gets: this many characters of body text on a line, and this
// many lines of it.
constexpr int kMinimumLineCharacters = 40;
constexpr int kMinimumLines = 8;

// The window's name: the file's <title>, or the file's own name.
QString WindowName(const HelpDocument& document) {
    if (!document.title.isEmpty())
        return document.title;
    return QFileInfo(document.path).fileName() + QStringLiteral(" - Help");
}

QPushButton* HistoryButton(const QString& text, const QString& name, QStyle::StandardPixmap icon,
                           const QString& keys, QWidget* parent) {
    auto* button = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    button->setAccessibleName(name);
    button->setAccessibleDescription(keys);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(name, keys));
    button->setEnabled(false);
    return button;
}

// What the window manager adds around the window: nothing until it has framed it once.
QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

QSize Grown(const QSize& size, const QMargins& margins) {
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

} // namespace

HelpViewerWindow::HelpViewerWindow(HelpDocument document, QWidget* parent)
    : QWidget(parent), m_document(std::move(document)), m_page{HelpPageKind::Message, {}, {}, {}},
      m_browser(new HelpPageBrowser(m_document.path, this)),
      m_findBar(new HelpFindBar(m_browser, this)),
      m_back(HistoryButton(tr("&Back"), tr("Back"), QStyle::SP_ArrowBack, tr("Alt+Left"), this)),
      m_forward(HistoryButton(tr("&Forward"), tr("Forward"), QStyle::SP_ArrowForward,
                              tr("Alt+Right"), this)) {
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* close = new QPushButton(tr("C&lose"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    layout->addWidget(m_findBar);
    MakeReadableDocument(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewerWindow::FollowLink);
    connect(m_back, &QPushButton::clicked, this, &HelpViewerWindow::ShowPreviousPage);
    connect(m_forward, &QPushButton::clicked, this, &HelpViewerWindow::ShowNextPage);
    connect(contents, &QPushButton::clicked, this, &HelpViewerWindow::ShowContents);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_findBar, &HelpFindBar::searchAllTopics, this, &HelpViewerWindow::SearchAllTopics);
    AddShortcuts();
    setObjectName(QStringLiteral("HelpViewer"));
    resize(kInitialWidth, kInitialHeight);
}

void HelpViewerWindow::AddShortcuts() {
    const auto add = [this](const QList<QKeySequence>& keys, auto action) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    const auto keys = [](QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key); };
    add({Qt::Key_Escape}, [this] { EscapePressed(); });
    add({Qt::ALT | Qt::Key_Left, Qt::Key_Backspace}, [this] { ShowPreviousPage(); });
    add({Qt::ALT | Qt::Key_Right}, [this] { ShowNextPage(); });
    add(keys(QKeySequence::Find), [this] { m_findBar->Open(); });
    add(keys(QKeySequence::FindNext), [this] { FindAgain(&HelpFindBar::FindNext); });
    add(keys(QKeySequence::FindPrevious), [this] { FindAgain(&HelpFindBar::FindPrevious); });
    // Ctrl+= as well, for keyboards where plus needs Shift.
    add(keys(QKeySequence::ZoomIn) << (Qt::CTRL | Qt::Key_Equal), [this] { m_browser->ZoomIn(); });
    add(keys(QKeySequence::ZoomOut), [this] { m_browser->ZoomOut(); });
    add({Qt::CTRL | Qt::Key_0}, [this] { m_browser->ResetZoom(); });
}

// F3 and Shift+F3 find again while the find bar is open, and open it when it is not.
void HelpViewerWindow::FindAgain(void (HelpFindBar::*step)()) {
    if (m_findBar->isVisible())
        (m_findBar->*step)();
    else
        m_findBar->Open();
}

void HelpViewerWindow::ShowContext(unsigned long context, const QRect& owner,
                                   const QRect& keepClear) {
    if (m_pageContext != context) {
        ShowPage(PageForContext(m_document, context));
        m_pageContext = context;
    }
    if (!isVisible())
        Place(owner, keepClear);
    BringToFront();
}

// Under Wayland the compositor places every window itself; the size is still the window's.
void HelpViewerWindow::Place(const QRect& owner, const QRect& keepClear) {
    const QScreen* screen = owner.isNull() ? nullptr : QGuiApplication::screenAt(owner.center());
    if (screen == nullptr)
        screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect work = screen->availableGeometry();
    const QMargins margins = FrameMargins(*this);
    const QSize preferred = Grown(QSize(kInitialWidth, kInitialHeight), margins);
    if (owner.isNull() || QGuiApplication::platformName() == u"wayland") {
        resize(Grown(preferred.boundedTo(work.size()), -margins));
        return;
    }
    const QRect frame =
        HelpWindowFrame(owner, keepClear, preferred, Grown(MinimumReadableSize(), margins), work);
    move(frame.topLeft());
    resize(Grown(frame.size(), -margins));
    if (margins.isNull())
        m_placeWhenFramed.emplace(owner, keepClear);
}

// The first move once the window manager has framed the window tells how thick the frame is.
void HelpViewerWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_placeWhenFramed && !FrameMargins(*this).isNull()) {
        const auto [owner, keepClear] = *m_placeWhenFramed;
        m_placeWhenFramed.reset();
        Place(owner, keepClear);
    }
}

void HelpViewerWindow::hideEvent(QHideEvent* event) {
    m_placeWhenFramed.reset();
    QWidget::hideEvent(event);
}

// The page's lines of body text at the least: kMinimumLineCharacters characters of ordinary
// text wide, kMinimumLines lines high, with the window's buttons and margins around them.
QSize HelpViewerWindow::MinimumReadableSize() const {
    const QFontMetrics metrics(m_browser->font());
    const QString sample = QStringLiteral("The quick brown fox jumps over the lazy dog. ");
    const int lineWidth =
        metrics.horizontalAdvance(sample) * kMinimumLineCharacters / int(sample.size());
    const int page =
        2 * int(std::ceil(m_browser->document()->documentMargin())) + 2 * m_browser->frameWidth();
    const QMargins outer = layout()->contentsMargins();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_browser);
    const QSize least = layout()->minimumSize();
    return QSize(
        std::max(lineWidth + page + scrollBar + outer.left() + outer.right(), least.width()),
        least.height() - m_browser->minimumSizeHint().height() + page +
            metrics.lineSpacing() * kMinimumLines);
}

void HelpViewerWindow::ShowContents() {
    ShowPage(ContentsPage(m_document, QString()));
}

void HelpViewerWindow::SearchAllTopics(const QString& text) {
    if (!text.isEmpty())
        ShowPage(SearchPage(m_document, text));
}

QString HelpViewerWindow::PageName() const {
    switch (m_page.kind) {
    case HelpPageKind::Topic:
        return m_page.id;
    case HelpPageKind::Contents:
        return QString::fromLatin1(kHelpContentsPage);
    case HelpPageKind::Search:
        return QString::fromLatin1(kHelpSearchPage);
    case HelpPageKind::Message:
        break;
    }
    return QString::fromLatin1(kHelpMessagePage);
}

QTextBrowser* HelpViewerWindow::Browser() const {
    return m_browser;
}

void HelpViewerWindow::ShowPreviousPage() {
    if (!m_history.CanGoBack())
        return;
    m_page = m_history.Back(std::move(m_page));
    m_pageContext.reset();
    Display();
}

void HelpViewerWindow::ShowNextPage() {
    if (!m_history.CanGoForward())
        return;
    m_page = m_history.Forward(std::move(m_page));
    m_pageContext.reset();
    Display();
}

// The page shown before is kept for going back, unless nothing was shown yet.
void HelpViewerWindow::ShowPage(HelpPage page) {
    if (!m_page.html.isEmpty())
        m_history.Leave(std::move(m_page));
    m_page = std::move(page);
    m_pageContext.reset();
    Display();
}

void HelpViewerWindow::Display() {
    m_browser->ShowHtml(m_page.html);
    m_browser->setAccessibleName(m_page.title);
    setWindowTitle(WindowName(m_document) + QStringLiteral(" - ") + m_page.title);
    m_back->setEnabled(m_history.CanGoBack());
    m_forward->setEnabled(m_history.CanGoForward());
    if (m_findBar->isVisible())
        m_findBar->Refresh();
}

void HelpViewerWindow::FollowLink(const QUrl& url) {
    switch (KindOfLink(url)) {
    case HelpLinkKind::Topic:
        ShowPage(PageForId(m_document, url.fragment()));
        return;
    case HelpLinkKind::Desktop:
        QDesktopServices::openUrl(url);
        return;
    case HelpLinkKind::Refused:
        ShowPage(RefusedLinkPage(url));
        return;
    }
}

// Escape closes the find bar when it is open, and the window when it is not.
void HelpViewerWindow::EscapePressed() {
    if (m_findBar->isVisible())
        m_findBar->Close();
    else
        close();
}

void HelpViewerWindow::BringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}
