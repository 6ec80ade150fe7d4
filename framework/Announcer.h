// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// An invisible child of a window that tells assistive technology a short
// text as a notification. Each text is shown anew (hidden, renamed, shown),
// so a screen reader that speaks a notification as it appears speaks every
// text, the same text twice in a row included. Where the toolkit has an
// announcement event, that is sent as well. Its accessible role,
// notification, comes from CAccessibleFactory.
class CAnnouncer : public QWidget {
public:
    explicit CAnnouncer(QWidget* parent);

    void Announce(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
};
