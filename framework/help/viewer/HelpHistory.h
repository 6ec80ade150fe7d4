// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpPages.h"

#include <deque>

// The pages shown before the present one and, once the user has gone back, after it: what Back
// and Forward show. Each side keeps at most kMaxPages; the farthest are forgotten first.
class HelpHistory {
public:
    static constexpr std::size_t kMaxPages = 32;

    // A new page replaces `left`: `left` is the latest page to go back to, and nothing lies
    // ahead any more.
    void Leave(HelpPage left);

    bool CanGoBack() const { return !m_back.empty(); }
    bool CanGoForward() const { return !m_forward.empty(); }

    // The page to go back (or forward) to, with `current` kept on the other side; only when
    // there is one.
    HelpPage Back(HelpPage current);
    HelpPage Forward(HelpPage current);

private:
    std::deque<HelpPage> m_back;    // the latest last
    std::deque<HelpPage> m_forward; // the nearest last
};
