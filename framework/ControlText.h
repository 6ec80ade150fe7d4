// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A control's text in the window system's form, 8-bit with lines ended by CR LF, and the
// converters between that form and a document's, shared by the data exchange and the loader
// of multi-line edits.

#include <QString>

#include <string>
#include <string_view>

class QWidget;

// A document's raw text with its paragraph and line separators as CR LF, the
// way the window system gives a multi-line edit's text.
std::string WithCarriageReturns(const QString& raw);

// Text with its CR LF pairs turned into LF, the way a document takes it.
QString WithoutCarriageReturns(std::string_view text);

// A control's text as the window system gives it: 8-bit, lines ended by CR LF.
std::string GetControlText(const QWidget* control);

// Replaces a control's text; CR LF or a lone LF breaks a line in a multi-line
// edit. The caret goes to the start, as after any new text.
void SetControlText(QWidget* control, std::string_view text);
