// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputRecall.h"

#include <string_view>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The non-empty line index lines from the top into line; false, line
// unchanged, when there are fewer. Each call walks the archive, since the user may edit it
// between two steps.
bool LineAt(std::string_view archive, int index, CString& line) {
    int seen = 0;
    while (!archive.empty()) {
        const size_t end = archive.find(kLineEnd);
        const std::string_view text = archive.substr(0, end);
        if (!text.empty() && seen++ == index) {
            line = text;
            return true;
        }
        archive.remove_prefix(end == std::string_view::npos ? archive.size()
                                                            : end + kLineEnd.size());
    }
    return false;
}

} // namespace

bool CInputRecall::Older(const CString& archive, const CString& typed, CString& shown) {
    if (!LineAt(archive, m_back + 1, shown))
        return false;
    if (m_back == kTyping)
        m_typed = typed;
    ++m_back;
    return true;
}

// An archive edited down since the last step shows its oldest line that is left.
bool CInputRecall::Newer(const CString& archive, CString& shown) {
    if (m_back == kTyping)
        return false;
    for (--m_back; m_back != kTyping; --m_back)
        if (LineAt(archive, m_back, shown))
            return true;
    shown = m_typed;
    return true;
}

void CInputRecall::Reset() {
    m_back = kTyping;
    m_typed.Empty();
}
