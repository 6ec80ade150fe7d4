// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SetClipboardText(const char* text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
}
