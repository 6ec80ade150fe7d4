// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialog.h"

#include "ControlText.h"
#include "DataExchangeRun.h"
#include "DialogWindow.h"
#include "Resources.h"
#include "WinApp.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

// The rectangle to centre in: the owner's frame, or the work area of the screen.
QRect CentringArea(const QWidget* owner) {
    if (owner)
        return owner->frameGeometry();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Moves a frame of the size at place into the work area of the screen there:
// as far as it fits, and with its top left corner (the title bar, with the
// caption and the window's menu) on the screen when it is larger.
QPoint KeepInWorkArea(QPoint place, const QSize& size) {
    QScreen* screen = QGuiApplication::screenAt(place);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return place;
    const QRect area = screen->availableGeometry();
    place.setX(std::max(std::min(place.x(), area.right() + 1 - size.width()), area.left()));
    place.setY(std::max(std::min(place.y(), area.bottom() + 1 - size.height()), area.top()));
    return place;
}

// A template at (0, 0) without an alignment style, or one with DS_CENTER, is
// centred; any other is placed at its position from the owner's client origin.
// The frame's size is known once the window is shown, so placing is done
// before showing, with the client size standing in, and again after. QDialog's
// own placement guesses the frame (10 by 40 pixels while no window shows one)
// and knows no template position.
void PlaceWindow(QWidget* window, const DialogTemplate& tmpl, const DialogBaseUnits& base,
                 const QWidget* owner) {
    bool centre =
        (tmpl.style & DS_CENTER) || (tmpl.x == 0 && tmpl.y == 0 && !(tmpl.style & DS_ABSALIGN));
    QPoint place;
    if (centre) {
        QRect area = CentringArea(owner);
        QSize size = window->frameGeometry().size();
        place = QPoint(area.x() + (area.width() - size.width()) / 2,
                       area.y() + (area.height() - size.height()) / 2);
    } else {
        QPoint origin =
            owner && !(tmpl.style & DS_ABSALIGN) ? owner->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
        place = origin + MapDialogRect(QRect(tmpl.x, tmpl.y, 0, 0), base).topLeft();
    }
    window->move(KeepInWorkArea(place, window->frameGeometry().size()));
}

} // namespace

CDialog::CDialog(int templateId, CDialog* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    // The derived part is gone, so no handler of it may run: the window is
    // deleted without its destroy message.
    delete m_window;
}

const DialogTemplate* CDialog::GetTemplate() const {
    return FindDialogResource(m_templateId);
}

QWidget* CDialog::OwnerWindow() const {
    if (m_parent)
        return m_parent->GetSafeHwnd();
    CDialog* main = AfxGetMainWnd();
    return main && main != this ? main->GetSafeHwnd() : nullptr;
}

bool CDialog::CreateWindowFromTemplate(bool modal) {
    const DialogTemplate* tmpl = GetTemplate();
    if (!tmpl || m_window)
        return false;
    m_baseUnits = BaseUnitsOfFont(QFontMetrics(DialogFont()));
    m_ended = false;
    m_endValue = 0;
    QWidget* owner = OwnerWindow();
    if (tmpl->style & WS_SYSMENU) {
        m_systemMenu = std::make_unique<CMenu>();
        m_systemMenu->AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    }
    m_window = new DialogWindow(*this, *tmpl, owner);
    m_window->setWindowModality(modal && owner ? Qt::WindowModal : Qt::NonModal);
    PlaceWindow(m_window, *tmpl, m_baseUnits, owner);
    return true;
}

// Runs OnInitDialog, shows the window if the template asks for it, and gives
// the focus to the first tab stop when OnInitDialog asks for that.
bool CDialog::InitialiseWindow(bool modal) {
    bool focusFirst = OnInitDialog();
    if (m_window && (modal || (GetTemplate()->style & WS_VISIBLE)) && !m_ended) {
        m_window->show();
        PlaceWindow(m_window, *GetTemplate(), m_baseUnits, OwnerWindow());
    }
    if (!m_window)
        return false;
    if (QWidget* first = m_window->FirstTabStop(); focusFirst && first)
        first->setFocus(Qt::TabFocusReason);
    return true;
}

bool CDialog::Create() {
    if (!CreateWindowFromTemplate(false))
        return false;
    return InitialiseWindow(false);
}

int CDialog::DoModal() {
    if (!CreateWindowFromTemplate(true))
        return -1;
    if (InitialiseWindow(true) && !m_ended) {
        // QDialog::exec() would make a run without an owner modal to the whole application.
        QEventLoop loop;
        m_modalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_modalLoop = nullptr;
    }
    DestroyWindow();
    // The owner was blocked for the run; it takes the activation back, as the
    // window manager need not give it to the window under the closed one.
    if (QWidget* owner = OwnerWindow(); owner && owner->isVisible())
        owner->activateWindow();
    return m_endValue;
}

void CDialog::EndDialog(int result) {
    m_ended = true;
    m_endValue = result;
    if (!m_window)
        return;
    m_window->hide();
    if (m_modalLoop)
        m_modalLoop->exit(result);
}

bool CDialog::DestroyWindow() {
    if (!m_window)
        return false;
    SendPlain(WM_DESTROY, &CDialog::OnDestroy);
    delete m_window;
    m_window = nullptr;
    m_systemMenu.reset();
    return true;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return true;
}

QWidget* CDialog::GetSafeHwnd() const {
    return m_window;
}

QWidget* CDialog::GetDlgItem(int id) const {
    return m_window ? m_window->Control(id) : nullptr;
}

CString CDialog::GetDlgItemText(int id) const {
    CString text;
    if (QWidget* control = GetDlgItem(id))
        text.Text() = GetControlText(control);
    return text;
}

void CDialog::ReplaceEditText(int id, const char* text) {
    QWidget* control = GetDlgItem(id);
    if (!control)
        return;
    SetControlText(control, text);
    if (auto* line = qobject_cast<QLineEdit*>(control))
        line->end(false);
    else if (auto* pane = qobject_cast<QPlainTextEdit*>(control))
        pane->moveCursor(QTextCursor::End);
}

bool CDialog::PreTranslateKey(int, int, int) {
    return false;
}

const CMenu* CDialog::GetEditMenuItems(int) const {
    return nullptr;
}

CMenu* CDialog::GetSystemMenu(bool) {
    return m_window ? m_systemMenu.get() : nullptr;
}

HICON CDialog::SetIcon(HICON icon, bool bigIcon) {
    HICON previous = bigIcon ? m_bigIcon : m_smallIcon;
    (bigIcon ? m_bigIcon : m_smallIcon) = icon;
    if (!m_window)
        return previous;
    // One window icon carries both: the big icon's images and the small one's.
    HICON combined = m_bigIcon;
    for (const QSize& size : m_smallIcon.availableSizes())
        combined.addPixmap(m_smallIcon.pixmap(size));
    m_window->setWindowIcon(combined);
    return previous;
}

bool CDialog::IsIconic() const {
    return m_window && m_window->isMinimized();
}

void CDialog::GetClientRect(QRect* rect) const {
    *rect = m_window ? m_window->rect() : QRect();
}

void CDialog::SendPlain(unsigned message, void (CDialog::*fallback)()) {
    if (const MessageEntry* entry = FindEntry(message))
        if (const PlainHandler* handler = std::get_if<PlainHandler>(&entry->handler)) {
            (this->**handler)();
            return;
        }
    (this->*fallback)();
}

void CDialog::SendSysCommand(unsigned id, long param) {
    if (const MessageEntry* entry = FindEntry(WM_SYSCOMMAND))
        if (const auto* handler = std::get_if<SysCommandHandler>(&entry->handler)) {
            (this->**handler)(id, param);
            return;
        }
    OnSysCommand(id, param);
}

// A command goes to the dialog's table, then to the standard buttons' default
// handlers, then to the application's table.
void CDialog::SendCommand(int id, unsigned notifyCode) {
    if (OnCmdMsg(id, notifyCode))
        return;
    if (notifyCode == BN_CLICKED && id == IDOK)
        OnOK();
    else if (notifyCode == BN_CLICKED && id == IDCANCEL)
        OnCancel();
    else if (CWinApp* app = AfxGetApp())
        RouteToApplication(*app, id, notifyCode);
}

// The application learns which dialog sent the command for as long as it runs.
void CDialog::RouteToApplication(CWinApp& app, int id, unsigned notifyCode) {
    CDialog* outer = app.m_pCommandSource;
    app.m_pCommandSource = this;
    app.OnCmdMsg(id, notifyCode);
    app.m_pCommandSource = outer;
}

// The help key sends the help command, which neither dialog handles, so it
// reaches the application with this dialog as the one in use.
void CDialog::SendHelpKey() {
    SendCommand(ID_HELP, BN_CLICKED);
}

void CDialog::Announce(const char* text) {
    if (m_window)
        m_window->Announce(QString::fromUtf8(text ? text : ""));
}

void CDialog::SetItemDescription(int id, const char* text) {
    if (QWidget* control = GetDlgItem(id))
        m_window->SetDescription(control, QString::fromUtf8(text ? text : ""));
}

void CDialog::WinHelp(unsigned long data, unsigned int command) {
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(data, command);
}

void CDialog::SendPaint() {
    SendPlain(WM_PAINT, &CDialog::OnPaint);
}

HICON CDialog::SendQueryDragIcon() {
    if (const MessageEntry* entry = FindEntry(WM_QUERYDRAGICON))
        if (const IconHandler* handler = std::get_if<IconHandler>(&entry->handler))
            return (this->**handler)();
    return OnQueryDragIcon();
}

void CDialog::SendIconEraseBkgnd(CPaintDC& dc) {
    QRect client;
    GetClientRect(&client);
    dc.FillBackground(client);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

// Close cancels the dialog, as the platform's close message does; the other
// system commands of the platform need nothing from the dialog here.
void CDialog::OnSysCommand(unsigned id, long) {
    if ((id & SC_COMMAND_MASK) == SC_CLOSE)
        SendCommand(IDCANCEL, BN_CLICKED);
}

void CDialog::OnDestroy() {}

void CDialog::OnPaint() {
    if (m_window)
        m_window->PaintDefault();
}

HICON CDialog::OnQueryDragIcon() {
    return {};
}

struct CPaintDC::Painter {
    explicit Painter(QWidget* window) : painter(window) {}
    QPainter painter;
};

CPaintDC::CPaintDC(CDialog* dialog) : m_painter(std::make_unique<Painter>(dialog->GetSafeHwnd())) {}

CPaintDC::~CPaintDC() = default;

void CPaintDC::FillBackground(const QRect& rect) {
    QPainter& painter = m_painter->painter;
    if (const QWidget* window = dynamic_cast<const QWidget*>(painter.device()))
        painter.fillRect(rect, window->palette().window());
}

void CPaintDC::DrawIcon(int x, int y, const HICON& icon) {
    int size = GetSystemMetrics(SM_CXICON);
    m_painter->painter.drawPixmap(x, y, icon.pixmap(size, size));
}

int GetSystemMetrics(int index) {
    if (index == SM_CXICON || index == SM_CYICON)
        return QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
    return 0;
}
