// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlText.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

// Raw document text with its paragraph and line separators turned into CR LF.
std::string WithCarriageReturns(const QString& raw) {
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

std::string GetControlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(control))
        return WithCarriageReturns(edit->document()->toRawText());
    if (const auto* line = qobject_cast<const QLineEdit*>(control))
        return line->text().toStdString();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text().toStdString();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text().toStdString();
    return control ? control->windowTitle().toStdString() : std::string();
}
