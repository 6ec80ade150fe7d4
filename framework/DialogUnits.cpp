// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t half = std::llabs(denominator) / 2;
    bool negative = (product < 0) != (denominator < 0);
    std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    if (magnitude > INT32_MAX)
        return -1;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogBaseUnits BaseUnitsOfFont(const QFontMetrics& metrics) {
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = metrics.horizontalAdvance(kLetters);
    return {(width + 26) / 52, metrics.ascent() + metrics.descent()};
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.cx, 4);
}

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.cy, 8);
}

QRect MapDialogRect(const QRect& units, const DialogBaseUnits& base) {
    return QRect(DialogUnitsToPixelsX(units.x(), base), DialogUnitsToPixelsY(units.y(), base),
                 DialogUnitsToPixelsX(units.width(), base),
                 DialogUnitsToPixelsY(units.height(), base));
}

QFont DialogFont() {
    return QApplication::font("QDialog");
}
