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

QMenu* CMenu::BuildPopup(QWidget* parent, std::function<void(unsigned)> choose) const {
    auto* popup = new QMenu(parent);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    AppendTo(popup, choose);
    return popup;
}

// An item's text may end with a tab and its key ("&Close\tAlt+F4"). The key becomes the action's
// shortcut, shown beside the item in every menu, whatever the desktop does with shortcuts in
// context menus, and told to a screen reader as the item's key rather than read as its name.
void CMenu::AppendTo(QMenu* popup, const std::function<void(unsigned)>& choose) const {
    for (const Item& item : m_items) {
        if (item.flags & MF_SEPARATOR) {
            popup->addSeparator();
            continue;
        }
        const std::size_t tab = item.text.find('\t');
        QAction* action = popup->addAction(QString::fromUtf8(item.text.substr(0, tab)));
        if (tab != std::string::npos) {
            action->setShortcut(QKeySequence(QString::fromUtf8(item.text.substr(tab + 1))));
            action->setShortcutVisibleInContextMenu(true);
        }
        unsigned id = item.id;
        QObject::connect(action, &QAction::triggered, popup, [choose, id] { choose(id); });
    }
}
