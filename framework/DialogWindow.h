// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogTemplate.h"

#include <QDialog>

#include <vector>

class CDialog;
class QPushButton;

// The toolkit window behind a CDialog. It turns the toolkit's events into the
// dialog's messages and gives the keyboard interface of a dialog: Escape
// cancels from every control, Enter presses the default button from every
// field that does not take Return, Alt+Space and a right click on the dialog's
// own surface open the system menu, and the close box sends the Close command.
class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& dialog, const DialogTemplate& tmpl, QWidget* owner);

    QWidget* Control(int id) const;
    QWidget* FirstTabStop() const;

    // Pops up the system menu with its top left corner at a global position.
    void ShowSystemMenu(const QPoint& globalPos);

    // The toolkit's own painting, for the default processing of WM_PAINT.
    void PaintDefault();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
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
    bool TakesReturn(QWidget* target) const;
    void PressDefaultButton();

    CDialog& m_dialog;
    std::vector<Entry> m_controls;
    QPaintEvent* m_paintEvent = nullptr;
};
