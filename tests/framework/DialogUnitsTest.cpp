// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogUnits.h"
#include "DialogControls.h"
#include "QtTestRows.h"

#include <QTest>

#include <climits>

class DialogUnitsTest : public QObject {
    Q_OBJECT

private slots:
    void mulDivRoundsHalfAwayFromZero_data();
    void mulDivRoundsHalfAwayFromZero();
    void mapsEachNumberOnItsOwn_data();
    void mapsEachNumberOnItsOwn();
    void snapsOuterLinesToDevicePixels_data();
    void snapsOuterLinesToDevicePixels();
    void stripsAccessKeys_data();
    void stripsAccessKeys();
};

void DialogUnitsTest::mulDivRoundsHalfAwayFromZero_data() {
    QtTestRows<int, int, int, int> table({"number", "numerator", "denominator", "result"});
    table.Add({
        {"exact", 8, 6, 4, 12},
        {"half rounds up", 7, 6, 4, 11},
        {"below half rounds down", 7, 13, 8, 11},
        {"above half rounds up", 14, 13, 8, 23},
        {"negative half rounds away", -7, 6, 4, -11},
        {"negative denominator", 7, 6, -4, -11},
        {"both negative", -7, 6, -4, 11},
        {"product beyond 32 bits", 100000, 100000, 100000, 100000},
        {"zero denominator", 5, 3, 0, -1},
        {"result beyond int", INT_MAX, 2, 1, -1},
    });
}

void DialogUnitsTest::mulDivRoundsHalfAwayFromZero() {
    QFETCH(int, number);
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(int, result);
    QCOMPARE(MulDiv(number, numerator, denominator), result);
}

void DialogUnitsTest::mapsEachNumberOnItsOwn_data() {
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    // Base units of 6 by 13 pixels.
    QTest::newRow("input field") << QRect(7, 7, 287, 14) << QRect(11, 11, 431, 23);
    QTest::newRow("help button") << QRect(334, 149, 50, 14) << QRect(501, 242, 75, 23);
    QTest::newRow("dialog client area") << QRect(0, 0, 391, 170) << QRect(0, 0, 587, 276);
    QTest::newRow("width not derived from right edge") << QRect(1, 1, 1, 1) << QRect(2, 2, 2, 2);
}

void DialogUnitsTest::mapsEachNumberOnItsOwn() {
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    QCOMPARE(MapDialogRect(units, DialogBaseUnits{6, 13}), pixels);
}

// The first and last row and column of a control begin on whole device
// pixels: at 1.5 on even logical pixels, at 1.25 on multiples of four.
void DialogUnitsTest::snapsOuterLinesToDevicePixels_data() {
    QtTestRows<QRect, double, QRect> table({"pixels", "ratio", "snapped"});
    table.Add({
        {"whole ratio: unmoved", QRect(11, 11, 431, 23), 2.0, QRect(11, 11, 431, 23)},
        {"1.5: odd edges to the nearer even, ties up", QRect(11, 11, 431, 23), 1.5,
         QRect(12, 12, 431, 23)},
        {"1.5: even size becomes odd", QRect(12, 58, 468, 228), 1.5, QRect(12, 58, 469, 229)},
        {"1.25: steps of four", QRect(0, 0, 10, 10), 1.25, QRect(0, 0, 9, 9)},
        {"1.5: one pixel stays one", QRect(5, 5, 1, 1), 1.5, QRect(6, 6, 1, 1)},
        {"negative position", QRect(-3, -3, 4, 4), 1.5, QRect(-2, -2, 3, 3)},
        {"no small step: unmoved", QRect(11, 11, 431, 23), 1.3, QRect(11, 11, 431, 23)},
    });
}

void DialogUnitsTest::snapsOuterLinesToDevicePixels() {
    QFETCH(QRect, pixels);
    QFETCH(double, ratio);
    QFETCH(QRect, snapped);
    QCOMPARE(SnapToDevicePixels(pixels, ratio), snapped);
}

void DialogUnitsTest::stripsAccessKeys_data() {
    QtTestRows<QByteArray, QString> table({"text", "shown"});
    table.Add({
        {"marked letter", "&Help", "Help"},
        {"doubled ampersand is one", "a&&b", "a&b"},
        {"trailing ampersand", "end&", "end"},
        {"plain text", "Archive:", "Archive:"},
        {"multibyte text kept", "&\xc5\xa1ta", QString::fromUtf8("šta")},
    });
}

void DialogUnitsTest::stripsAccessKeys() {
    QFETCH(QByteArray, text);
    QFETCH(QString, shown);
    QCOMPARE(StripAccessKeys(text.constData()), shown);
}

QTEST_APPLESS_MAIN(DialogUnitsTest)
#include "DialogUnitsTest.moc"
