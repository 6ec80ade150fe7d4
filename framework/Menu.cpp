// SPDX-License-Identifier: GPL-3.0-or-later
#include "Menu.h"

#include "AfxTypes.h"

#include <QMenu>

bool CMenu::AppendMenu(unsigned flags, unsigned id, const char* text) {
    if (flags & MF_SEPARATOR) {
        m_items.push_back({MF_SEPARATOR, 0, {}});
        return true;
    }
    if (!text)
        return false;
    m_items.push_back({flags, id, text});
    return true;
}

unsigned CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= GetMenuItemCount())
        return 0;
    return m_items[static_cast<std::size_t>(position)].id;
}

std::string CMenu::GetMenuString(int position) const {
    if (position < 0 || position >= GetMenuItemCount())
        return {};
    return m_items[static_cast<std::size_t>(position)].text;
}

bool CMenu::IsSeparator(int position) const {
    if (position < 0 || position >= GetMenuItemCount())
        return false;
    return (m_items[static_cast<std::size_t>(position)].flags & MF_SEPARATOR) != 0;
}

QMenu* CMenu::BuildPopup(QWidget* parent, std::function<void(unsigned)> choose) const {
    auto* popup = new QMenu(parent);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    AppendTo(popup, choose);
    return popup;
}

void CMenu::AppendTo(QMenu* popup, const std::function<void(unsigned)>& choose) const {
    for (const Item& item : m_items) {
        if (item.flags & MF_SEPARATOR) {
            popup->addSeparator();
            continue;
        }
        QAction* action = popup->addAction(QString::fromUtf8(item.text));
        unsigned id = item.id;
        QObject::connect(action, &QAction::triggered, popup, [choose, id] { choose(id); });
    }
}
