// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataExchange.h"

#include "ControlText.h"
#include "Dialog.h"
#include "TextDiffLoader.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// Longest text, in bytes, that is compared before it is replaced.
constexpr int kComparedLength = 255;

// The document's raw text keeps every character as typed, no-break spaces
// included; only its paragraph and line separators become CR LF.
std::string MultiLineText(const QPlainTextEdit* edit) {
    if (const std::string* loaded = LoadedControlText(edit))
        return *loaded;
    return WithCarriageReturns(edit->document()->toRawText());
}

// Saves a control's text into value. A multi-line edit that still holds its
// last load is copied from that record into value's own buffer, and not at
// all when value already holds it, so a large text costs no allocation.
void SaveControlText(const QWidget* control, CString& value) {
    const auto* edit = qobject_cast<const QPlainTextEdit*>(control);
    const std::string* loaded = edit ? LoadedControlText(edit) : nullptr;
    if (!loaded) {
        value = GetControlText(control);
        return;
    }
    if (value.Text() != *loaded)
        value.Text().assign(*loaded);
}

} // namespace

std::string GetControlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(control))
        return MultiLineText(edit);
    if (const auto* line = qobject_cast<const QLineEdit*>(control))
        return line->text().toStdString();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text().toStdString();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text().toStdString();
    return control ? control->windowTitle().toStdString() : std::string();
}

void LoadControlText(QWidget* control, const CString& value) {
    if (value.GetLength() <= kComparedLength && GetControlText(control) == value.Text())
        return;
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        LoadMultiLineText(edit, value);
        return;
    }
    SetControlText(control, value);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    QWidget* control = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        SaveControlText(control, value);
    else
        LoadControlText(control, value);
}
