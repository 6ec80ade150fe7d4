// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>

// Watches for the About box from inside its modal run and closes it with its
// OK button; opened() tells whether it appeared. Made just before the action
// that should open the box.
class AboutBoxCloser {
public:
    AboutBoxCloser() {
        QTimer::singleShot(0, [this] { CloseWhenShown(); });
    }
    bool opened() const { return m_opened; }

private:
    void CloseWhenShown() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QStringLiteral("IDD_ABOUT") || !window->isVisible())
                continue;
            m_opened = true;
            if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("IDOK")))
                ok->click();
            return;
        }
    }
    bool m_opened = false;
};
