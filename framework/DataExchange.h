// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CString.h"
// SetControlText, which the exchange loads controls with, is part of what it offers.
#include "ControlText.h"
#include "DataExchangeRun.h"

#include <string>

class QWidget;

// Exchanges the text of control id with value. Saving copies the control's
// whole text, with CR LF between the lines of a multi-line edit; loading puts
// value into the control by LoadControlText. A missing control is skipped.
void DDX_Text(CDataExchange* pDX, int id, CString& value);

// Loads value into a control: a control whose text already equals value, when
// that text is shorter than the window system's comparison buffer of 256
// characters, is left untouched so that its caret and scroll position stay;
// every other control gets the text anew. A multi-line edit gets it through
// LoadMultiLineText (TextDiffLoader.h), which changes only the lines that
// differ from its last load and leaves it as if its whole text had been
// replaced. Until the edit changes, reading it back costs no more than a copy
// of the text last loaded.
void LoadControlText(QWidget* control, const CString& value);
