// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Room for the exact text of any double, with its NUL.
constexpr size_t kExactTextSize = 32;

// Writes the shortest decimal text that reads back as the same double, in the "C" locale and
// NUL-terminated, and returns its length: 0.1+0.2 gives 0.30000000000000004, 2^40 gives
// 1099511627776. Of the fixed and the exponent form the shorter is taken, the fixed one on a
// tie; infinities and NaNs are written as printf writes them. Shared by the window's copy of
// the full value and the console's exact output, so both give the same text.
size_t FormatExact(double value, char (&text)[kExactTextSize]);
