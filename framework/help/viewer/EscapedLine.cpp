// SPDX-License-Identifier: GPL-3.0-or-later
#include "EscapedLine.h"

#include "EscapedText.h"

QByteArray EscapedLine(QByteArrayView line) {
    const std::string escaped =
        EscapedText(std::string_view(line.data(), static_cast<std::size_t>(line.size())));
    return QByteArray(escaped.data(), static_cast<qsizetype>(escaped.size()));
}
