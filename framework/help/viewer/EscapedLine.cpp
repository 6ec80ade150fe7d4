// SPDX-License-Identifier: GPL-3.0-or-later
#include "EscapedLine.h"

QByteArray EscapedLine(QByteArrayView line) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    QByteArray escaped;
    escaped.reserve(line.size());
    for (const char byte : line) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\\') {
            escaped.append("\\\\", 2);
        } else if (code >= 0x20 && code < 0x7f) {
            escaped.append(byte);
        } else {
            const char hex[] = {'\\', 'x', kHexDigits[code >> 4], kHexDigits[code & 0xf]};
            escaped.append(hex, sizeof hex);
        }
    }
    return escaped;
}
