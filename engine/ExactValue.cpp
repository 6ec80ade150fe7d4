// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExactValue.h"

#include <charconv>

size_t FormatExact(double value, char (&text)[kExactTextSize]) {
    // Without a format or a precision, to_chars writes the shortest text that reads back as
    // value; the longest such text of a double is far shorter than the buffer.
    char* const end = std::to_chars(text, text + kExactTextSize - 1, value).ptr;
    *end = '\0';
    return static_cast<size_t>(end - text);
}
