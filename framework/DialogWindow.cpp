// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogWindow.h"

#include "AfxTypes.h"
#include "Dialog.h"
#include "DialogControls.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace {

// A window without an owner, or one that asks for it, gets a task-bar entry of
// its own; an owned dialog stays with its owner.
Qt::WindowFlags WindowFlagsOf(const DialogTemplate& tmpl, bool owned) {
    Qt::WindowFlags flags = (owned && !(tmpl.exStyle & WS_EX_APPWINDOW)) ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint;
    if ((tmpl.style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (tmpl.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (tmpl.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (tmpl.style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

bool IsEnterKey(const QKeyEvent* event) {
    Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           mods == Qt::NoModifier;
}

} // namespace

DialogWindow::DialogWindow(CDialog& dialog, const DialogTemplate& tmpl, QWidget* owner)
    : QDialog(owner, WindowFlagsOf(tmpl, owner != nullptr)), m_dialog(dialog) {
    if (tmpl.name)
        setObjectName(QString::fromLatin1(tmpl.name));
    setWindowTitle(QString::fromUtf8(tmpl.caption ? tmpl.caption : ""));
    setFont(DialogFont());
    QSize client = MapDialogRect(QRect(0, 0, tmpl.cx, tmpl.cy), dialog.GetBaseUnits()).size();
    if (tmpl.style & WS_THICKFRAME)
        resize(client);
    else
        setFixedSize(client);
    CreateControls(tmpl);
}

void DialogWindow::CreateControls(const DialogTemplate& tmpl) {
    std::vector<QWidget*> widgets;
    for (const ControlTemplate& entry : tmpl.controls) {
        QWidget* widget = CreateControl(entry, this, m_dialog.GetBaseUnits());
        widget->installEventFilter(this);
        if (auto* button = qobject_cast<QPushButton*>(widget))
            ConnectButton(button, entry.id);
        m_controls.push_back({entry.id, entry.style, widget});
        widgets.push_back(widget);
    }
    LinkLabels(tmpl.controls, widgets);
    SetTabOrder(tmpl.controls, widgets);
}

void DialogWindow::ConnectButton(QPushButton* button, int id) {
    connect(button, &QPushButton::clicked, this,
            [this, id] { m_dialog.SendCommand(id, BN_CLICKED); });
}

QWidget* DialogWindow::Control(int id) const {
    for (const Entry& entry : m_controls)
        if (entry.id == id && id != IDC_STATIC)
            return entry.widget;
    return nullptr;
}

QWidget* DialogWindow::FirstTabStop() const {
    for (const Entry& entry : m_controls)
        if ((entry.style & WS_TABSTOP) && entry.widget->isEnabled())
            return entry.widget;
    return nullptr;
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPos) {
    CMenu* menu = m_dialog.GetSystemMenu(false);
    if (!menu)
        return;
    QMenu* popup = menu->BuildPopup(this, [this](unsigned id) { m_dialog.SendSysCommand(id, 0); });
    popup->setObjectName(QStringLiteral("SystemMenu"));
    popup->popup(globalPos);
}

void DialogWindow::PaintDefault() {
    if (m_paintEvent)
        QDialog::paintEvent(m_paintEvent);
}

// A multi-line edit takes Return only when its style asks for it; every other
// field passes Enter on to the dialog.
bool DialogWindow::TakesReturn(QWidget* target) const {
    for (const Entry& entry : m_controls)
        if (entry.widget == target)
            return (entry.style & ES_MULTILINE) && (entry.style & ES_WANTRETURN);
    return false;
}

// Enter presses the template's default push button; a dialog without one
// gets IDOK. (The toolkit may pick a default of its own; it is not asked.)
void DialogWindow::PressDefaultButton() {
    for (const Entry& entry : m_controls) {
        auto* button = qobject_cast<QPushButton*>(entry.widget);
        if (button && (entry.style & 0x0F) == BS_DEFPUSHBUTTON && button->isEnabled()) {
            button->click();
            return;
        }
    }
    m_dialog.SendCommand(IDOK, BN_CLICKED);
}

bool DialogWindow::HandleDialogKey(QKeyEvent* event, QWidget* target) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        return true;
    }
    if (event->key() == Qt::Key_F1) {
        // With Shift, Ctrl or Alt held the help key does nothing.
        if (event->modifiers() == Qt::NoModifier)
            m_dialog.SendHelpKey();
        return true;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_dialog.SendCommand(IDCANCEL, BN_CLICKED);
        return true;
    }
    if (!IsEnterKey(event) || qobject_cast<QPushButton*>(target) || TakesReturn(target))
        return false;
    PressDefaultButton();
    return true;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
        return HandleDialogKey(static_cast<QKeyEvent*>(event), static_cast<QWidget*>(watched));
    return QDialog::eventFilter(watched, event);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(event, this))
        QWidget::keyPressEvent(event);
}

// The close box and the window manager's close key send the Close command,
// whose default processing cancels the dialog.
void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    m_dialog.SendSysCommand(SC_CLOSE, 0);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && !childAt(event->pos())) {
        ShowSystemMenu(event->globalPos());
        return;
    }
    event->ignore();
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    m_paintEvent = event;
    m_dialog.SendPaint();
    m_paintEvent = nullptr;
}
