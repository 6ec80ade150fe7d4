// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineInput.h"

#include "LinePreparation.h"

LineInput::LineInput(FILE* in) : m_in(in) {
    // The bound, and a CR that may stand before the LF.
    m_line.reserve(kMaxLineLength + 1);
}

// Skips to the end of the line that passed the bound; false when the input ended first.
bool LineInput::SkipRest() {
    int c;
    while ((c = getc_unlocked(m_in)) != EOF)
        if (c == '\n')
            return true;
    return false;
}

LineInput::Status LineInput::Next() {
    if (m_inLongLine) {
        m_inLongLine = false;
        if (!SkipRest())
            return Status::End;
    }
    m_line.clear();
    int c = getc_unlocked(m_in);
    if (c == EOF)
        return Status::End;
    for (; c != EOF && c != '\n'; c = getc_unlocked(m_in)) {
        // The bound and one byte more are kept, for a CR that may end the line.
        if (m_line.size() > kMaxLineLength) {
            m_inLongLine = true;
            return Status::TooLong;
        }
        m_line.push_back(static_cast<char>(c));
    }
    if (c == '\n' && !m_line.empty() && m_line.back() == '\r')
        m_line.pop_back();
    return m_line.size() > kMaxLineLength ? Status::TooLong : Status::Line;
}
