// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the suites expect of a dialog's layout, derived independently of the
// framework: pixels of a dialog-unit rectangle, and labels found by their text.

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QRect>
#include <QWidget>

// Pixels of a dialog-unit rectangle, derived here from the dialog font's own
// measures: a quarter of the average width of the 52 letters, an eighth of
// the height, each number rounded to the nearest pixel.
inline QRect ExpectedPixels(const QRect& units) {
    QFontMetrics metrics(QApplication::font("QDialog"));
    int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    double cx = (width + 26) / 52;
    double cy = metrics.ascent() + metrics.descent();
    return QRect(qRound(units.x() * cx / 4), qRound(units.y() * cy / 8),
                 qRound(units.width() * cx / 4), qRound(units.height() * cy / 8));
}

inline QLabel* LabelWithText(QWidget* window, const QString& text) {
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}
