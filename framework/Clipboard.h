// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Puts a text of 8-bit characters (UTF-8) on the desktop's clipboard, in place
// of what it held.
void SetClipboardText(const char* text);
