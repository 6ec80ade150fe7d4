// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Text as it may be written to a terminal: printable ASCII as it is, a backslash doubled, and
// every other byte (controls, escape sequences, NUL, bytes above 0x7e) as \xHH, so that what
// another program or a user handed over can neither move the cursor nor change the terminal,
// and each byte shown stands for one byte of the text or is plainly an escape.

// Appends the escaped form of text to out.
void AppendEscaped(std::string& out, std::string_view text);

// The number of characters that the escaped form of text takes.
std::size_t EscapedLength(std::string_view text);

// The escaped form of text.
std::string EscapedText(std::string_view text);
