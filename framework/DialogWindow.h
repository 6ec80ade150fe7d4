// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogTemplate.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class CAnnouncer;
class CDialog;
class QContextMenuEvent;
class QPushButton;

// The toolkit window behind a CDialog. It turns the toolkit's events into the
// dialog's messages and gives the keyboard interface of a dialog: QDialog's
// Escape, which here sends the cancel command, and Enter, which presses the
// default button from every field that does not take Return (or sends IDOK
// when the template names none); Alt+Space and a right click on the dialog's
// own surface open the system menu, and the close box sends the Close command.
// A key in a control goes to the dialog's PreTranslateKey first. An edit
// field's own context menu ends with the dialog's items for that field, then
// with the system menu's items, and the
// context-menu key on a control without a menu of its own opens the system
// menu, so a keyboard user reaches it where the window manager takes Alt+Space.
class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& dialog, const DialogTemplate& tmpl, QWidget* owner);

    QWidget* Control(int id) const;
    QWidget* FirstTabStop() const;

    // Pops up the system menu with its top left corner at a global position.
    void ShowSystemMenu(const QPoint& globalPos);

    // The toolkit's own painting, for the default processing of WM_PAINT.
    void PaintDefault();

    // Tells assistive technology a text: as a notification of the window,
    // which a screen reader speaks as it appears, and through the accessible
    // description of the control that has the focus, where the user is. The
    // control that held the last such text gets its own description back. No
    // description changes when no control has the focus.
    void Announce(const QString& text);
    // Gives a control its own accessible description; while it shows an announcement, the
    // description comes back when the announcement leaves it.
    void SetDescription(QWidget* control, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Entry {
        int id;
        std::uint32_t style;
        QWidget* widget;
    };

    void CreateControls(const DialogTemplate& tmpl);
    void ConnectButton(QPushButton* button, int id);
    bool HandleDialogKey(QKeyEvent* event, QWidget* target);
    bool ShowEditMenu(QContextMenuEvent* event, QWidget* target);
    bool IsControl(const QWidget* widget) const;
    // The identifier of a control; IDC_STATIC for anything else.
    int IdOf(const QWidget* widget) const;
    bool PassesReturnOn(QWidget* target) const;
    bool HasDefaultButton() const;

    CDialog& m_dialog;
    std::vector<Entry> m_controls;
    QPaintEvent* m_paintEvent = nullptr;
    CAnnouncer* m_announcer = nullptr;
    QPointer<QWidget> m_announcedIn;
    QString m_ownDescription; // m_announcedIn's description before the announcement
};
