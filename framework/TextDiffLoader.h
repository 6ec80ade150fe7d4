// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CString.h"

#include <string>

class QPlainTextEdit;

// Keeps a multi-line edit up to date with the field loaded into it, changing
// only the lines that differ. The edit's document carries a record of the last
// load; any change to the document after it, by the user or by anyone else,
// retires the record, and the next load replaces the whole text.

// Loads value into a multi-line edit. An edit that still holds what was last
// loaded into it, when value is that text with whole lines put in front, gets
// only those lines inserted at its start: the document's work does not grow
// with the old text, though finding the lines reads all of it once, comparing
// it with the end of value. When the edit also shows that text exactly as it
// was given, only the lines where value differs are replaced. Every other edit
// gets the text anew. Either way it ends as if its whole text had been
// replaced (the same text, the caret at the start, the view at the top,
// nothing to undo).
void LoadMultiLineText(QPlainTextEdit* edit, const CString& value);

// The edit's text as the window system gives it, kept from its last load, or
// null when the document has changed since; reading the edit through it costs
// no more than a copy.
const std::string* LoadedControlText(const QPlainTextEdit* edit);
