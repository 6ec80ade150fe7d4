// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Room for any double in each of the formats below, with its NUL.
constexpr size_t kValueTextSize = 32;

// The fewest and the most significant digits that a value may be asked to show: the most is
// enough for every double to read back as itself.
constexpr int kFewestDigits = 1;
constexpr int kMostDigits = 17;

// How values are written: as the window's result field shows them ("%g"), with a chosen number
// of significant digits ("%.Ng"), or as the shortest text that reads back as the same double.
enum class ValueForm { ResultField, Digits, Exact };

struct ValueStyle {
    ValueForm form = ValueForm::ResultField;
    // The significant digits of the Digits form, kFewestDigits to kMostDigits.
    int digits = kMostDigits;
};

// Writes value into text as printf's "%g" does in the "C" locale, NUL-terminated, and
// returns its length. Faster than printf, which matters when a script prints a value a line.
size_t FormatValue(double value, char (&text)[kValueTextSize]);

// Writes value into text in the style's form, NUL-terminated, and returns its length.
size_t FormatValue(double value, char (&text)[kValueTextSize], const ValueStyle& style);
