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

// A control's text, taken from the loader's record while a multi-line edit still holds its
// last load, so that comparing a short value with a large pane converts nothing.
std::string CurrentText(const QWidget* control) {
    const auto* edit = qobject_cast<const QPlainTextEdit*>(control);
    if (const std::string* loaded = edit ? LoadedControlText(edit) : nullptr)
        return *loaded;
    return GetControlText(control);
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

void LoadControlText(QWidget* control, const CString& value) {
    if (value.GetLength() <= kComparedLength && CurrentText(control) == value.Text())
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
