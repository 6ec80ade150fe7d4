// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include <QAccessible>

CAnnouncer::CAnnouncer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // A pixel in the corner: a screen reader may ignore what has no extent.
    setGeometry(0, 0, 1, 1);
    hide();
}

void CAnnouncer::Announce(const QString& text) {
    hide();
    setAccessibleName(text);
    show();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, text);
    QAccessible::updateAccessibility(&event);
#endif
}

// Nothing shows on the screen.
void CAnnouncer::paintEvent(QPaintEvent*) {}
