// SPDX-License-Identifier: GPL-3.0-or-later
#include "EscapedText.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// "\xHH" for one byte.
constexpr std::size_t kEscapeLength = 4;

bool IsShownAsItIs(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    return byte != '\\' && code >= 0x20 && code < 0x7f;
}

} // namespace

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char byte : text) {
        const auto code = static_cast<unsigned char>(byte);
        if (IsShownAsItIs(byte)) {
            out += byte;
        } else if (byte == '\\') {
            out.append("\\\\", 2);
        } else {
            const char hex[kEscapeLength] = {'\\', 'x', kHexDigits[code >> 4],
                                             kHexDigits[code & 0xf]};
            out.append(hex, kEscapeLength);
        }
    }
}

std::size_t EscapedLength(std::string_view text) {
    std::size_t length = 0;
    for (const char byte : text)
        length += IsShownAsItIs(byte) ? 1 : byte == '\\' ? 2 : kEscapeLength;
    return length;
}

std::string EscapedText(std::string_view text) {
    std::string escaped;
    escaped.reserve(EscapedLength(text));
    AppendEscaped(escaped, text);
    return escaped;
}
