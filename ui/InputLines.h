// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The lines that one press of Calculate runs, read from the input field's text (UTF-8). A text
// without a line end is one line, whatever it holds, as typed. A pasted text may hold line
// ends: LF, CR LF, CR, the Unicode line and paragraph separators, and the two characters the
// text document of a pane takes as frame marks; the archive pane breaks a line at each of them.
// Such a text gives each of its lines that is not blank (empty, or only spaces and tabs), in
// order.
class CInputLines {
public:
    explicit CInputLines(std::string_view text);

    // The next line into line; false when none is left.
    bool Next(std::string_view& line);

private:
    std::string_view m_rest;
    bool m_split;
    bool m_done = false;
};
