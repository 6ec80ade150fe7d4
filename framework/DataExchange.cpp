#include "DataExchange.h"

#include "Dialog.h"

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
    QString raw = edit->document()->toRawText();
    std::string text;
    text.reserve(static_cast<std::size_t>(raw.size()) + 16);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= raw.size(); ++i) {
        bool end = i == raw.size();
        if (!end && raw[i] != QChar::ParagraphSeparator && raw[i] != QChar::LineSeparator)
            continue;
        text.append(raw.mid(start, i - start).toStdString());
        if (!end)
            text.append("\r\n");
        start = i + 1;
    }
    return text;
}

QString WithoutCarriageReturns(std::string_view text) {
    QString lines = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
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

void SetControlText(QWidget* control, std::string_view text) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->setPlainText(WithoutCarriageReturns(text));
        return;
    }
    QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setText(value);
        line->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
    } else if (control) {
        control->setWindowTitle(value);
    }
}

void LoadControlText(QWidget* control, const CString& value) {
    if (value.GetLength() <= kComparedLength && GetControlText(control) == value.Text())
        return;
    SetControlText(control, value);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    QWidget* control = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = GetControlText(control);
    else
        LoadControlText(control, value);
}
