// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shows a message box with the text, the buttons and icon of type (MB_ flags)
// and the application's name as caption. It is owned by the main window when
// there is one and blocks only that window; returns the button chosen (IDOK,
// IDCANCEL, IDYES, IDNO).
int AfxMessageBox(const char* text, unsigned type);

// The same for string id of the string table; returns 0 when there is none.
int AfxMessageBox(unsigned id, unsigned type);
