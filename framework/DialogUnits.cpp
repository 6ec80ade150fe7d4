// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>
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

int DevicePixelStep(double ratio) {
    constexpr int kLargestStep = 8;
    for (int step = 1; step <= kLargestStep; ++step) {
        const double device = ratio * step;
        if (std::abs(device - std::round(device)) < 1e-6)
            return step;
    }
    return 1;
}

namespace {

int SnapEdge(int edge, int step) {
    const int below = edge - ((edge % step) + step) % step;
    return edge - below < step - (edge - below) ? below : below + step;
}

} // namespace

QRect SnapToDevicePixels(const QRect& rect, double ratio) {
    const int step = DevicePixelStep(ratio);
    if (step == 1)
        return rect;
    const int left = SnapEdge(rect.x(), step);
    const int top = SnapEdge(rect.y(), step);
    const int right = std::max(left, SnapEdge(rect.x() + rect.width() - 1, step));
    const int bottom = std::max(top, SnapEdge(rect.y() + rect.height() - 1, step));
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QFont DialogFont() {
    return QApplication::font("QDialog");
}
