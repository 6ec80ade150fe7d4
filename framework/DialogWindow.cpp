// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogWindow.h"

#include "AccessibleFactory.h"
#include "AfxTypes.h"
#include "Announcer.h"
#include "Dialog.h"
#include "DialogControls.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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

// Shift+F10 asks for the context menu as the menu key does.
bool IsContextMenuKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
}

// Where a menu asked for from the keyboard opens: at the text cursor of an
// edit field, as for the menu key, in the middle of any other control.
QPoint KeyboardMenuPoint(const QWidget* target) {
    QRect cursor = target->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return cursor.isValid() ? cursor.center() : target->rect().center();
}

} // namespace

DialogWindow::DialogWindow(CDialog& dialog, const DialogTemplate& tmpl, QWidget* owner)
    : QDialog(owner, WindowFlagsOf(tmpl, owner != nullptr)), m_dialog(dialog) {
    if (tmpl.name)
        setObjectName(QString::fromLatin1(tmpl.name));
    setWindowTitle(QString::fromUtf8(tmpl.caption ? tmpl.caption : ""));
    setFont(DialogFont());
    QSize client =
        SnapToDevicePixels(MapDialogRect(QRect(0, 0, tmpl.cx, tmpl.cy), dialog.GetBaseUnits()),
                           devicePixelRatioF())
            .size();
    if (tmpl.style & WS_THICKFRAME)
        resize(client);
    else
        setFixedSize(client);
    InstallAccessibleFactory();
    CreateControls(tmpl);
    m_announcer = new CAnnouncer(this);
}

void DialogWindow::CreateControls(const DialogTemplate& tmpl) {
    std::vector<QWidget*> widgets;
    for (const ControlTemplate& entry : tmpl.controls) {
        QWidget* widget = CreateControl(entry, this, m_dialog.GetBaseUnits());
        widget->installEventFilter(this);
        // A pane's right click reaches its viewport, not the pane itself.
        if (auto* pane = qobject_cast<QPlainTextEdit*>(widget))
            pane->viewport()->installEventFilter(this);
        if (auto* button = qobject_cast<QPushButton*>(widget))
            ConnectButton(button, entry.id);
        m_controls.push_back({entry.id, entry.style, widget});
        widgets.push_back(widget);
    }
    LinkLabels(tmpl.controls, widgets);
    SetAccessibleTexts(tmpl.accessibleTexts, tmpl.controls, widgets);
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

// The standard menu of an edit field, with the system menu's items after a
// separator. False, leaving the event to the toolkit, for any other control.
bool DialogWindow::ShowEditMenu(QContextMenuEvent* event, QWidget* target) {
    QMenu* menu = nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(target))
        menu = line->createStandardContextMenu();
    else if (auto* pane = qobject_cast<QPlainTextEdit*>(target))
        menu = pane->createStandardContextMenu();
    if (!menu)
        return false;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("EditMenu"));
    if (const CMenu* items = m_dialog.GetEditMenuItems(IdOf(target))) {
        menu->addSeparator();
        items->AppendTo(
            menu, [this](unsigned id) { m_dialog.SendCommand(static_cast<int>(id), BN_CLICKED); });
    }
    if (CMenu* system = m_dialog.GetSystemMenu(false)) {
        menu->addSeparator();
        system->AppendTo(menu, [this](unsigned id) { m_dialog.SendSysCommand(id, 0); });
    }
    menu->popup(event->globalPos());
    return true;
}

bool DialogWindow::IsControl(const QWidget* widget) const {
    for (const Entry& entry : m_controls)
        if (entry.widget == widget)
            return true;
    return false;
}

int DialogWindow::IdOf(const QWidget* widget) const {
    for (const Entry& entry : m_controls)
        if (entry.widget == widget)
            return entry.id;
    return IDC_STATIC;
}

void DialogWindow::Announce(const QString& text) {
    m_announcer->Announce(text);
    QWidget* focus = focusWidget();
    if (!IsControl(focus))
        focus = nullptr;
    if (m_announcedIn && m_announcedIn != focus)
        m_announcedIn->setAccessibleDescription(m_ownDescription);
    if (!focus) {
        m_announcedIn = nullptr;
        return;
    }
    if (m_announcedIn != focus)
        m_ownDescription = focus->accessibleDescription();
    m_announcedIn = focus;
    if (focus->accessibleDescription() != text) {
        focus->setAccessibleDescription(text);
        return;
    }
    // The same outcome twice is news all the same: the change is reported
    // although the text stays as it was.
    QAccessibleEvent event(focus, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

// A description set again unchanged is no news to assistive technology, and is not told.
void DialogWindow::SetDescription(QWidget* control, const QString& text) {
    if (control == m_announcedIn)
        m_ownDescription = text;
    else if (control->accessibleDescription() != text)
        control->setAccessibleDescription(text);
}

void DialogWindow::PaintDefault() {
    if (m_paintEvent)
        QDialog::paintEvent(m_paintEvent);
}

// A dialog's field passes Enter on to the dialog unless its style asks for Return; Qt's
// multi-line edit takes Return itself, so the dialog takes it first from such an edit.
bool DialogWindow::PassesReturnOn(QWidget* target) const {
    for (const Entry& entry : m_controls)
        if (entry.widget == target)
            return (entry.style & ES_MULTILINE) && !(entry.style & ES_WANTRETURN);
    return false;
}

// The template's default button; QDialog makes the first button the default where the template
// names none, and the platform's dialogs do not.
bool DialogWindow::HasDefaultButton() const {
    for (const Entry& entry : m_controls)
        if (qobject_cast<QPushButton*>(entry.widget) &&
            (entry.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return true;
    return false;
}

// The keys a dialog takes from every control before the control sees them. Enter and Escape
// are QDialog's (keyPressEvent), as the controls pass them on.
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
    if (IsContextMenuKey(event)) {
        // Sent to the control, whose menu opens, or on to the dialog when
        // it has none.
        QPoint at = KeyboardMenuPoint(target);
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &menuEvent);
        return true;
    }
    if (!IsEnterKey(event) || !PassesReturnOn(target))
        return false;
    keyPressEvent(event);
    return true;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (IsControl(widget) &&
            m_dialog.PreTranslateKey(IdOf(widget), key->key(), key->modifiers().toInt()))
            return true;
        return HandleDialogKey(key, widget);
    }
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* control = IsControl(widget) ? widget : widget->parentWidget();
        return ShowEditMenu(static_cast<QContextMenuEvent*>(event), control);
    }
    return QDialog::eventFilter(watched, event);
}

// QDialog presses the default button on Enter and rejects on Escape; a dialog without a default
// button gets IDOK, where QDialog does nothing.
void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (HandleDialogKey(event, this))
        return;
    if (IsEnterKey(event) && !HasDefaultButton())
        m_dialog.SendCommand(IDOK, BN_CLICKED);
    else
        QDialog::keyPressEvent(event);
}

// Escape, through QDialog, sends the cancel command, which the dialog may handle itself.
void DialogWindow::reject() {
    m_dialog.SendCommand(IDCANCEL, BN_CLICKED);
}

// The close box and the window manager's close key send the Close command,
// whose default processing cancels the dialog.
void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    m_dialog.SendSysCommand(SC_CLOSE, 0);
}

// A right click on the dialog's own surface, or the context-menu key on a
// control that has no menu of its own (a button), opens the system menu; the
// key opens it below the control.
void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && !childAt(event->pos())) {
        ShowSystemMenu(event->globalPos());
        return;
    }
    if (event->reason() == QContextMenuEvent::Keyboard) {
        QWidget* focus = focusWidget();
        ShowSystemMenu(focus ? focus->mapToGlobal(QPoint(0, focus->height()))
                             : mapToGlobal(QPoint(0, 0)));
        return;
    }
    event->ignore();
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    m_paintEvent = event;
    m_dialog.SendPaint();
    m_paintEvent = nullptr;
}
