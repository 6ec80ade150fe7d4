// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>

class QFontMetrics;

// Conversion of dialog units to pixels. A dialog's base units come from its
// font: the horizontal base unit is the font's average character width, the
// vertical one its height; a horizontal dialog unit is a quarter of the first,
// a vertical one an eighth of the second.

struct DialogBaseUnits {
    int cx; // average character width in pixels
    int cy; // character height in pixels
};

// number * numerator / denominator, rounded half away from zero, computed
// without overflow; -1 when denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

// The base units of a font: the average width is that of the 52 letters A-Z
// and a-z, (width + 26) / 52, and the height is the font's ascent plus descent.
DialogBaseUnits BaseUnitsOfFont(const QFontMetrics& metrics);

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);

// A rectangle in dialog units (x, y, width, height) in pixels: each of the four
// numbers is converted on its own, as the dialog manager places controls.
QRect MapDialogRect(const QRect& units, const DialogBaseUnits& base);

// A control's rectangle of logical pixels, moved so that its first and last
// rows and columns of pixels each begin on a whole device pixel at the
// device-pixel ratio: each to the nearest such place. At a fractional ratio
// (1.5) the toolkit loses a frame line drawn on a row that begins between two
// device pixels, such as a pane's bottom line and the top of its scroll bar.
// At a whole ratio, or one no small step makes whole, nothing moves.
QRect SnapToDevicePixels(const QRect& rect, double ratio);

// The fewest logical pixels that make a whole number of device pixels at the
// ratio: 1 at a whole ratio, 2 at 1.5, 4 at 1.25; 1 when no small step does.
int DevicePixelStep(double ratio);

// The font that dialogs use: the platform's default dialog font.
QFont DialogFont();
