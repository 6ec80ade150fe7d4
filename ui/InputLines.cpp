// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputLines.h"

namespace {

// A line end at the start of text: its length in bytes, or 0 when there is none there.
// U+2028 and U+2029 are E2 80 A8 and E2 80 A9; U+FDD0 and U+FDD1 are EF B7 90 and EF B7 91.
std::size_t LineEndAt(std::string_view text) {
    if (text.empty())
        return 0;
    if (text[0] == '\n')
        return 1;
    if (text[0] == '\r')
        return text.size() > 1 && text[1] == '\n' ? 2 : 1;
    if (text.size() < 3)
        return 0;
    const auto second = static_cast<unsigned char>(text[1]);
    const auto third = static_cast<unsigned char>(text[2]);
    if (text[0] == '\xE2' && second == 0x80 && (third == 0xA8 || third == 0xA9))
        return 3;
    if (text[0] == '\xEF' && second == 0xB7 && (third == 0x90 || third == 0x91))
        return 3;
    return 0;
}

// Where the first line end of text begins, or its size when it has none.
std::size_t FirstLineEnd(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at)
        if (LineEndAt(text.substr(at)) != 0)
            return at;
    return text.size();
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

CInputLines::CInputLines(std::string_view text)
    : m_rest(text), m_split(FirstLineEnd(text) < text.size()) {}

bool CInputLines::Next(std::string_view& line) {
    if (!m_split) {
        line = m_rest;
        const bool first = !m_done;
        m_done = true;
        return first;
    }
    while (!m_rest.empty()) {
        const std::size_t end = FirstLineEnd(m_rest);
        line = m_rest.substr(0, end);
        m_rest.remove_prefix(end + LineEndAt(m_rest.substr(end)));
        if (!IsBlank(line))
            return true;
    }
    return false;
}
