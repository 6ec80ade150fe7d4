// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpHistory.h"

namespace {

void Push(std::deque<HelpPage>& pages, HelpPage page) {
    if (pages.size() == HelpHistory::kMaxPages)
        pages.pop_front();
    pages.push_back(std::move(page));
}

HelpPage Take(std::deque<HelpPage>& from, std::deque<HelpPage>& to, HelpPage current) {
    HelpPage page = std::move(from.back());
    from.pop_back();
    Push(to, std::move(current));
    return page;
}

} // namespace

void HelpHistory::Leave(HelpPage left) {
    Push(m_back, std::move(left));
    m_forward.clear();
}

HelpPage HelpHistory::Back(HelpPage current) {
    return Take(m_back, m_forward, std::move(current));
}

HelpPage HelpHistory::Forward(HelpPage current) {
    return Take(m_forward, m_back, std::move(current));
}
