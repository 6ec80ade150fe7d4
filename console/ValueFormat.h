// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Room for any double in the result format, with its NUL.
constexpr size_t kValueTextSize = 32;

// Writes value into text as printf's "%g" does in the "C" locale, NUL-terminated, and
// returns its length. Faster than printf, which matters when a script prints a value a line.
size_t FormatValue(double value, char (&text)[kValueTextSize]);
